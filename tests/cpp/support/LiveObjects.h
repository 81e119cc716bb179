#pragma once
// What a long-running host would see leak: objects that keep a component
// loaded, and GDI objects of the process. Shared by the tests, the fuzzer and
// the load benchmark.
//
// Wine's GetGuiResources answers 0, and Wine takes a handle value below 65536
// as the object in that slot of the process's GDI table; so where the count
// is 0 the table is walked slot by slot. (On Windows the count is real and the
// walk is never needed.)

#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace test {

// Live GDI objects of the process by kind (the OBJ_ values of GetObjectType).
struct GdiObjects {
    std::array<long, 16> byKind{};
    long total = 0;

    long operator-(const GdiObjects& before) const { return total - before.total; }
    // "pen +1, brush -2" for the kinds whose number changed since `before`.
    std::string changesSince(const GdiObjects& before) const {
        static const char* const names[16] = {"?",      "pen",    "brush",  "dc",  "metadc", "palette",
                                              "font",   "bitmap", "region", "metafile", "memdc", "extpen",
                                              "enhmetadc", "enhmetafile", "colorspace", "?"};
        std::string text;
        for (size_t kind = 0; kind < byKind.size(); ++kind) {
            const long change = byKind[kind] - before.byKind[kind];
            if (change == 0) continue;
            if (!text.empty()) text += ", ";
            text += std::string(names[kind]) + (change > 0 ? " +" : " ") + std::to_string(change);
        }
        return text.empty() ? "none" : text;
    }
};

inline GdiObjects liveGdiObjects() {
    GdiObjects count;
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) {
        count.total = static_cast<long>(reported);
        return count;
    }
    for (ULONG_PTR slot = 1; slot < 0x10000; ++slot) {
        const DWORD kind = GetObjectType(reinterpret_cast<HGDIOBJ>(slot));
        if (kind == 0 || kind >= count.byKind.size()) continue;
        ++count.byKind[kind];
        ++count.total;
    }
    return count;
}

// The platform fills per-process caches with its first windows and keeps
// them: system-colour brushes and pens, bitmaps for the frame, and the
// device contexts it hands out for windows, as many as were ever out at
// once. One window with a number of contexts out fills them, so that a count
// taken afterwards shows what is left behind, not what the platform keeps.
inline void warmUpWindows(int contextsAtOnce = 8) {
    WNDCLASSW description{};
    description.lpfnWndProc = DefWindowProcW;
    description.hInstance = GetModuleHandleW(nullptr);
    description.lpszClassName = L"KoloritWarmUpWindow";
    const ATOM kind = RegisterClassW(&description);
    const HWND window = CreateWindowExW(0, MAKEINTATOM(kind), L"", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                        nullptr, nullptr, description.hInstance, nullptr);
    std::vector<HDC> contexts;
    for (int i = 0; i < contextsAtOnce; ++i) contexts.push_back(GetDC(window));
    for (HDC context : contexts) ReleaseDC(window, context);
    DestroyWindow(window);
    UnregisterClassW(MAKEINTATOM(kind), description.hInstance);
}

// Everything the platform makes for good on first use and keeps for the
// process: shared system icons, the brushes of the system colours, the pens
// and brushes of edges, frame controls and grayed and stated text (Wine: also
// a halftone brush), and the window caches. Made before a count starts, they
// are not taken for what a test left behind.
inline void warmUpPlatform() {
    LoadIcon(nullptr, IDI_APPLICATION);
    for (int colour = 0; colour <= COLOR_MENUBAR; ++colour) GetSysColorBrush(colour);
    warmUpWindows();
    if (const HDC scratch = CreateCompatibleDC(nullptr)) {
        RECT box{0, 0, 8, 8};
        for (UINT edge : {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP})
            for (UINT flags : {0u, UINT{BF_FLAT}, UINT{BF_MONO}, UINT{BF_SOFT}})
                DrawEdge(scratch, &box, edge, BF_RECT | BF_MIDDLE | flags);
        for (UINT kind : {UINT{DFC_BUTTON}, UINT{DFC_CAPTION}, UINT{DFC_MENU}, UINT{DFC_SCROLL}})
            for (UINT state : {0u, UINT{DFCS_CHECKED}, UINT{DFCS_BUTTONCHECK | DFCS_CHECKED}, UINT{DFCS_INACTIVE}})
                DrawFrameControl(scratch, &box, kind, state);
        GrayStringA(scratch, nullptr, nullptr, reinterpret_cast<LPARAM>("x"), 1, 0, 0, 8, 8);
        for (UINT state : {UINT{DSS_NORMAL}, UINT{DSS_UNION}, UINT{DSS_DISABLED}, UINT{DSS_MONO}})
            DrawStateA(scratch, nullptr, nullptr, reinterpret_cast<LPARAM>("x"), 1, 0, 0, 8, 8, DST_TEXT | state);
        DeleteDC(scratch);
    }
}

// Whether a loaded component answers DllCanUnloadNow with S_OK (one that is
// not loaded holds nothing).
inline bool canUnload(const wchar_t* module) {
    const HMODULE loaded = GetModuleHandleW(module);
    if (!loaded) return true;
    const auto entry = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(loaded, "DllCanUnloadNow")));
    return entry && entry() == S_OK;
}

inline bool componentsUnloadable() { return canUnload(L"kolorit.dll") && canUnload(L"vellum.dll"); }

}  // namespace test
