#include "Objects.h"

#include "Sink.h"

#include <ocidl.h>

#include <algorithm>

namespace fuzz {

namespace {

constexpr size_t maxObjects = 400;

ComPtr<IDispatch> created(const wchar_t* progId) {
    CLSID id{};
    ComPtr<IDispatch> object;
    if (SUCCEEDED(CLSIDFromProgID(progId, &id)))
        CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object));
    return object;
}

IUnknown* identityOf(IDispatch* object) {
    ComPtr<IUnknown> unknown;
    object->QueryInterface(IID_PPV_ARGS(&unknown));
    return unknown.Get();  // the object keeps it alive
}

IDispatch* objectIn(const Variant& value) {
    return V_VT(value.get()) == VT_DISPATCH ? V_DISPATCH(value.get()) : nullptr;
}

}  // namespace

bool lateCall(IDispatch* target, const wchar_t* name, WORD flags, std::vector<Variant> arguments, Variant* result) {
    if (!target) return false;
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    std::vector<VARIANT> packed;
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) packed.push_back(*it->get());
    DISPID put = DISPID_PROPERTYPUT;
    const bool putting = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params{packed.data(), putting ? &put : nullptr, static_cast<UINT>(packed.size()), putting ? 1u : 0u};
    Variant ignored;
    EXCEPINFO exception{};
    const HRESULT hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                      result ? result->reset() : ignored.get(), &exception, nullptr);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return SUCCEEDED(hr);
}

Variant longValue(long value) {
    Variant v;
    V_VT(v.get()) = VT_I4;
    V_I4(v.get()) = value;
    return v;
}

Variant objectValue(IDispatch* object) {
    Variant v;
    V_VT(v.get()) = VT_DISPATCH;
    V_DISPATCH(v.get()) = object;
    if (object) object->AddRef();
    return v;
}

Objects::Objects(const Catalog& catalog, Random& random) : catalog_(catalog), random_(random) {}

Objects::~Objects() { clear(); }

Live* Objects::addEntry(IDispatch* object, const std::wstring& label) {
    if (!object) return nullptr;
    Live entry;
    entry.object = object;
    entry.identity = identityOf(object);
    entry.label = label;
    for (const Interface& i : catalog_.interfaces()) {
        ComPtr<IUnknown> answered;
        if (SUCCEEDED(object->QueryInterface(i.id, reinterpret_cast<void**>(answered.GetAddressOf()))))
            entry.interfaces.push_back(i.id);
    }
    if (live_.size() >= maxObjects) {
        // The states made on purpose stay; returned objects take turns.
        const size_t start = live_.size() - harvested_;
        const size_t victim = harvested_ ? start + random_.below(harvested_) : random_.below(live_.size());
        if (victim >= start) --harvested_;
        live_.erase(live_.begin() + static_cast<long>(victim));
    }
    live_.push_back(std::move(entry));
    return &live_.back();
}

void Objects::add(IDispatch* object, const std::wstring& label) {
    if (!object) return;
    if (random_.chance(0.3)) connectSinks(object);
    if (addEntry(object, label)) ++harvested_;
}

void Objects::release(IUnknown* object) {
    ComPtr<IUnknown> identity;
    if (!object || FAILED(object->QueryInterface(IID_PPV_ARGS(&identity)))) return;
    const size_t start = live_.size() - harvested_;
    for (size_t i = live_.size(); i-- > 0;) {
        if (live_[i].identity != identity.Get()) continue;
        if (i >= start) --harvested_;
        live_.erase(live_.begin() + static_cast<long>(i));
    }
}

void Objects::clear() {
    live_.clear();
    harvested_ = 0;
    arrays_.clear();
    for (HWND window : windows_) DestroyWindow(window);
    windows_.clear();
    for (HDC dc : deviceContexts_) DeleteDC(dc);
    deviceContexts_.clear();
}

Live* Objects::pick(const IID& interfaceId) {
    std::vector<Live*> fitting;
    for (Live& entry : live_)
        if (std::any_of(entry.interfaces.begin(), entry.interfaces.end(),
                        [&](const IID& i) { return IsEqualIID(i, interfaceId); }))
            fitting.push_back(&entry);
    return fitting.empty() ? nullptr : random_.pick(fitting);
}

Live* Objects::any() { return live_.empty() ? nullptr : &random_.pick(live_); }

std::wstring Objects::labelOf(IUnknown* object) const {
    ComPtr<IUnknown> identity;
    if (object && SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&identity))))
        for (const Live& entry : live_)
            if (entry.identity == identity.Get()) return entry.label;
    return L"a foreign object";
}

void Objects::keepArray(const VARIANT& array) {
    if (arrays_.size() >= 20) arrays_.erase(arrays_.begin() + static_cast<long>(random_.below(arrays_.size())));
    arrays_.emplace_back(array);
}

void Objects::noteHandle(IDispatch* object, const wchar_t* property) {
    Variant value;
    if (lateCall(object, property, DISPATCH_PROPERTYGET, {}, &value) &&
        SUCCEEDED(VariantChangeType(value.get(), value.get(), 0, VT_I4)))
        handles_.push_back(V_I4(value.get()));
}

// Reads every object property without parameters (the hub's sub-objects, a
// window object's hub), so that classes added later are reached too.
void Objects::addSubObjects(IDispatch* object, const std::wstring& label, int depth) {
    if (!object || depth == 0) return;
    std::vector<IID> answered;
    for (const Interface& i : catalog_.interfaces()) {
        ComPtr<IUnknown> found;
        if (SUCCEEDED(object->QueryInterface(i.id, reinterpret_cast<void**>(found.GetAddressOf()))))
            answered.push_back(i.id);
    }
    for (const Member& m : catalog_.members()) {
        if (m.flags != DISPATCH_PROPERTYGET || !m.returnsObject || !m.parameters.empty()) continue;
        if (std::none_of(answered.begin(), answered.end(), [&](const IID& i) { return IsEqualIID(i, m.interfaceId); }))
            continue;
        Variant value;
        if (!lateCall(object, m.name.c_str(), DISPATCH_PROPERTYGET, {}, &value) || !objectIn(value)) continue;
        const std::wstring sub = label + L"." + m.name;
        addEntry(objectIn(value), sub);
        connectSinks(objectIn(value));
        addSubObjects(objectIn(value), sub, depth - 1);
    }
}

void Objects::connectSinks(IDispatch* object) {
    ComPtr<IConnectionPointContainer> container;
    if (FAILED(object->QueryInterface(IID_PPV_ARGS(&container)))) return;
    ComPtr<IEnumConnectionPoints> points;
    if (FAILED(container->EnumConnectionPoints(&points)) || !points) return;
    ComPtr<IConnectionPoint> point;
    while (points->Next(1, &point, nullptr) == S_OK) {
        IID events{};
        point->GetConnectionInterface(&events);
        const long sinks = random_.between(0, 2);
        for (long s = 0; s < sinks; ++s) {
            const auto mode = static_cast<SinkMode>(random_.below(5));
            auto act = [this, mode](IDispatch* source) {
                if (mode == SinkMode::ReleaseSource) release(source);
                else if (reenter) reenter(source);
            };
            Sink* sink = new Sink(mode, events, object, act);
            DWORD cookie = 0;
            if (SUCCEEDED(point->Advise(sink, &cookie))) sink->connected(point.Get(), cookie);
            sink->Release();
        }
        point.Reset();
    }
}

IDispatch* Objects::make(const wchar_t* factory, IDispatch* on, std::vector<Variant> arguments,
                         std::vector<std::wstring>& skipped) {
    Variant result;
    if (!lateCall(on, factory, DISPATCH_METHOD, std::move(arguments), &result) || !objectIn(result)) {
        if (std::find(skipped.begin(), skipped.end(), factory) == skipped.end()) skipped.push_back(factory);
        return nullptr;
    }
    IDispatch* object = objectIn(result);
    object->AddRef();
    return object;  // the caller owns it
}

std::vector<std::wstring> Objects::populate() {
    std::vector<std::wstring> skipped;
    const ComPtr<IDispatch> vellum = created(L"Vellum.VellumFunctions");
    const ComPtr<IDispatch> kolorit = created(L"Kolorit.KoloritFunctions");
    addEntry(vellum.Get(), L"VellumFunctions");
    addEntry(kolorit.Get(), L"KoloritFunctions");
    hubStates(vellum.Get(), kolorit.Get(), skipped);
    drawingObjects(vellum.Get(), skipped);
    windowStates(kolorit.Get(), skipped);
    return skipped;
}

void Objects::hubStates(IDispatch* vellum, IDispatch* kolorit, std::vector<std::wstring>& skipped) {
    struct Kind { long width, height; bool monochrome; const wchar_t* label; };
    const Kind kinds[] = {{64, 48, false, L"colour 64x48"}, {40, 30, true, L"monochrome 40x30"},
                          {1, 1, false, L"1x1"}, {1, 1, true, L"monochrome 1x1"},
                          {1000, 700, false, L"large 1000x700"}};
    for (const Kind& kind : kinds) {
        Variant mono;
        V_VT(mono.get()) = VT_BOOL;
        V_BOOL(mono.get()) = kind.monochrome ? VARIANT_TRUE : VARIANT_FALSE;
        std::vector<Variant> size;
        size.push_back(longValue(kind.width));
        size.push_back(longValue(kind.height));
        size.push_back(std::move(mono));
        const ComPtr<IDispatch> surface = com::adopt(make(L"CreateGDIDC", vellum, std::move(size), skipped));
        if (!surface) continue;
        noteHandle(surface.Get(), L"hDC");
        noteHandle(surface.Get(), L"hBitmap");
        std::vector<Variant> argument;
        argument.push_back(objectValue(surface.Get()));
        const ComPtr<IDispatch> hub = com::adopt(make(L"GDIAttachDCEx", kolorit, std::move(argument), skipped));
        if (!hub) continue;
        const std::wstring label = std::wstring(L"hub on ") + kind.label;
        addEntry(surface.Get(), std::wstring(L"surface ") + kind.label);
        addEntry(hub.Get(), label);
        addSubObjects(hub.Get(), label, 2);
    }

    // A hub that alone holds its surface, and sub-objects whose hub and
    // surface are gone (their device context no longer exists).
    for (bool keepHub : {true, false}) {
        std::vector<Variant> size;
        size.push_back(longValue(32));
        size.push_back(longValue(24));
        const ComPtr<IDispatch> surface = com::adopt(make(L"CreateGDIDC", vellum, std::move(size), skipped));
        if (!surface) return;
        noteHandle(surface.Get(), L"hDC");  // a stale handle once the surface is gone
        std::vector<Variant> argument;
        argument.push_back(objectValue(surface.Get()));
        const ComPtr<IDispatch> hub = com::adopt(make(L"GDIAttachDCEx", kolorit, std::move(argument), skipped));
        if (!hub) return;
        if (keepHub) {
            addEntry(hub.Get(), L"hub whose surface the client released");
            addSubObjects(hub.Get(), L"hub whose surface the client released", 1);
            continue;
        }
        addSubObjects(hub.Get(), L"gone hub", 1);
    }
}

void Objects::drawingObjects(IDispatch* vellum, std::vector<std::wstring>& skipped) {
    struct Factory { const wchar_t* name; long a, b, c; const wchar_t* handle; const wchar_t* label; };
    const Factory factories[] = {{L"CreatePenObject", 0xFF, 0, 3, L"hPen", L"red pen"},
                                 {L"CreatePenObject", 0, 2, 1, L"hPen", L"dotted pen"},
                                 {L"CreateBrushObject", 0xFF00, 0, 0, L"hBrush", L"green brush"},
                                 {L"CreateBrushObject", 0, 2, 3, L"hBrush", L"hatched brush"}};
    for (const Factory& f : factories) {
        std::vector<Variant> arguments;
        arguments.push_back(longValue(f.a));
        arguments.push_back(longValue(f.b));
        arguments.push_back(longValue(f.c));
        const ComPtr<IDispatch> object = com::adopt(make(f.name, vellum, std::move(arguments), skipped));
        if (!object) continue;
        noteHandle(object.Get(), f.handle);
        addEntry(object.Get(), f.label);
    }
    std::vector<Variant> face;
    Variant name;
    V_VT(name.get()) = VT_BSTR;
    V_BSTR(name.get()) = SysAllocString(L"Arial");
    face.push_back(std::move(name));
    face.push_back(longValue(14));
    if (const ComPtr<IDispatch> font = com::adopt(make(L"CreateFontObject", vellum, std::move(face), skipped))) {
        noteHandle(font.Get(), L"hFont");
        addEntry(font.Get(), L"font");
    }
    // Regions: holding one, holding none, and one whose region was deleted.
    for (int kind = 0; kind < 3; ++kind) {
        const ComPtr<IDispatch> region = created(L"Vellum.GDIRegion");
        if (!region) {
            skipped.push_back(L"Vellum.GDIRegion");
            return;
        }
        if (kind != 1) {
            std::vector<Variant> corners;
            for (long v : {2L, 3L, 30L, 20L}) corners.push_back(longValue(v));
            lateCall(region.Get(), L"CreateEllipse", DISPATCH_METHOD, std::move(corners));
            noteHandle(region.Get(), L"hRgn");
        }
        if (kind == 2) lateCall(region.Get(), L"Delete", DISPATCH_METHOD, {});
        addEntry(region.Get(), kind == 0 ? L"region" : kind == 1 ? L"empty region object" : L"deleted region");
    }
}

// Window objects (live and destroyed windows) and focus rectangles (on a
// live and on a deleted device context).
void Objects::windowStates(IDispatch* kolorit, std::vector<std::wstring>& skipped) {
    bool windowObjects = true;
    for (long operation = 0; operation < 3 && windowObjects; ++operation) {
        for (bool destroy : {false, true}) {
            const HWND window = CreateWindowExW(0, L"STATIC", L"fuzz", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                                 160, 120, nullptr, nullptr, nullptr, nullptr);
            if (!window) continue;
            windows_.push_back(window);
            handles_.push_back(static_cast<long>(reinterpret_cast<LONG_PTR>(window)));
            std::vector<Variant> arguments;
            arguments.push_back(longValue(static_cast<long>(reinterpret_cast<LONG_PTR>(window))));
            arguments.push_back(longValue(operation));
            const ComPtr<IDispatch> attached = com::adopt(make(L"GDIAttachDCWnd", kolorit, std::move(arguments), skipped));
            if (!attached) {
                windowObjects = false;
                break;
            }
            const std::wstring label = (destroy ? L"window object of a destroyed window, operation "
                                                : L"window object, operation ") + std::to_wstring(operation);
            addEntry(attached.Get(), label);
            addSubObjects(attached.Get(), label, 2);
            if (destroy) {
                DestroyWindow(window);
                windows_.pop_back();
            }
        }
    }
    for (bool remove : {false, true}) {
        const HDC dc = CreateCompatibleDC(nullptr);
        std::vector<Variant> arguments;
        arguments.push_back(longValue(static_cast<long>(reinterpret_cast<LONG_PTR>(dc))));
        const ComPtr<IDispatch> focus = com::adopt(make(L"GDIFocusDC", kolorit, std::move(arguments), skipped));
        handles_.push_back(static_cast<long>(reinterpret_cast<LONG_PTR>(dc)));
        if (remove || !focus) DeleteDC(dc);
        else deviceContexts_.push_back(dc);
        if (focus) addEntry(focus.Get(), remove ? L"focus rectangle on a deleted DC" : L"focus rectangle");
    }
}

}  // namespace fuzz
