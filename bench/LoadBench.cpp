// A long run as a script host makes it: a million late-bound calls of common
// members from one thread, then a few hundred thousand surface and hub
// create-and-release cycles. Prints the rates, the memory and the live
// objects, which must stay flat; nothing asserts a time.
//
//   LoadBench.exe [--calls N] [--cycles N]

#include "com/Ptr.h"
#include "com/Variant.h"
#include "tests/cpp/support/LiveObjects.h"

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using com::ComPtr;
using com::Variant;

Variant number(long value) {
    Variant v;
    V_VT(v.get()) = VT_I4;
    V_I4(v.get()) = value;
    return v;
}

// One member of one object, its DISPID looked up once, as a host caches it.
class Member {
public:
    Member(IDispatch* object, const wchar_t* name, WORD flags) : object_(object), flags_(flags) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id_))) {
            std::printf("no member %ls\n", name);
            std::exit(2);
        }
    }
    // Arguments in DISPPARAMS order (last first).
    Variant call(std::vector<VARIANT> arguments = {}) {
        DISPID put = DISPID_PROPERTYPUT;
        const bool putting = flags_ == DISPATCH_PROPERTYPUT;
        DISPPARAMS params{arguments.data(), putting ? &put : nullptr, static_cast<UINT>(arguments.size()), putting ? 1u : 0u};
        Variant result;
        EXCEPINFO exception{};
        if (FAILED(object_->Invoke(id_, IID_NULL, LOCALE_USER_DEFAULT, flags_, &params, result.get(), &exception, nullptr))) {
            std::printf("a call failed\n");
            std::exit(2);
        }
        return result;
    }

private:
    IDispatch* object_;
    WORD flags_;
    DISPID id_ = 0;
};

ComPtr<IDispatch> created(const wchar_t* progId) {
    CLSID id{};
    ComPtr<IDispatch> object;
    if (FAILED(CLSIDFromProgID(progId, &id)) ||
        FAILED(CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object)))) {
        std::printf("cannot create %ls\n", progId);
        std::exit(2);
    }
    return object;
}

ComPtr<IDispatch> objectOf(const Variant& value) { return ComPtr<IDispatch>(V_DISPATCH(value.get())); }

struct Memory {
    double workingMB, committedMB, peakMB;
};
Memory memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return {counters.WorkingSetSize / 1048576.0, counters.PagefileUsage / 1048576.0,
            counters.PeakWorkingSetSize / 1048576.0};
}

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void row(const char* what, double value, const char* unit) { std::printf("%-44s %14.1f %s\n", what, value, unit); }

}  // namespace

int main(int argc, char** argv) {
    long calls = 1000000, cycles = 300000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--calls")) calls = std::atol(argv[i + 1]);
        if (!std::strcmp(argv[i], "--cycles")) cycles = std::atol(argv[i + 1]);
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const test::GdiObjects gdiBefore = test::liveGdiObjects();
    {
        const ComPtr<IDispatch> vellum = created(L"Vellum.VellumFunctions");
        const ComPtr<IDispatch> kolorit = created(L"Kolorit.KoloritFunctions");
        Member createSurface(vellum.Get(), L"CreateGDIDC", DISPATCH_METHOD);
        Member attach(kolorit.Get(), L"GDIAttachDCEx", DISPATCH_METHOD);
        std::vector<VARIANT> size{*number(128).get(), *number(128).get()};
        const ComPtr<IDispatch> surface = objectOf(createSurface.call(size));
        Variant surfaceArgument;
        V_VT(surfaceArgument.get()) = VT_DISPATCH;
        V_DISPATCH(surfaceArgument.get()) = surface.Get();
        surface->AddRef();
        const ComPtr<IDispatch> hub = objectOf(attach.call({*surfaceArgument.get()}));
        const ComPtr<IDispatch> drawing = objectOf(Member(hub.Get(), L"Drawing", DISPATCH_PROPERTYGET).call());
        const ComPtr<IDispatch> position = objectOf(Member(hub.Get(), L"CurrentPos", DISPATCH_PROPERTYGET).call());
        const ComPtr<IDispatch> coordinates = objectOf(Member(hub.Get(), L"Coordinates", DISPATCH_PROPERTYGET).call());

        // Drawing, reading back and setting, as a drawing script does.
        Member drawLine(drawing.Get(), L"DrawLine", DISPATCH_METHOD);
        Member drawRect(drawing.Get(), L"DrawRect", DISPATCH_METHOD);
        Member pixel(drawing.Get(), L"PixelColor", DISPATCH_PROPERTYGET);
        Member backColor(drawing.Get(), L"BackColor", DISPATCH_PROPERTYPUT);
        Member x(position.Get(), L"X", DISPATCH_PROPERTYGET);
        Member mapMode(coordinates.Get(), L"MapMode", DISPATCH_PROPERTYGET);
        Member dc(hub.Get(), L"DC", DISPATCH_PROPERTYGET);

        const Memory start = memory();
        auto began = std::chrono::steady_clock::now();
        for (long i = 0; i < calls; ++i) {
            const long a = i % 100, b = (i * 7) % 100;
            switch (i % 7) {
            case 0: drawLine.call({*number(b).get(), *number(a).get(), *number(b).get(), *number(a).get()}); break;
            case 1: drawRect.call({*number(a + 5).get(), *number(b + 5).get(), *number(a).get(), *number(b).get()}); break;
            case 2: pixel.call({*number(b).get(), *number(a).get()}); break;
            case 3: backColor.call({*number(a * 0x10101).get()}); break;
            case 4: x.call(); break;
            case 5: mapMode.call(); break;
            default: dc.call(); break;
            }
        }
        const double callSeconds = seconds(began);
        const Memory afterCalls = memory();

        began = std::chrono::steady_clock::now();
        std::vector<VARIANT> small{*number(32).get(), *number(32).get()};
        for (long i = 0; i < cycles; ++i) {
            Variant made = createSurface.call(small);
            attach.call({*made.get()});
        }
        const double cycleSeconds = seconds(began);
        const Memory end = memory();

        row("late-bound calls", static_cast<double>(calls), "");
        row("  calls per second", calls / callSeconds, "");
        row("surface + hub create-release cycles", static_cast<double>(cycles), "");
        row("  cycles per second", cycles / cycleSeconds, "");
        row("working set at start", start.workingMB, "MB");
        row("working set after the calls", afterCalls.workingMB, "MB");
        row("working set after the cycles", end.workingMB, "MB");
        row("committed memory at start", start.committedMB, "MB");
        row("committed memory after the calls", afterCalls.committedMB, "MB");
        row("committed memory after the cycles", end.committedMB, "MB");
        row("peak working set", end.peakMB, "MB");
    }
    const test::GdiObjects gdiAfter = test::liveGdiObjects();
    row("GDI objects before", gdiBefore.total, "");
    row("GDI objects at the end", gdiAfter.total, "");
    std::printf("%-44s %14s\n", "objects left in the components", test::componentsUnloadable() ? "none" : "SOME");
    CoUninitialize();
    return 0;
}
