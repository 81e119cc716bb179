// What every member costs per call, late-bound from a compiled client as a
// script host makes the call: GetIDsOfNames once, then IDispatch::Invoke,
// with typical arguments on a 64x64 surface. Each call is timed alone (what
// a call needs beforehand runs untimed) and the median is printed in
// microseconds. A member above 50 us that does no pixel work (effects and
// operations over the whole surface or a file are pixel work) is flagged.
// Every member of every object a client reaches must be in the table: one
// the type libraries list but the table does not is reported as not timed.
// Prints a table; asserts nothing.

#include "com/Ptr.h"
#include "com/Variant.h"
#include "frame/KoloritTypes.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using com::ComPtr;
using com::Variant;

constexpr double flagAbove = 50;  // microseconds

// A call written as a script line: "[get|let|set] Object.Member arguments".
// Arguments, separated by commas: whole numbers (Long), numbers with a point
// (Double), true/false, 'text', nothing, $name (a value kept by the fixture),
// [1, 2, ...] (a script's array of numbers), and any of these after & as a
// variable passed by reference.
struct Entry {
    const char* call;
    const char* before = "";  // calls that set the stage, untimed, separated by ';'
    bool pixels = false;
};

// The objects and values the calls use, made by calls of the same kind.
const std::pair<const char*, const char*> fixture[] = {
    {"S", "V.CreateGDIDC 64, 64"},       {"O", "V.CreateGDIDC 64, 64"},
    {"hS", "get S.hDC"},                 {"hO", "get O.hDC"},
    {"Hub", "K.GDIAttachDCEx $S"},       {"Clip", "get Hub.Clipping"},
    {"Draw", "get Hub.Drawing"},         {"Fx", "get Hub.Effects"},
    {"Coord", "get Hub.Coordinates"},    {"Pos", "get Hub.CurrentPos"},
    {"Path", "get Hub.Path"},            {"Text", "get Hub.TextDrawing"},
    {"UI", "get Hub.UIDrawing"},         {"Focus", "K.GDIFocusDC $hO"},
    {"Win", "K.GDIAttachDCWnd $window, 1"}, {"Bmp", "get S.SelBitmap"},
    {"Pen", "V.CreatePenObject 255"},    {"Brush", "V.CreateBrushObject 65280"},
    {"Font", "V.CreateFontObject 'Arial', 12"}, {"Mask", "Fx.GetMaskBitmap 255"},
};

const Entry table[] = {
    {"K.GDIAttachDCEx $S"}, {"K.GDIAttachDCWnd $window, 1"}, {"K.GDIFocusDC $hO"},
    {"get K.GDIBatchLimit"}, {"let K.GDIBatchLimit 20"}, {"K.GDIBatchFlush"},
    {"K.GDIMakeCoords &[1, 2, 3, 4]"},

    {"get Hub.DC"}, {"get Hub.Clipping"}, {"get Hub.Drawing"}, {"get Hub.Effects"}, {"get Hub.Coordinates"},
    {"get Hub.CurrentPos"}, {"get Hub.Path"}, {"get Hub.TextDrawing"}, {"get Hub.UIDrawing"},
    {"Hub.DrawTo $hO", "", true}, {"Hub.DrawTo $hO, 0, 0, 0, 0, 0, 0, 13369376, 255", "", true},
    {"Hub.CaptureFrom $hO, 0, 0, 64, 64", "", true},
    {"Hub.CaptureFrom $hO, 0, 0, 64, 64, 0, 0, 13369376, 255", "", true},

    {"get Draw.ArcDirection"}, {"let Draw.ArcDirection 2"}, {"get Draw.FillStyle"}, {"let Draw.FillStyle 1"},
    {"get Draw.BackColor"}, {"let Draw.BackColor 255"}, {"get Draw.DrawMode"}, {"let Draw.DrawMode 13"},
    {"get Draw.PixelColor 5, 5"}, {"let Draw.PixelColor 5, 5, 255"}, {"get Draw.PolyFillMode"},
    {"let Draw.PolyFillMode 1"}, {"Draw.DrawEllipse 4, 4, 60, 40"}, {"Draw.DrawLine 1, 1, 60, 60"},
    {"Draw.DrawLineTo 30, 30"}, {"Draw.DrawChord 4, 4, 60, 60, 4, 30, 60, 30"},
    {"Draw.DrawPie 4, 4, 60, 60, 4, 30, 60, 30"}, {"Draw.DrawPolygon true, [4, 4, 60, 4, 30, 60]"},
    {"Draw.DrawPolyBezier [20, 60, 40, 0, 60, 60]"}, {"Draw.DrawRect 4, 4, 60, 60"},
    {"Draw.DrawRectEx 4, 4, 60, 60, true"}, {"Draw.DrawRectFiled 4, 4, 60, 60"}, {"Draw.DrawRegion $Rgn"},
    {"Draw.CaptureIcon $icon"}, {"Draw.CaptureIconEx $icon, 0, 0, 32, 32"},

    {"get Fx.StretchMode"}, {"let Fx.StretchMode 3"},
    {"Fx.StretchTo $hO, 0, 0, 64, 64, 0, 0, 64, 64", "", true}, {"Fx.TileArea 0, 0, 64, 64, $hO, 16, 16", "", true},
    {"Fx.GradientFill 0, 0, 64, 64, 255, 16711680, 0, true", "", true}, {"Fx.InvertArea", "", true},
    {"Fx.FloodFill 5, 5", "", true}, {"Fx.InvertEx $Rgn", "", true}, {"Fx.GetMaskBitmap 255", "", true},
    {"Fx.ApplyMask $Mask, $O", "", true}, {"Fx.ReplaceColor 255, 65280", "", true},
    {"Fx.ReplaceColorEx 255, $O", "", true}, {"Fx.Rotate &$O, 0.5", "", true},
    {"Fx.GravitationPit 32, 32, 20", "", true}, {"Fx.Wave 6, 10", "", true}, {"Fx.Mirror", "", true},
    {"Fx.Flip", "", true}, {"Fx.FlipMirror", "", true},

    {"get Coord.MapMode"}, {"let Coord.MapMode 1"}, {"Coord.ConvLPtoDP &5, &5"}, {"Coord.ConvDPtoLP &5, &5"},
    {"get Coord.ViewPortOrgX"}, {"let Coord.ViewPortOrgX 0"}, {"get Coord.ViewPortOrgY"},
    {"let Coord.ViewPortOrgY 0"}, {"get Coord.ViewPortExtX"}, {"let Coord.ViewPortExtX 1"},
    {"get Coord.ViewPortExtY"}, {"let Coord.ViewPortExtY 1"}, {"Coord.ScaleViewportExt 1, 1, 1, 1"},
    {"get Coord.WindowOrgX"}, {"let Coord.WindowOrgX 0"}, {"get Coord.WindowOrgY"}, {"let Coord.WindowOrgY 0"},
    {"get Coord.WindowExtX"}, {"let Coord.WindowExtX 1"}, {"get Coord.WindowExtY"}, {"let Coord.WindowExtY 1"},
    {"Coord.ScaleWindowExt 1, 1, 1, 1"},

    {"Pos.Move 5, 5"}, {"get Pos.X"}, {"let Pos.X 5"}, {"get Pos.Y"}, {"let Pos.Y 5"},

    {"Path.BeginPath"}, {"Path.CloseFigure", "Path.BeginPath; Draw.DrawLine 1, 1, 30, 30"},
    {"Path.EndPath", "Path.BeginPath; Draw.DrawLine 1, 1, 30, 30"},
    {"Path.DrawPath 1", "Path.BeginPath; Draw.DrawLine 1, 1, 30, 30; Path.EndPath"},
    {"get Path.MiterLimit"}, {"let Path.MiterLimit 10"},
    {"Path.GetCoords", "Path.BeginPath; Draw.DrawLine 1, 1, 30, 30; Path.EndPath"},
    {"Path.GetCoordList", "Path.BeginPath; Draw.DrawLine 1, 1, 30, 30; Path.EndPath"},
    {"Path.WidenPath", "Path.BeginPath; Draw.DrawLine 1, 1, 30, 30; Path.EndPath"},
    {"Path.GetRegion", "Path.BeginPath; Draw.DrawEllipse 1, 1, 30, 30; Path.EndPath"},
    {"Path.Abort", "Path.BeginPath"},

    {"get Text.TextAlign"}, {"let Text.TextAlign 0"}, {"get Text.TextColor"}, {"let Text.TextColor 0"},
    {"get Text.InnerCharSpace"}, {"let Text.InnerCharSpace 0"}, {"let Text.MapperFlags 0"},
    {"Text.TextWidth &'Kolorit'"}, {"Text.TextHeight &'Kolorit'"}, {"Text.TabbedTextWidth &'a\tb'"},
    {"Text.TabbedTextHeight &'a\tb'"}, {"Text.TabbedTextWidthEx &'a\tb', [40]"},
    {"Text.TabbedTextHeightEx &'a\tb', [40]"}, {"get Text.FontFaceName"}, {"get Text.RasterizerCapsFlags"},
    {"get Text.RasterizerCapsLanguageID"}, {"get Text.FontLanguageInfo"}, {"Text.DrawText &'Kolorit', 2, 2"},
    {"Text.DrawTabbedText &'a\tb', 2, 2"}, {"Text.DrawTabbedTextEx &'a\tb', 2, 2, [40]"},
    {"Text.DrawExtText &'Kolorit', 2, 2"}, {"Text.DrawGrayedText &'Kolorit', 2, 2"},
    {"Text.DrawTextEx &'Kolorit', &0, &0, &60, &20"},

    {"UI.DrawBorder 2, 2, 60, 60, 5"}, {"UI.DrawControlFrame 2, 2, 20, 20, 4, 0"}, {"UI.DrawRectFocus 2, 2, 60, 60"},
    {"UI.CaptureWallpaper", "", true}, {"UI.CaptureImageState $icon, 0, &0, 32, 32, nothing, 0, true"},
    {"UI.DrawStatedText &'Kolorit', 2, 2, 60, 20"},

    {"get Focus.hDestDC"}, {"get Focus.Visible"}, {"let Focus.Visible true", "let Focus.Visible false"},
    {"get Focus.X1"}, {"let Focus.X1 10"}, {"get Focus.Y1"}, {"let Focus.Y1 10"}, {"get Focus.X2"},
    {"let Focus.X2 30"}, {"get Focus.Y2"}, {"let Focus.Y2 30"}, {"get Focus.ScaleMode"},

    {"get Win.hWndParent"}, {"get Win.CmdOperation"}, {"get Win.DCEx"}, {"Win.SetRegion &$Rgn"},
    {"Win.ExportRegion"}, {"Win.LockForUpdate", "Win.UnlockAll"}, {"Win.UnlockAll", "Win.LockForUpdate"},

    {"Clip.SetRegion $Rgn"}, {"Clip.ExportRegion"}, {"Clip.IncludeRect 0, 0, 64, 64"},
    {"Clip.ExcludeRect 63, 63, 64, 64"}, {"Clip.ImportRgn $Rgn, 2"}, {"get Clip.LeftEdge"}, {"get Clip.TopEdge"},
    {"get Clip.RightEdge"}, {"get Clip.BottomEdge"}, {"Clip.PointInClipRgn 5, 5"},

    {"V.CreateGDIDC 64, 64"}, {"V.AttachGDIDC $hO"}, {"V.CreatePenObject 255"}, {"V.CreateBrushObject 255"},
    {"V.CreateFontObject 'Arial', 12"}, {"V.TranslateColor 255"}, {"V.LoadPicture $file", "", true},

    {"get S.hDC"}, {"get S.hBitmap"}, {"get S.SelBitmap"}, {"get S.SelPen"}, {"set S.SelPen $Pen"},
    {"get S.SelBrush"}, {"set S.SelBrush $Brush"}, {"get S.SelFont"}, {"set S.SelFont $Font"}, {"get S.Width"},
    {"get S.Height"}, {"S.ResetObjects"}, {"S.SaveToFile $file", "", true},

    {"get Bmp.hBitmap"}, {"get Bmp.Width"}, {"get Bmp.Height"}, {"get Bmp.BitsPixel"},
    {"get Pen.hPen"}, {"get Brush.hBrush"}, {"get Font.hFont"},
    {"get Rgn.hRgn"}, {"Rgn.CreateEllipse 0, 0, 64, 64"}, {"Rgn.CreateRoundRect 0, 0, 64, 64, 8, 8"},
    {"Rgn.Combine $Rgn, 2"}, {"Rgn.AttachRgn $newRegion"}, {"Rgn.Delete"}, {"Rgn.CreateRect 0, 0, 64, 64"},
};

std::map<std::string, Variant> kept;

[[noreturn]] void fail(const std::string& what) {
    std::printf("%s\n", what.c_str());
    std::exit(2);
}

std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string trim(std::string text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The arguments of one call, made anew for each call: members write back
// into variables passed by reference and take over region handles.
class Arguments {
public:
    explicit Arguments(const std::string& list) {
        std::string token;
        int depth = 0;
        for (char c : list + ",") {
            if (c == ',' && depth == 0) {
                if (!trim(token).empty()) tokens_.push_back(trim(token));
                token.clear();
                continue;
            }
            depth += c == '[' ? 1 : c == ']' ? -1 : 0;
            token += c;
        }
    }

    // In DISPPARAMS order, the last argument first.
    std::vector<VARIANT> make() {
        values_.clear();
        referenced_.clear();
        referenced_.reserve(tokens_.size());
        std::vector<VARIANT> out;
        for (auto token = tokens_.rbegin(); token != tokens_.rend(); ++token) {
            const bool byReference = (*token)[0] == '&';
            Variant value = valueOf(byReference ? token->substr(1) : *token);
            if (!byReference) {
                values_.push_back(std::move(value));
                out.push_back(*values_.back().get());
                continue;
            }
            referenced_.push_back(std::move(value));
            VARIANT reference{};
            V_VT(&reference) = VT_BYREF | VT_VARIANT;
            V_VARIANTREF(&reference) = referenced_.back().get();
            out.push_back(reference);
        }
        return out;
    }

private:
    static Variant valueOf(const std::string& token) {
        Variant v;
        if (token[0] == '\'') {
            V_VT(v.get()) = VT_BSTR;
            V_BSTR(v.get()) = SysAllocString(wide(token.substr(1, token.size() - 2)).c_str());
        } else if (token == "true" || token == "false") {
            V_VT(v.get()) = VT_BOOL;
            V_BOOL(v.get()) = token == "true" ? VARIANT_TRUE : VARIANT_FALSE;
        } else if (token == "nothing") {
            V_VT(v.get()) = VT_DISPATCH;
            V_DISPATCH(v.get()) = nullptr;
        } else if (token == "$newRegion") {
            V_VT(v.get()) = VT_I4;
            V_I4(v.get()) = static_cast<LONG>(reinterpret_cast<LONG_PTR>(CreateRectRgn(0, 0, 64, 64)));
        } else if (token[0] == '$') {
            const auto found = kept.find(token.substr(1));
            if (found == kept.end()) fail("no value " + token);
            VariantCopy(v.get(), found->second.get());
        } else if (token[0] == '[') {
            std::vector<long> numbers;
            for (const char* p = token.c_str() + 1; *p && *p != ']';) {
                char* end = nullptr;
                numbers.push_back(std::strtol(p, &end, 10));
                p = end + std::strspn(end, ", ");
            }
            SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(numbers.size()));
            for (LONG i = 0; i < static_cast<LONG>(numbers.size()); ++i) {
                VARIANT element{};
                V_VT(&element) = VT_I4;
                V_I4(&element) = numbers[i];
                SafeArrayPutElement(array, &i, &element);
            }
            V_VT(v.get()) = VT_ARRAY | VT_VARIANT;
            V_ARRAY(v.get()) = array;
        } else if (token.find('.') != std::string::npos) {
            V_VT(v.get()) = VT_R8;
            V_R8(v.get()) = std::atof(token.c_str());
        } else {
            V_VT(v.get()) = VT_I4;
            V_I4(v.get()) = std::atol(token.c_str());
        }
        return v;
    }

    std::vector<std::string> tokens_;
    std::vector<Variant> values_;
    std::vector<Variant> referenced_;  // where the references point: reserved, never moved
};

// One call of the table, its member's identifier looked up once.
class Call {
public:
    explicit Call(const std::string& line) {
        std::string rest = trim(line);
        const std::pair<const char*, WORD> kinds[] = {
            {"get ", DISPATCH_PROPERTYGET}, {"let ", DISPATCH_PROPERTYPUT}, {"set ", DISPATCH_PROPERTYPUTREF}};
        for (const auto& [prefix, flags] : kinds)
            if (rest.rfind(prefix, 0) == 0) {
                flags_ = flags;
                rest = rest.substr(4);
            }
        const size_t space = rest.find(' ');
        const std::string target = rest.substr(0, space);
        const size_t dot = target.find('.');
        object_ = target.substr(0, dot);
        member_ = target.substr(dot + 1);
        arguments_ = Arguments(space == std::string::npos ? "" : rest.substr(space + 1));
        const auto found = kept.find(object_);
        if (found == kept.end() || V_VT(found->second.get()) != VT_DISPATCH) fail("no object " + object_);
        dispatch_ = V_DISPATCH(found->second.get());
        const std::wstring name = wide(member_);
        LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
        if (FAILED(dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id_))) fail("no member " + line);
    }

    // The call's result; `microseconds` gets its time.
    Variant run(double* microseconds = nullptr) {
        std::vector<VARIANT> arguments = arguments_.make();
        DISPID put = DISPID_PROPERTYPUT;
        const bool putting = flags_ == DISPATCH_PROPERTYPUT || flags_ == DISPATCH_PROPERTYPUTREF;
        DISPPARAMS params{arguments.data(), putting ? &put : nullptr, static_cast<UINT>(arguments.size()),
                          putting ? 1u : 0u};
        Variant result;
        EXCEPINFO exception{};
        LARGE_INTEGER start, end, frequency;
        QueryPerformanceCounter(&start);
        const HRESULT hr = dispatch_->Invoke(id_, IID_NULL, LOCALE_USER_DEFAULT, flags_, &params,
                                             putting ? nullptr : result.get(), &exception, nullptr);
        QueryPerformanceCounter(&end);
        QueryPerformanceFrequency(&frequency);
        if (microseconds) *microseconds = static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 / frequency.QuadPart;
        failure_ = hr;
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrHelpFile);
        if (FAILED(hr) && exception.bstrDescription) description_ = exception.bstrDescription;
        SysFreeString(exception.bstrDescription);
        return result;
    }

    HRESULT failure() const { return failure_; }
    const std::wstring& description() const { return description_; }
    const std::string& object() const { return object_; }
    const std::string& member() const { return member_; }
    WORD flags() const { return flags_; }

private:
    std::string object_, member_;
    WORD flags_ = DISPATCH_METHOD;
    Arguments arguments_{""};
    IDispatch* dispatch_ = nullptr;
    DISPID id_ = 0;
    HRESULT failure_ = S_OK;
    std::wstring description_;
};

std::vector<Call> callsOf(const std::string& list) {
    std::vector<Call> calls;
    size_t from = 0;
    while (from < list.size()) {
        size_t to = list.find(';', from);
        if (to == std::string::npos) to = list.size();
        if (!trim(list.substr(from, to - from)).empty()) calls.emplace_back(list.substr(from, to - from));
        from = to + 1;
    }
    return calls;
}

// The median time of one call: at least 5 calls, at most 300, about 100 ms.
double medianMicroseconds(Call& call, std::vector<Call>& before) {
    std::vector<double> times;
    double total = 0;
    for (int i = 0; i < 302 && (times.size() < 5 || total < 100000); ++i) {
        for (Call& stage : before) stage.run();
        double us = 0;
        call.run(&us);
        if (FAILED(call.failure())) return -1;
        if (i >= 2) times.push_back(us);  // the first two warm up
        total += us;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The name of an object's interface and its members with their kinds, from
// its type information.
std::string interfaceOf(IDispatch* object, std::set<std::pair<std::string, WORD>>* members = nullptr) {
    ComPtr<ITypeInfo> info;
    if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info))) return "?";
    BSTR name = nullptr;
    info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    std::wstring text = name ? name : L"?";
    SysFreeString(name);
    TYPEATTR* attr = nullptr;
    if (members && SUCCEEDED(info->GetTypeAttr(&attr))) {
        for (UINT i = 0; i < attr->cFuncs; ++i) {
            FUNCDESC* desc = nullptr;
            if (FAILED(info->GetFuncDesc(i, &desc))) continue;
            BSTR member = nullptr;
            if (!(desc->wFuncFlags & FUNCFLAG_FRESTRICTED) &&
                SUCCEEDED(info->GetDocumentation(desc->memid, &member, nullptr, nullptr, nullptr))) {
                const WORD flags = desc->invkind == INVOKE_PROPERTYGET      ? DISPATCH_PROPERTYGET
                                   : desc->invkind == INVOKE_PROPERTYPUT    ? DISPATCH_PROPERTYPUT
                                   : desc->invkind == INVOKE_PROPERTYPUTREF ? DISPATCH_PROPERTYPUTREF
                                                                            : DISPATCH_METHOD;
                const std::wstring wideName = member;
                members->emplace(std::string(wideName.begin(), wideName.end()), flags);
            }
            SysFreeString(member);
            info->ReleaseFuncDesc(desc);
        }
        info->ReleaseTypeAttr(attr);
    }
    return std::string(text.begin(), text.end());
}

const char* kindOf(WORD flags) {
    return flags == DISPATCH_PROPERTYGET ? "get" : flags == DISPATCH_PROPERTYPUT ? "let"
                                               : flags == DISPATCH_PROPERTYPUTREF ? "set" : "call";
}

ComPtr<IDispatch> created(const wchar_t* progId) {
    CLSID id{};
    ComPtr<IDispatch> object;
    if (FAILED(CLSIDFromProgID(progId, &id)) ||
        FAILED(CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object)))) {
        const std::wstring name = progId;
        fail("cannot create " + std::string(name.begin(), name.end()));
    }
    return object;
}

void keep(const char* name, long value) {
    V_VT(kept[name].get()) = VT_I4;
    V_I4(kept[name].get()) = value;
}

void keep(const char* name, IDispatch* object) {
    V_VT(kept[name].get()) = VT_DISPATCH;
    V_DISPATCH(kept[name].get()) = object;
    object->AddRef();
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WNDCLASSW description{};
    description.lpfnWndProc = DefWindowProcW;
    description.hInstance = GetModuleHandleW(nullptr);
    description.lpszClassName = L"KoloritMembersBench";
    RegisterClassW(&description);
    const HWND window = CreateWindowExW(0, description.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                        nullptr, nullptr, description.hInstance, nullptr);
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"kolorit-members.png";
    {
        keep("V", created(L"Vellum.VellumFunctions").Get());
        keep("K", created(L"Kolorit.KoloritFunctions").Get());
        keep("window", static_cast<long>(reinterpret_cast<LONG_PTR>(window)));
        keep("icon", static_cast<long>(reinterpret_cast<LONG_PTR>(LoadIcon(nullptr, IDI_APPLICATION))));
        V_VT(kept["file"].get()) = VT_BSTR;
        V_BSTR(kept["file"].get()) = SysAllocString(file.c_str());
        keep("Rgn", created(L"Vellum.GDIRegion").Get());
        Call("Rgn.CreateRect 0, 0, 64, 64").run();
        for (const auto& [name, line] : fixture) kept[name] = Call(line).run();
        Call("S.SaveToFile $file").run();

        std::printf("Late-bound calls with typical arguments on a 64x64 surface: median microseconds per call.\n");
        std::printf("Flagged (!): above %.0f us without being pixel work (P).\n\n", flagAbove);
        std::printf("%-22s %-5s %-16s %-44s %10s\n", "interface", "kind", "member", "arguments", "us/call");
        std::set<std::pair<std::string, std::pair<std::string, WORD>>> timed;
        int flagged = 0;
        for (const Entry& entry : table) {
            Call call(entry.call);
            std::vector<Call> before = callsOf(entry.before);
            const double us = medianMicroseconds(call, before);
            const std::string typeName = interfaceOf(V_DISPATCH(kept[call.object()].get()));
            timed.insert({typeName, {call.member(), call.flags()}});
            std::string arguments = entry.call;
            arguments = arguments.substr(arguments.find(call.member()) + call.member().size());
            for (char& c : arguments)
                if (c == '\t') c = ' ';
            if (us < 0) {
                std::printf("%-22s %-5s %-16s %-44.44s %10s  0x%08lX %ls\n", typeName.c_str(), kindOf(call.flags()),
                            call.member().c_str(), trim(arguments).c_str(), "failed",
                            static_cast<unsigned long>(call.failure()), call.description().c_str());
                continue;
            }
            const bool slow = us > flagAbove && !entry.pixels;
            flagged += slow;
            std::printf("%-22s %-5s %-16s %-44.44s %10.1f %s\n", typeName.c_str(), kindOf(call.flags()),
                        call.member().c_str(), trim(arguments).c_str(), us, entry.pixels ? "P" : slow ? "!" : "");
        }

        // Whatever the type libraries list for the objects that the table
        // does not time.
        std::set<std::string> seen;
        int missing = 0;
        for (const auto& [name, value] : kept) {
            if (V_VT(value.get()) != VT_DISPATCH || !V_DISPATCH(value.get())) continue;
            std::set<std::pair<std::string, WORD>> members;
            const std::string typeName = interfaceOf(V_DISPATCH(value.get()), &members);
            if (!seen.insert(typeName).second) continue;
            for (const auto& member : members)
                if (!timed.count({typeName, member})) {
                    std::printf("not timed: %s %s %s\n", typeName.c_str(), kindOf(member.second),
                                member.first.c_str());
                    ++missing;
                }
        }
        std::printf("\n%zu calls timed over %zu interfaces; %d flagged; %d members not timed\n", std::size(table),
                    seen.size(), flagged, missing);
        kept.clear();
    }
    DeleteFileW(file.c_str());
    DestroyWindow(window);
    CoUninitialize();
    return 0;
}
