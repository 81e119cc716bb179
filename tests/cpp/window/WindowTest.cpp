// Window device contexts on real windows: where each operation's origin
// lies, the window's shape, update locks, and the context given back.

#include "Support.h"

using namespace test;

namespace {

const Raised invalidArgument{0, 5, L"Kolorit", L"Invalid procedure call or argument"};

// A window of a class of our own, destroyed with the test.
class Window {
public:
    explicit Window(HWND parent = nullptr) {
        static const ATOM registered = [] {
            WNDCLASSW kind{};
            kind.lpfnWndProc = DefWindowProcW;
            kind.hInstance = GetModuleHandleW(nullptr);
            kind.lpszClassName = L"KoloritTestWindow";
            return RegisterClassW(&kind);
        }();
        const DWORD style = parent ? WS_CHILD | WS_VISIBLE | WS_BORDER : WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        handle_ = CreateWindowExW(0, MAKEINTATOM(registered), L"Kolorit", style, 20, 30, 200, 150, parent, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(handle_, nullptr);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window() { destroy(); }

    HWND get() const { return handle_; }
    OLE_HANDLE value() const { return handleValue(handle_); }
    void destroy() {
        if (handle_) DestroyWindow(handle_);
        handle_ = nullptr;
    }
    // Where the client area starts, in the whole window's coordinates.
    POINT clientOrigin() const {
        RECT frame{};
        GetWindowRect(handle_, &frame);
        POINT origin{0, 0};
        ClientToScreen(handle_, &origin);
        return POINT{origin.x - frame.left, origin.y - frame.top};
    }

private:
    HWND handle_ = nullptr;
};

ComPtr<_DCWindows> open(const Window& window, DCWndOperations operation) {
    ComPtr<_DCWindows> opened;
    EXPECT_EQ(koloritFunctions()->GDIAttachDCWnd(window.value(), operation, &opened), S_OK);
    return opened;
}

HDC contextOf(_DCWindows* window) {
    ComPtr<_GDIDCEx> hub;
    window->get_DCEx(&hub);
    ComPtr<_GDIDC> surface;
    hub->get_DC(&surface);
    return dcOf(surface.Get());
}

ComPtr<_GDIRegion> rectRegion(long x1, long y1, long x2, long y2) {
    ComPtr<_GDIRegion> region;
    EXPECT_EQ(CoCreateInstance(CLSID_GDIRegion, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&region)), S_OK);
    region->CreateRect(x1, y1, x2, y2);
    return region;
}

HRGN handleOf(_GDIRegion* region) {
    OLE_HANDLE handle = 0;
    region->get_hRgn(&handle);
    return handleFrom<HRGN>(handle);
}

RECT boxOf(_GDIRegion* region) {
    RECT box{};
    GetRgnBox(handleOf(region), &box);
    return box;
}

bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

}  // namespace

TEST(AttachWindow, RefusesWhatIsNoWindowAndUnknownOperations) {
    Window window;
    struct Case { OLE_HANDLE hWnd; long operation; };
    for (const Case& c : {Case{0, dcWndRetreiveDC}, Case{handleValue(GetStockObject(BLACK_PEN)), dcWndRetreiveDC},
                          Case{window.value(), 3}, Case{window.value(), -1}}) {
        ComPtr<_DCWindows> opened;
        EXPECT_RAISED(errorOf(koloritFunctions()->GDIAttachDCWnd(c.hWnd, static_cast<DCWndOperations>(c.operation), &opened)),
                      5, invalidArgument.source, invalidArgument.description);
        EXPECT_EQ(opened, nullptr);
    }
}

// Operation 0 is the whole window, frame included; 1 the client area.
TEST(AttachWindow, DrawsFromTheOriginOfTheOpenedContext) {
    Window window, child(window.get());
    struct Case { const Window* window; DCWndOperations operation; bool client; };
    for (const Case& c : {Case{&window, dcWndRetreiveClientDC, false}, Case{&window, dcWndRetreiveDC, true},
                          Case{&child, dcWndRetreiveClientDC, false}, Case{&child, dcWndRetreiveDC, true}}) {
        auto opened = open(*c.window, c.operation);
        ComPtr<_GDIDCEx> hub;
        opened->get_DCEx(&hub);
        ComPtr<_DCDrawing> drawing;
        ASSERT_EQ(hub->get_Drawing(&drawing), S_OK);
        ASSERT_EQ(drawing->put_PixelColor(3, 4, VARIANT_FALSE, RGB(255, 0, 0)), S_OK);

        const POINT origin = c.client ? c.window->clientOrigin() : POINT{0, 0};
        HDC own = GetWindowDC(c.window->get());
        EXPECT_EQ(GetPixel(own, origin.x + 3, origin.y + 4), RGB(255, 0, 0)) << "operation " << c.operation;
        ReleaseDC(c.window->get(), own);
    }
}

TEST(AttachWindow, PropertiesAnswerWhatWasOpenedAlsoAfterTheWindowIsGone) {
    Window window;
    auto opened = open(window, dcWndStartPainting);
    window.destroy();

    OLE_HANDLE parent = 0;
    DCWndOperations operation = dcWndRetreiveClientDC;
    ComPtr<_GDIDCEx> hub;
    EXPECT_EQ(opened->get_hWndParent(&parent), S_OK);
    EXPECT_NE(parent, 0u);
    EXPECT_EQ(opened->get_CmdOperation(&operation), S_OK);
    EXPECT_EQ(operation, dcWndStartPainting);
    EXPECT_EQ(opened->get_DCEx(&hub), S_OK);
    EXPECT_NE(hub, nullptr);

    auto region = rectRegion(0, 0, 10, 10);
    _GDIRegion* shape = region.Get();
    VARIANT_BOOL redraw = VARIANT_FALSE;
    ComPtr<_GDIRegion> exported;
    EXPECT_RAISED(errorOf(opened->SetRegion(&shape, &redraw)), 5, invalidArgument.source, invalidArgument.description);
    EXPECT_RAISED(errorOf(opened->ExportRegion(&exported)), 5, invalidArgument.source, invalidArgument.description);
}

// Wine disables a cached device context when it is given back: drawing on
// it fails from then on, which is how the release shows here.
TEST(AttachWindow, GivesTheContextBackWhenTheLastReferenceGoes) {
    Window window;
    for (DCWndOperations operation : {dcWndRetreiveClientDC, dcWndRetreiveDC, dcWndStartPainting}) {
        auto opened = open(window, operation);
        const HDC context = contextOf(opened.Get());
        EXPECT_TRUE(SetPixelV(context, 1, 1, 0)) << "operation " << operation;
        opened.Reset();
        EXPECT_FALSE(SetPixelV(context, 1, 1, 0)) << "operation " << operation;
    }
}

TEST(WindowShape, SetAndExportedRegionsHaveTheSameBoxAndNothingRemovesTheShape) {
    Window window;
    auto opened = open(window, dcWndRetreiveDC);
    auto region = rectRegion(10, 5, 60, 45);
    _GDIRegion* shape = region.Get();
    VARIANT_BOOL redraw = VARIANT_TRUE;
    ASSERT_EQ(opened->SetRegion(&shape, &redraw), S_OK);
    ComPtr<_GDIRegion> exported;
    ASSERT_EQ(opened->ExportRegion(&exported), S_OK);
    EXPECT_TRUE(boxOf(exported.Get()) == (RECT{10, 5, 60, 45}));

    _GDIRegion* nothing = nullptr;
    ASSERT_EQ(opened->SetRegion(&nothing, nullptr), S_OK);
    exported.Reset();
    const Raised raised = errorOf(opened->ExportRegion(&exported));
    EXPECT_GE(raised.number, 10000);
    EXPECT_EQ(raised.source, L"DCWindows.ExportRegion()");
    EXPECT_EQ(raised.description.rfind(L"Could not get window region!; ", 0), 0u) << narrow(raised.description);
    EXPECT_EQ(exported, nullptr);
}

// The window keeps a copy: the caller's region object stays its own, to
// change, reuse or release without touching the window's shape.
TEST(WindowShape, TheCallersRegionStaysItsOwn) {
    Window window;
    auto opened = open(window, dcWndRetreiveDC);
    auto region = rectRegion(0, 0, 30, 20);
    const HRGN held = handleOf(region.Get());
    _GDIRegion* shape = region.Get();
    ASSERT_EQ(opened->SetRegion(&shape, nullptr), S_OK);
    EXPECT_TRUE(alive(held));
    EXPECT_EQ(handleOf(region.Get()), held);

    region->CreateRect(5, 5, 8, 8);
    region.Reset();
    ComPtr<_GDIRegion> exported;
    ASSERT_EQ(opened->ExportRegion(&exported), S_OK);
    EXPECT_TRUE(boxOf(exported.Get()) == (RECT{0, 0, 30, 20}));
}

TEST(WindowShape, SetRegionLateBoundTakesAScriptVariableAndNothing) {
    Window window;
    auto opened = open(window, dcWndRetreiveDC);
    Variant variable = arg(rectRegion(1, 2, 3, 4).Get());
    Late late(opened.Get());
    late.call(L"SetRegion", byRef(variable.get()));
    EXPECT_EQ(late.result(), S_OK);
    EXPECT_EQ(late.call(L"ExportRegion").get()->vt, VT_DISPATCH);
    late.call(L"SetRegion", arg(static_cast<IUnknown*>(nullptr)), arg(-1));
    EXPECT_EQ(late.result(), S_OK);
    late.call(L"ExportRegion");
    EXPECT_GE(late.raised().number, 10000);
}

// Wine's USER keeps one lock at a time, as Windows does; what the lock does
// to painting is not visible here.
TEST(WindowLock, OneWindowAtATimeAndUnlockAllFreesIt) {
    Window first, second;
    auto a = open(first, dcWndRetreiveDC);
    auto b = open(second, dcWndRetreiveDC);
    ASSERT_EQ(a->LockForUpdate(), S_OK);
    const Raised raised = errorOf(b->LockForUpdate());
    EXPECT_GE(raised.number, 10000);
    EXPECT_EQ(raised.source, L"DCWindows.LockForUpdate()");
    EXPECT_EQ(raised.description.rfind(L"Failed to lock the window!; ", 0), 0u) << narrow(raised.description);
    EXPECT_EQ(b->UnlockAll(), S_OK);
    EXPECT_EQ(b->LockForUpdate(), S_OK);
    EXPECT_EQ(a->UnlockAll(), S_OK);
}
