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
    if (SUCCEEDED(CLSIDFromProgID(progId, &id))) CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object));
    return object;
}

IUnknown* identityOf(IUnknown* object) {
    ComPtr<IUnknown> unknown;
    if (object) object->QueryInterface(IID_PPV_ARGS(&unknown));
    return unknown.Get();  // the object keeps it alive
}

std::vector<IID> answered(IDispatch* object, const Catalog& catalog) {
    std::vector<IID> found;
    for (const Interface& i : catalog.interfaces()) {
        ComPtr<IUnknown> face;
        if (SUCCEEDED(object->QueryInterface(i.id, reinterpret_cast<void**>(face.GetAddressOf())))) found.push_back(i.id);
    }
    return found;
}

Variant value(long v) { return longValue(v); }
Variant value(IDispatch* v) { return objectValue(v); }
Variant value(bool v) {
    Variant out;
    V_VT(out.get()) = VT_BOOL;
    V_BOOL(out.get()) = v ? VARIANT_TRUE : VARIANT_FALSE;
    return out;
}
Variant value(const wchar_t* v) {
    Variant out;
    V_VT(out.get()) = VT_BSTR;
    V_BSTR(out.get()) = SysAllocString(v);
    return out;
}

// The object a factory member returns, or null.
template <class... Arguments>
ComPtr<IDispatch> make(IDispatch* on, const wchar_t* factory, Arguments... arguments) {
    std::vector<Variant> list;
    (list.push_back(value(arguments)), ...);
    Variant result;
    if (!lateCall(on, factory, DISPATCH_METHOD, std::move(list), &result) || V_VT(result.get()) != VT_DISPATCH) return {};
    return ComPtr<IDispatch>(V_DISPATCH(result.get()));
}

}  // namespace

bool lateCall(IDispatch* target, const wchar_t* name, WORD flags, std::vector<Variant> arguments, Variant* result) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (!target || FAILED(target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    std::vector<VARIANT> packed;
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) packed.push_back(*it->get());
    DISPID put = DISPID_PROPERTYPUT;
    const UINT putting = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) ? 1 : 0;
    DISPPARAMS params{packed.data(), &put, UINT(packed.size()), putting};
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

void Objects::addEntry(IDispatch* object, const std::wstring& label) {
    if (!object) return;
    if (live_.size() >= maxObjects) {
        // The states made on purpose stay; returned objects take turns.
        const size_t start = live_.size() - harvested_;
        const size_t victim = harvested_ ? start + random_.below(harvested_) : random_.below(live_.size());
        if (victim >= start) --harvested_;
        live_.erase(live_.begin() + long(victim));
    }
    live_.push_back(Live{ComPtr<IDispatch>(object), identityOf(object), label, answered(object, catalog_)});
}

void Objects::add(IDispatch* object, const std::wstring& label) {
    if (random_.chance(0.3)) connectSinks(object);
    addEntry(object, label);
    ++harvested_;
}

void Objects::release(IUnknown* object) {
    IUnknown* identity = identityOf(object);
    const size_t start = live_.size() - harvested_;
    for (size_t i = live_.size(); i-- > 0;) {
        if (live_[i].identity != identity) continue;
        if (i >= start) --harvested_;
        live_.erase(live_.begin() + long(i));
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
        if (std::any_of(entry.interfaces.begin(), entry.interfaces.end(), [&](const IID& i) { return IsEqualIID(i, interfaceId); }))
            fitting.push_back(&entry);
    return fitting.empty() ? nullptr : random_.pick(fitting);
}

std::wstring Objects::labelOf(IUnknown* object) const {
    const IUnknown* identity = identityOf(object);
    for (const Live& entry : live_)
        if (entry.identity == identity) return entry.label;
    return L"a foreign object";
}

void Objects::keepArray(const VARIANT& array) {
    if (arrays_.size() >= 20) arrays_.erase(arrays_.begin() + long(random_.below(arrays_.size())));
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
    const std::vector<IID> faces = answered(object, catalog_);
    for (const Member& m : catalog_.members()) {
        if (m.flags != DISPATCH_PROPERTYGET || !m.returnsObject || !m.parameters.empty() ||
            std::none_of(faces.begin(), faces.end(), [&](const IID& i) { return IsEqualIID(i, m.interfaceId); }))
            continue;
        Variant value;
        if (!lateCall(object, m.name.c_str(), DISPATCH_PROPERTYGET, {}, &value) || V_VT(value.get()) != VT_DISPATCH) continue;
        IDispatch* sub = V_DISPATCH(value.get());
        addEntry(sub, label + L"." + m.name);
        if (sub) connectSinks(sub);
        addSubObjects(sub, label + L"." + m.name, depth - 1);
    }
}

// Up to two sinks of any behaviour on each connection point.
void Objects::connectSinks(IDispatch* object) {
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IEnumConnectionPoints> points;
    if (FAILED(object->QueryInterface(IID_PPV_ARGS(&container))) || FAILED(container->EnumConnectionPoints(&points)) ||
        !points)
        return;
    for (ComPtr<IConnectionPoint> point; points->Next(1, point.ReleaseAndGetAddressOf(), nullptr) == S_OK;) {
        IID events{};
        point->GetConnectionInterface(&events);
        for (long s = random_.between(0, 2); s > 0; --s) {
            const auto mode = static_cast<SinkMode>(random_.below(5));
            auto act = [this, mode](IDispatch* source) {
                if (mode == SinkMode::ReleaseSource) release(source);
                else if (reenter) reenter(source);
            };
            const ComPtr<Sink> sink = com::adopt(new Sink(mode, events, object, act));
            DWORD cookie = 0;
            if (SUCCEEDED(point->Advise(sink.Get(), &cookie))) sink->connected(point.Get(), cookie);
        }
    }
}

void Objects::populate() {
    const ComPtr<IDispatch> vellum = created(L"Vellum.VellumFunctions");
    const ComPtr<IDispatch> kolorit = created(L"Kolorit.KoloritFunctions");
    addEntry(vellum.Get(), L"VellumFunctions");
    addEntry(kolorit.Get(), L"KoloritFunctions");
    hubStates(vellum.Get(), kolorit.Get());
    drawingObjects(vellum.Get());
    windowStates(kolorit.Get());
}

void Objects::hubStates(IDispatch* vellum, IDispatch* kolorit) {
    struct Kind { long width, height; bool monochrome; const wchar_t* label; };
    const Kind kinds[] = {{64, 48, false, L"colour 64x48"}, {40, 30, true, L"monochrome 40x30"}, {1, 1, false, L"1x1"},
                          {1, 1, true, L"monochrome 1x1"},  {1000, 700, false, L"large 1000x700"}};
    for (const Kind& kind : kinds) {
        const ComPtr<IDispatch> surface = make(vellum, L"CreateGDIDC", kind.width, kind.height, kind.monochrome);
        const ComPtr<IDispatch> hub = make(kolorit, L"GDIAttachDCEx", surface.Get());
        if (!hub) continue;
        noteHandle(surface.Get(), L"hDC");
        noteHandle(surface.Get(), L"hBitmap");
        addEntry(surface.Get(), std::wstring(L"surface ") + kind.label);
        addEntry(hub.Get(), std::wstring(L"hub on ") + kind.label);
        addSubObjects(hub.Get(), std::wstring(L"hub on ") + kind.label, 2);
    }
    // A hub that alone holds its surface, and sub-objects whose hub and
    // surface are gone (their device context no longer exists).
    for (bool keepHub : {true, false}) {
        const ComPtr<IDispatch> hub = make(kolorit, L"GDIAttachDCEx", make(vellum, L"CreateGDIDC", 32L, 24L).Get());
        Variant dc;
        if (lateCall(hub.Get(), L"DC", DISPATCH_PROPERTYGET, {}, &dc)) noteHandle(V_DISPATCH(dc.get()), L"hDC");
        const wchar_t* label = keepHub ? L"hub whose surface the client released" : L"gone hub";
        if (keepHub) addEntry(hub.Get(), label);
        addSubObjects(hub.Get(), label, 1);
    }
}

void Objects::drawingObjects(IDispatch* vellum) {
    struct Factory { const wchar_t* name; long a, b, c; const wchar_t* handle; const wchar_t* label; };
    const Factory factories[] = {{L"CreatePenObject", 0xFF, 0, 3, L"hPen", L"red pen"},
                                 {L"CreatePenObject", 0, 2, 1, L"hPen", L"dotted pen"},
                                 {L"CreateBrushObject", 0xFF00, 0, 0, L"hBrush", L"green brush"},
                                 {L"CreateBrushObject", 0, 2, 3, L"hBrush", L"hatched brush"}};
    for (const Factory& f : factories) {
        const ComPtr<IDispatch> object = make(vellum, f.name, f.a, f.b, f.c);
        noteHandle(object.Get(), f.handle);
        addEntry(object.Get(), f.label);
    }
    const ComPtr<IDispatch> font = make(vellum, L"CreateFontObject", L"Arial", 14L);
    noteHandle(font.Get(), L"hFont");
    addEntry(font.Get(), L"font");
    // Regions: holding one, holding none, and one whose region was deleted.
    for (const wchar_t* label : {L"region", L"empty region object", L"deleted region"}) {
        const ComPtr<IDispatch> region = created(L"Vellum.GDIRegion");
        if (label[0] != L'e') make(region.Get(), L"CreateEllipse", 2L, 3L, 30L, 20L);
        noteHandle(region.Get(), L"hRgn");
        if (label[0] == L'd') make(region.Get(), L"Delete");
        addEntry(region.Get(), label);
    }
}

// Window objects (live and destroyed windows) and focus rectangles (on a
// live and on a deleted device context).
void Objects::windowStates(IDispatch* kolorit) {
    for (long operation = 0; operation < 3; ++operation) {
        for (bool destroy : {false, true}) {
            const HWND window = CreateWindowExW(0, L"STATIC", L"fuzz", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 160, 120,
                                                nullptr, nullptr, nullptr, nullptr);
            const long handle = long(reinterpret_cast<LONG_PTR>(window));
            handles_.push_back(handle);
            const std::wstring label = (destroy ? L"window object of a destroyed window, operation "
                                                : L"window object, operation ") + std::to_wstring(operation);
            const ComPtr<IDispatch> attached = make(kolorit, L"GDIAttachDCWnd", handle, operation);
            addEntry(attached.Get(), label);
            addSubObjects(attached.Get(), label, 2);
            if (destroy) DestroyWindow(window);
            else windows_.push_back(window);
        }
    }
    for (bool remove : {false, true}) {
        const HDC dc = CreateCompatibleDC(nullptr);
        handles_.push_back(long(reinterpret_cast<LONG_PTR>(dc)));
        addEntry(make(kolorit, L"GDIFocusDC", long(reinterpret_cast<LONG_PTR>(dc))).Get(),
                 remove ? L"focus rectangle on a deleted DC" : L"focus rectangle");
        if (remove) DeleteDC(dc);
        else deviceContexts_.push_back(dc);
    }
}

}  // namespace fuzz
