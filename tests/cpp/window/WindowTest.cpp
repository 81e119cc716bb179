// Window device contexts on real windows: where each operation's origin
// lies, the window's shape, update locks, and the context given back.

#include "LiveObjects.h"
#include "Support.h"

#include <memory>

using namespace test;

namespace {

const Raised invalidArgument{0, 5, L"Kolorit", L"Invalid procedure call or argument"};

using Window = std::unique_ptr<HWND__, BOOL(WINAPI*)(HWND)>;

// A visible window of a class of our own: top-level with a frame, or a child.
Window makeWindow(HWND parent = nullptr) {
    static const ATOM kind = [] {
        WNDCLASSW description{};
        description.lpfnWndProc = DefWindowProcW;
        description.hInstance = GetModuleHandleW(nullptr);
        description.lpszClassName = L"KoloritTestWindow";
        return RegisterClassW(&description);
    }();
    const DWORD style = WS_VISIBLE | (parent ? WS_CHILD | WS_BORDER : WS_OVERLAPPEDWINDOW);
    HWND made = CreateWindowExW(0, MAKEINTATOM(kind), L"Kolorit", style, 20, 30, 200, 150, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(made, nullptr);
    return Window(made, DestroyWindow);
}

// Where the client area starts, in the whole window's coordinates.
POINT clientOrigin(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return POINT{origin.x - frame.left, origin.y - frame.top};
}

ComPtr<_DCWindows> open(HWND window, DCWndOperations operation) {
    ComPtr<_DCWindows> opened;
    EXPECT_EQ(koloritFunctions()->GDIAttachDCWnd(handleValue(window), operation, &opened), S_OK);
    return opened;
}

ComPtr<_GDIDCEx> hubOf(_DCWindows* window) {
    ComPtr<_GDIDCEx> hub;
    EXPECT_EQ(window->get_DCEx(&hub), S_OK);
    return hub;
}

}  // namespace

// Operation 0 is the whole window, frame included; 1 the client area.
TEST(AttachWindow, DrawsFromTheOriginOfTheOpenedContext) {
    Window window = makeWindow(), child = makeWindow(window.get());
    for (HWND w : {window.get(), child.get()}) {
        for (DCWndOperations operation : {dcWndRetreiveClientDC, dcWndRetreiveDC}) {
            auto opened = open(w, operation);
            ComPtr<_DCDrawing> drawing;
            ASSERT_EQ(hubOf(opened.Get())->get_Drawing(&drawing), S_OK);
            ASSERT_EQ(drawing->put_PixelColor(3, 4, VARIANT_FALSE, RGB(255, 0, 0)), S_OK);
            const POINT origin = operation == dcWndRetreiveDC ? clientOrigin(w) : POINT{0, 0};
            HDC own = GetWindowDC(w);
            EXPECT_EQ(GetPixel(own, origin.x + 3, origin.y + 4), RGB(255, 0, 0)) << "operation " << operation;
            SetPixelV(own, origin.x + 3, origin.y + 4, 0);
            ReleaseDC(w, own);
        }
    }
}

TEST(WindowShape, SetAndExportedRegionsHaveTheSameBoxAndNothingRemovesTheShape) {
    Window window = makeWindow();
    auto opened = open(window.get(), dcWndRetreiveDC);
    auto own = region(10, 5, 60, 45);
    _GDIRegion* shape = own.Get();
    VARIANT_BOOL redraw = VARIANT_TRUE;
    ASSERT_EQ(opened->SetRegion(&shape, &redraw), S_OK);
    ComPtr<_GDIRegion> exported;
    ASSERT_EQ(opened->ExportRegion(&exported), S_OK);
    EXPECT_EQ(boxOf(exported.Get()).right, 60);

    shape = nullptr;
    exported.Reset();
    ASSERT_EQ(opened->SetRegion(&shape, nullptr), S_OK);
    expectLibraryError(errorOf(opened->ExportRegion(&exported)), L"DCWindows.ExportRegion()", L"Could not get window region!");
    EXPECT_EQ(exported, nullptr);
}


// The context of a window that is gone has no visible part, and the platform
// may still let strokes into it succeed: a gradient over a huge rectangle
// ends after its first stroke instead of drawing the whole rectangle's.
TEST(AttachWindow, AGradientOnTheContextOfAWindowThatIsGoneEndsAtOnce) {
    Window window = makeWindow();
    auto opened = open(window.get(), dcWndRetreiveClientDC);
    ComPtr<_DCEffectDrawing> effects;
    ASSERT_EQ(hubOf(opened.Get())->get_Effects(&effects), S_OK);
    window.reset();
    effects->GradientFill(0, 0, 2147418112, 10, RGB(0, 0, 0), RGB(255, 0, 0), 1, VARIANT_TRUE);
}
