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

bool hasBox(_GDIRegion* region, RECT expected) {
    RECT box{};
    GetRgnBox(handleOf(region), &box);
    return EqualRect(&box, &expected) != FALSE;
}

// A library error: 10000 plus whatever code the platform left.
void expectLibraryError(HRESULT hr, const wchar_t* source, const std::wstring& description) {
    const Raised raised = errorOf(hr);
    EXPECT_GE(raised.number, 10000);
    EXPECT_EQ(raised.source, source);
    EXPECT_EQ(raised.description.rfind(description + L"; ", 0), 0u) << narrow(raised.description);
}

}  // namespace

TEST(AttachWindow, RefusesWhatIsNoWindowAndUnknownOperations) {
    Window window = makeWindow();
    struct Case { HANDLE hWnd; long operation; };
    for (const Case& c : {Case{nullptr, dcWndRetreiveDC}, Case{GetStockObject(BLACK_PEN), dcWndRetreiveDC},
                          Case{window.get(), 3}, Case{window.get(), -1}}) {
        ComPtr<_DCWindows> opened;
        EXPECT_RAISED(errorOf(koloritFunctions()->GDIAttachDCWnd(handleValue(c.hWnd), static_cast<DCWndOperations>(c.operation),
                                                                 &opened)),
                      5, invalidArgument.source, invalidArgument.description);
        EXPECT_EQ(opened, nullptr);
    }
}

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

TEST(AttachWindow, PropertiesAnswerWhatWasOpenedAlsoAfterTheWindowIsGone) {
    Window window = makeWindow();
    const HWND handle = window.get();
    auto opened = open(handle, dcWndStartPainting);
    window.reset();

    OLE_HANDLE parent = 0;
    DCWndOperations operation = dcWndRetreiveClientDC;
    EXPECT_EQ(opened->get_hWndParent(&parent), S_OK);
    EXPECT_EQ(parent, handleValue(handle));
    EXPECT_EQ(opened->get_CmdOperation(&operation), S_OK);
    EXPECT_EQ(operation, dcWndStartPainting);
    EXPECT_NE(hubOf(opened.Get()), nullptr);

    auto region = rectRegion(0, 0, 10, 10);
    _GDIRegion* shape = region.Get();
    ComPtr<_GDIRegion> exported;
    EXPECT_RAISED(errorOf(opened->SetRegion(&shape, nullptr)), 5, invalidArgument.source, invalidArgument.description);
    EXPECT_RAISED(errorOf(opened->ExportRegion(&exported)), 5, invalidArgument.source, invalidArgument.description);
}

// Wine disables a cached device context when it is given back: drawing on
// it fails from then on, which is how the release shows here.
TEST(AttachWindow, GivesTheContextBackWhenTheLastReferenceGoes) {
    Window window = makeWindow();
    for (DCWndOperations operation : {dcWndRetreiveClientDC, dcWndRetreiveDC, dcWndStartPainting}) {
        auto opened = open(window.get(), operation);
        ComPtr<_GDIDC> surface;
        hubOf(opened.Get())->get_DC(&surface);
        const HDC context = dcOf(surface.Get());
        EXPECT_TRUE(SetPixelV(context, 1, 1, 0)) << "operation " << operation;
        surface.Reset();
        opened.Reset();
        EXPECT_FALSE(SetPixelV(context, 1, 1, 0)) << "operation " << operation;
    }
}

// A context that is not given back makes the platform hand out a new one on
// the next open, and a surface or hub kept past the last reference holds its
// objects: either shows as live objects growing over many rounds.
TEST(AttachWindow, ManyRoundsLeaveNothingBehind) {
    Window window = makeWindow();
    auto cycle = [&] {
        for (DCWndOperations operation : {dcWndRetreiveClientDC, dcWndRetreiveDC, dcWndStartPainting}) {
            auto opened = open(window.get(), operation);
            ComPtr<_DCDrawing> drawing;
            ASSERT_EQ(hubOf(opened.Get())->get_Drawing(&drawing), S_OK);
            EXPECT_EQ(drawing->put_PixelColor(1, 1, VARIANT_FALSE, 0), S_OK);
        }
    };
    cycle();
    const GdiObjects before = liveGdiObjects();
    for (int i = 0; i < 10; ++i) cycle();
    const GdiObjects after = liveGdiObjects();
    EXPECT_EQ(after - before, 0) << after.changesSince(before);
}

TEST(WindowShape, SetAndExportedRegionsHaveTheSameBoxAndNothingRemovesTheShape) {
    Window window = makeWindow();
    auto opened = open(window.get(), dcWndRetreiveDC);
    auto region = rectRegion(10, 5, 60, 45);
    _GDIRegion* shape = region.Get();
    VARIANT_BOOL redraw = VARIANT_TRUE;
    ASSERT_EQ(opened->SetRegion(&shape, &redraw), S_OK);
    ComPtr<_GDIRegion> exported;
    ASSERT_EQ(opened->ExportRegion(&exported), S_OK);
    EXPECT_TRUE(hasBox(exported.Get(), RECT{10, 5, 60, 45}));

    shape = nullptr;
    exported.Reset();
    ASSERT_EQ(opened->SetRegion(&shape, nullptr), S_OK);
    expectLibraryError(opened->ExportRegion(&exported), L"DCWindows.ExportRegion()", L"Could not get window region!");
    EXPECT_EQ(exported, nullptr);
}

// The window gets a copy: the caller's region object stays its own, to
// change, reuse or release without touching the window's shape.
TEST(WindowShape, TheCallersRegionStaysItsOwn) {
    Window window = makeWindow();
    auto opened = open(window.get(), dcWndRetreiveDC);
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
    EXPECT_TRUE(hasBox(exported.Get(), RECT{0, 0, 30, 20}));
}

// Wine's USER keeps one lock at a time, as Windows does; what the lock does
// to painting is not visible here.
TEST(WindowLock, OneWindowAtATimeAndUnlockAllFreesIt) {
    Window first = makeWindow(), second = makeWindow();
    auto a = open(first.get(), dcWndRetreiveDC);
    auto b = open(second.get(), dcWndRetreiveDC);
    ASSERT_EQ(a->LockForUpdate(), S_OK);
    expectLibraryError(b->LockForUpdate(), L"DCWindows.LockForUpdate()", L"Failed to lock the window!");
    EXPECT_EQ(b->UnlockAll(), S_OK);
    EXPECT_EQ(b->LockForUpdate(), S_OK);
    EXPECT_EQ(a->UnlockAll(), S_OK);
}
