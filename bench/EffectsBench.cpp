// How long the effects take, called early-bound on the built components: on
// two image sizes, with no sink and with one connected, each the median of
// several runs. Rotate and Wave are timed on both their paths: the reference
// path is asked for the documented way, by giving the surfaces the mapping
// mode MM_ANISOTROPIC at its default 1:1 extents (coordinates unchanged);
// the other effects have one path. Where ImageMagick's convert is installed,
// its nearest operations are timed on the same image size in the same run.
// Prints tables; asserts nothing.

#include "frame/KoloritTypes.h"

#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

// The fast paths take a few milliseconds, where a moment given to another
// process on a shared machine weighs much: they get more runs.
constexpr int referenceRuns = 5, fastRuns = 15;

void check(HRESULT hr, const char* what) {
    if (FAILED(hr)) {
        std::fprintf(stderr, "%s failed: 0x%08lX\n", what, static_cast<unsigned long>(hr));
        std::exit(1);
    }
}

ComPtr<_VellumFunctions> vellum;
ComPtr<_KoloritFunctions> kolorit;

HDC dcOf(_GDIDC* surface) {
    OLE_HANDLE handle = 0;
    check(surface->get_hDC(&handle), "hDC");
    return reinterpret_cast<HDC>(static_cast<LONG_PTR>(static_cast<int>(handle)));
}

ComPtr<_GDIDC> newSurface(long width, long height) {
    ComPtr<_GDIDC> surface;
    check(vellum->CreateGDIDC(width, height, VARIANT_FALSE, 0, &surface), "CreateGDIDC");
    return surface;
}

// Something like a photograph: a diagonal blend, white bars to replace and
// keep transparent, and text.
void paintPicture(_GDIDC* surface, long width, long height) {
    const HDC dc = dcOf(surface);
    ComPtr<_GDIDCEx> hub;
    check(kolorit->GDIAttachDCEx(surface, &hub), "GDIAttachDCEx");
    ComPtr<_DCEffectDrawing> effects;
    check(hub->get_Effects(&effects), "Effects");
    check(effects->GradientFill(0, 0, width, height, RGB(30, 60, 160), RGB(250, 190, 60), 0, VARIANT_TRUE),
          "GradientFill");
    for (long y = 0; y < height; y += 4) {
        const RECT band{0, y, width, y + 2};
        HBRUSH tint = CreateSolidBrush(RGB(y % 256, 128, 255 - y % 256));
        if (y % 32 == 0) FillRect(dc, &band, tint);
        DeleteObject(tint);
    }
    const RECT bar{width / 8, height / 3, width / 2, height / 3 + height / 10};
    FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, width / 8, height / 2, "Kolorit effects bench", 21);
}

// A sink that does nothing: what a script's connected handler costs at least.
class QuietSink : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !IsEqualIID(iid, DIID___DCEffectDrawing))
            return *out = nullptr, E_NOINTERFACE;
        *out = this;
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return S_OK; }
};
QuietSink quietSink;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double millisecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// One effect on one image: the picture is painted again before every run.
struct Scene {
    long width, height;
    ComPtr<_GDIDC> picture, image, destination;
    ComPtr<_GDIDCEx> hub;
    ComPtr<_DCEffectDrawing> effects;

    Scene(long w, long h) : width(w), height(h) {
        picture = newSurface(w, h);
        paintPicture(picture.Get(), w, h);
        image = newSurface(w, h);
        destination = newSurface(w, h);
        check(kolorit->GDIAttachDCEx(image.Get(), &hub), "GDIAttachDCEx");
        check(hub->get_Effects(&effects), "Effects");
    }

    void reset(bool reference) {
        for (_GDIDC* surface : {image.Get(), destination.Get()}) SetMapMode(dcOf(surface), MM_TEXT);
        BitBlt(dcOf(image.Get()), 0, 0, width, height, dcOf(picture.Get()), 0, 0, SRCCOPY);
        PatBlt(dcOf(destination.Get()), 0, 0, width, height, BLACKNESS);
        if (reference)
            for (_GDIDC* surface : {image.Get(), destination.Get()}) SetMapMode(dcOf(surface), MM_ANISOTROPIC);
    }

    double time(const std::function<HRESULT(Scene&)>& effect, bool reference, bool sink) {
        ComPtr<IConnectionPointContainer> container;
        ComPtr<IConnectionPoint> point;
        DWORD cookie = 0;
        if (sink) {
            check(effects.As(&container), "IConnectionPointContainer");
            check(container->FindConnectionPoint(DIID___DCEffectDrawing, &point), "FindConnectionPoint");
            check(point->Advise(&quietSink, &cookie), "Advise");
        }
        std::vector<double> times;
        for (int i = 0; i < (reference ? referenceRuns : fastRuns); ++i) {
            reset(reference);
            times.push_back(millisecondsOf([&] { check(effect(*this), "the effect"); }));
        }
        if (sink) point->Unadvise(cookie);
        return median(times);
    }
};

struct Effect {
    const char* name;
    bool twoPaths;
    std::function<HRESULT(Scene&)> run;
};

VARIANT number(double value) {
    VARIANT v{};
    V_VT(&v) = VT_R8;
    V_R8(&v) = value;
    return v;
}

const Effect effectList[] = {
    {"Rotate", true,
     [](Scene& s) {
         _GDIDC* destination = s.destination.Get();
         return s.effects->Rotate(&destination, 0.5, 0, 0);
     }},
    {"Wave", true, [](Scene& s) { return s.effects->Wave(6, number(10), 0, -3); }},
    {"GravitationPit", false,
     [](Scene& s) { return s.effects->GravitationPit(s.width / 2, s.height / 2, number(s.height / 2.0)); }},
    {"Mirror", false, [](Scene& s) { return s.effects->Mirror(); }},
    {"GradientFill", false,
     [](Scene& s) {
         return s.effects->GradientFill(0, 0, s.width, s.height, RGB(255, 0, 0), RGB(0, 0, 255), 0, VARIANT_TRUE);
     }},
    {"ReplaceColor", false, [](Scene& s) { return s.effects->ReplaceColor(RGB(255, 255, 255), RGB(0, 128, 0), 0, 0, 0, 0); }},
    {"DrawTo transparent", false,
     [](Scene& s) {
         const OLE_HANDLE target = static_cast<OLE_HANDLE>(reinterpret_cast<LONG_PTR>(dcOf(s.destination.Get())));
         return s.hub->DrawTo(target, 0, 0, 0, 0, 0, 0, dcBitSrcCopy, RGB(255, 255, 255));
     }},
};

// ImageMagick runs as a program of the host system. Under Wine a Unix
// program starts like any other, but there is no process to wait for: the
// command writes its answer into a file, renamed into place once complete.
// Files go to the current folder, which both sides see. No answer (no host
// shell, or a failing command): an empty string.
std::string askHost(const std::string& command) {
    DeleteFileA("kolorit-host.txt");
    std::string line = "/bin/sh -c \"(" + command + ") >kolorit-host.tmp 2>/dev/null; mv kolorit-host.tmp kolorit-host.txt\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return {};
    for (HANDLE handle : {process.hThread, process.hProcess})
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    for (int waited = 0; waited < 120000; waited += 5) {
        if (FILE* answer = std::fopen("kolorit-host.txt", "r")) {
            char text[256] = {};
            const size_t length = std::fread(text, 1, sizeof text - 1, answer);
            std::fclose(answer);
            DeleteFileA("kolorit-host.txt");
            return std::string(text, length);
        }
        Sleep(5);
    }
    return {};
}

// Milliseconds the host takes for one convert call, timed by the host; 0
// when it fails.
double convertMilliseconds(const char* operation) {
    const std::string nanoseconds = askHost(std::string("s=$(date +%s%N); convert kolorit-bench.png ") + operation +
                                            " kolorit-peer.png && e=$(date +%s%N) && echo $((e - s))");
    return nanoseconds.empty() ? 0 : std::atof(nanoseconds.c_str()) / 1e6;
}

struct Peer {
    const char* effect;
    const char* operation;
};
const Peer peers[] = {{"Wave", "-wave 6x63"}, {"Rotate", "-rotate 30"}, {"GravitationPit", "-implode 0.5"},
                      {"Mirror", "-flop"}};

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    check(CoCreateInstance(CLSID_VellumFunctions, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&vellum)),
          "VellumFunctions");
    check(CoCreateInstance(CLSID_KoloritFunctions, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&kolorit)),
          "KoloritFunctions");

    char temporary[MAX_PATH];
    if (GetTempPathA(MAX_PATH, temporary)) SetCurrentDirectoryA(temporary);
    const bool convert = !askHost("command -v convert").empty();
    std::printf("Median of %d runs (reference path) and %d (fast), milliseconds. Reference: the literal per-pixel "
                "path.\n\n",
                referenceRuns, fastRuns);
    std::printf("%-20s %-9s %-5s %12s %10s %9s\n", "effect", "size", "sink", "reference", "fast", "speed-up");
    for (const SIZE size : {SIZE{1024, 768}, SIZE{256, 256}}) {
        Scene scene(size.cx, size.cy);
        std::vector<std::pair<const char*, double>> quiet;
        for (const Effect& effect : effectList) {
            for (bool sink : {false, true}) {
                const double fast = scene.time(effect.run, false, sink);
                char dimensions[16];
                std::snprintf(dimensions, sizeof dimensions, "%ldx%ld", size.cx, size.cy);
                if (effect.twoPaths) {
                    const double reference = scene.time(effect.run, true, sink);
                    std::printf("%-20s %-9s %-5s %12.2f %10.2f %8.0fx\n", effect.name, dimensions, sink ? "yes" : "no",
                                reference, fast, reference / fast);
                } else {
                    std::printf("%-20s %-9s %-5s %12s %10.2f %9s\n", effect.name, dimensions, sink ? "yes" : "no",
                                "(one path)", fast, "");
                }
                if (!sink) quiet.emplace_back(effect.name, fast);
            }
        }
        if (!convert) continue;
        BSTR file = SysAllocString(L"kolorit-bench.png");
        check(scene.picture->SaveToFile(file), "SaveToFile");
        SysFreeString(file);
        std::vector<double> peerTimes;
        for (const Peer& peer : peers) {
            std::vector<double> times;
            for (int i = 0; i < 3 && (i == 0 || times.back() > 0); ++i) times.push_back(convertMilliseconds(peer.operation));
            peerTimes.push_back(median(times));
        }
        if (*std::max_element(peerTimes.begin(), peerTimes.end()) <= 0) {
            std::printf("\nImageMagick's convert is there but ran none of the operations: no comparison.\n\n");
        } else {
            std::printf("\nImageMagick's convert on the same %ldx%ld image (file to file, timed by the host):\n",
                        size.cx, size.cy);
            std::printf("%-20s %-14s %12s %10s %9s\n", "effect", "peer", "convert", "fast", "faster");
            for (size_t i = 0; i < std::size(peers); ++i) {
                const double fast = std::find_if(quiet.begin(), quiet.end(), [&](const auto& q) {
                                        return std::string(q.first) == peers[i].effect;
                                    })->second;
                if (peerTimes[i] > 0)
                    std::printf("%-20s %-14s %12.2f %10.2f %8.0fx\n", peers[i].effect, peers[i].operation,
                                peerTimes[i], fast, peerTimes[i] / fast);
                else
                    std::printf("%-20s %-14s %12s\n", peers[i].effect, peers[i].operation, "failed");
            }
            std::printf("\n");
        }
        DeleteFileA("kolorit-bench.png");
        DeleteFileA("kolorit-peer.png");
    }
    vellum.Reset();
    kolorit.Reset();
    CoUninitialize();
    return 0;
}
