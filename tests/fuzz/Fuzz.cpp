// The dispatch fuzzer: calls every member of every interface of both
// components through IDispatch::Invoke, with arguments from a hostile pool,
// on objects in many states, and checks after every call that the process
// lives, that the result is success, an automation error with its error
// information, or a standard dispatch argument error, and that the call
// returned in time. At the end every object must be released: both
// components can unload and the process holds as many GDI objects as before.
//
//   Fuzz.exe --seed N --calls N [--trace FROM] [--hang-seconds S]
//
// A run is fixed by its seed; a failure prints the seed, the call's number,
// member and arguments, and `--trace FROM` prints every call from FROM on.

#include "Arguments.h"
#include "Catalog.h"
#include "Objects.h"
#include "Random.h"
#include "Sink.h"
#include "tests/cpp/support/LiveObjects.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

namespace fuzz {
namespace {

unsigned long long seed = 1;

void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string ascii(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c >= 32 && c < 127 ? char(c) : '?';
    return out;
}

// The call under way, for the watchdog and the crash filter.
struct Current {
    std::mutex mutex;
    std::string call;
    std::atomic<ULONGLONG> started{0};
    std::atomic<bool> running{true};
} current;

void reportAndExit(const std::string& what, UINT code) {
    std::lock_guard guard(current.mutex);
    say(what + " in seed " + std::to_string(seed) + ", " + current.call);
    TerminateProcess(GetCurrentProcess(), code);
}

LONG WINAPI crashed(EXCEPTION_POINTERS* exception) {
    char line[48];
    std::snprintf(line, sizeof line, "CRASH: exception %08lX", exception ? exception->ExceptionRecord->ExceptionCode : 0UL);
    reportAndExit(line, 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

void watch(unsigned hangSeconds) {
    while (current.running) {
        Sleep(200);
        const ULONGLONG started = current.started;
        if (started && GetTickCount64() - started > hangSeconds * 1000ULL)
            reportAndExit("HANG: no return within " + std::to_string(hangSeconds) + " s", 4);
    }
}

bool standardDispatchError(HRESULT hr) {
    for (HRESULT known : {DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW, DISP_E_PARAMNOTFOUND, DISP_E_BADPARAMCOUNT,
                          DISP_E_PARAMNOTOPTIONAL, DISP_E_NONAMEDARGS, DISP_E_BADVARTYPE, DISP_E_MEMBERNOTFOUND,
                          DISP_E_UNKNOWNNAME})
        if (hr == known) return true;
    return false;
}

std::string hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(hr));
    return text;
}

// What is wrong with a call's outcome; empty when nothing is.
std::string problemWith(HRESULT hr, EXCEPINFO& exception, bool withException) {
    if (hr == S_OK || standardDispatchError(hr)) return {};
    // Without an EXCEPINFO the error may come back as its own failure code;
    // its number, source and description are then in the error information.
    if (hr != DISP_E_EXCEPTION && (withException || SUCCEEDED(hr)))
        return "Invoke returned " + hex(hr) + ", neither an automation error nor a dispatch error";
    HRESULT code = 1;
    BSTR source = nullptr, description = nullptr;
    if (withException) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        code = exception.scode ? exception.scode : HRESULT(exception.wCode);
        std::swap(source, exception.bstrSource);
        std::swap(description, exception.bstrDescription);
    } else {
        com::ComPtr<IErrorInfo> info;
        if (GetErrorInfo(0, &info) != S_OK) return "error " + hex(hr) + " without EXCEPINFO left no error information";
        info->GetSource(&source);
        info->GetDescription(&description);
    }
    const bool hasSource = SysStringLen(source) > 0, hasDescription = SysStringLen(description) > 0;
    SysFreeString(source);
    SysFreeString(description);
    if (!code || (exception.scode && SUCCEEDED(exception.scode))) return "an exception without an error number";
    if (!hasSource || !hasDescription) return "error " + hex(code) + " without " + (hasSource ? "description" : "source");
    return {};
}

class Fuzzer {
public:
    Fuzzer(const Catalog& catalog, long long trace)
        : catalog_(catalog), random_(seed), objects_(catalog, random_), arguments_(random_, objects_), trace_(trace) {
        objects_.reenter = [this](IDispatch* source) { reenter(source); };
        for (const Interface& i : catalog.interfaces()) {
            if (i.name == L"_VellumFunctions") vellum_ = i.id;
            if (i.name == L"_KoloritFunctions") kolorit_ = i.id;
        }
    }

    // The count of GDI objects starts once half of the calls has run with
    // every object released again: the platform makes some objects for good
    // on first use (the pens and brushes of the system colours that edges and
    // grayed text draw with, device contexts for its window cache) and keeps
    // them; a leak grows with the calls that follow.
    void run(long long calls) {
        const long long settled = std::max(1LL, calls / 2 / 1000) * 1000;
        for (number_ = 0; number_ < calls; ++number_) {
            if (number_ == settled) {
                objects_.clear();
                before_ = test::liveGdiObjects();
            }
            if (number_ % 1000 == 0) {
                objects_.clear();
                objects_.populate();
            }
            const Member& member = random_.pick(catalog_.members());
            if (Live* target = objects_.pick(member.interfaceId)) call(member, target->object.Get(), target->label);
            if (number_ % 100 == 99) canary();
        }
        objects_.clear();
        if (number_ <= settled) before_ = test::liveGdiObjects();
    }

    const test::GdiObjects& countedFrom() const { return before_; }
    long failures() const { return failures_; }
    void report() const {
        say("calls: " + std::to_string(made_) + " (" + std::to_string(succeeded_) + " succeeded, " +
            std::to_string(automationErrors_) + " automation errors); " + std::to_string(Sink::delivered()) +
            " events to sinks, " + std::to_string(nested_) + " calls made from inside events");
    }

private:
    void call(const Member& member, IDispatch* target, const std::wstring& label) {
        Call c;
        c.member = &member;
        c.target = target;
        arguments_.fill(c);

        // DISPPARAMS holds the arguments last to first, the named ones first.
        std::vector<VARIANT> packed;
        for (auto it = c.positional.rbegin(); it != c.positional.rend(); ++it) packed.push_back(*it->get());
        std::vector<DISPID> namedIds = c.namedIds;
        if ((c.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && !random_.chance(0.02))
            namedIds.insert(namedIds.begin(), DISPID_PROPERTYPUT);
        if (namedIds.size() > packed.size()) namedIds.resize(packed.size());
        DISPPARAMS params{packed.data(), namedIds.data(), UINT(packed.size()), UINT(namedIds.size())};

        const std::string description =
            "call #" + std::to_string(number_) + (depth_ ? " (inside an event)" : "") + ": " + ascii(c.describe(label));
        if (number_ >= trace_) say("  " + description);
        std::string outer;
        {
            std::lock_guard guard(current.mutex);
            outer = std::exchange(current.call, description);
        }
        const ULONGLONG outerStarted = current.started.exchange(GetTickCount64());

        Variant result;
        EXCEPINFO exception{};
        UINT argumentError = 0;
        SetErrorInfo(0, nullptr);
        const HRESULT hr = target->Invoke(c.id, IID_NULL, LOCALE_USER_DEFAULT, c.flags, &params,
                                          c.withResult ? result.get() : nullptr, c.withException ? &exception : nullptr,
                                          &argumentError);
        current.started = depth_ ? outerStarted : 0;
        {
            std::lock_guard guard(current.mutex);
            current.call = outer;
        }
        ++made_;
        nested_ += depth_ > 0;
        succeeded_ += hr == S_OK;
        automationErrors_ += hr == DISP_E_EXCEPTION;
        const std::string problem = problemWith(hr, exception, c.withException);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        if (!problem.empty()) fail(description, problem);

        if (V_VT(result.get()) == VT_DISPATCH && V_DISPATCH(result.get()))
            objects_.add(V_DISPATCH(result.get()), member.title() + L" result");
        else if (V_VT(result.get()) & VT_ARRAY)
            objects_.keepArray(*result.get());
    }

    // One call on the source of an event, made by a sink while the event runs.
    void reenter(IDispatch* source) {
        if (depth_ > 0) return;
        std::vector<const Member*> fitting;
        for (const Member& m : catalog_.members()) {
            com::ComPtr<IUnknown> answered;
            if (SUCCEEDED(source->QueryInterface(m.interfaceId, reinterpret_cast<void**>(answered.GetAddressOf()))))
                fitting.push_back(&m);
        }
        if (fitting.empty()) return;
        ++depth_;
        call(*random_.pick(fitting), source, objects_.labelOf(source) + L" (the event's source)");
        --depth_;
    }

    // A state left half-changed would break the next plain call: a fresh
    // surface, a hub over it and a transfer must always work.
    void canary() {
        Live* vellum = objects_.pick(vellum_);
        Live* kolorit = objects_.pick(kolorit_);
        if (!vellum || !kolorit) return;
        Variant surface, hub, dc;
        std::vector<Variant> size, argument, to;
        size.push_back(longValue(4));
        size.push_back(longValue(4));
        bool fine = lateCall(vellum->object.Get(), L"CreateGDIDC", DISPATCH_METHOD, std::move(size), &surface);
        if (fine) {
            argument.push_back(Variant(*surface.get()));
            fine = lateCall(kolorit->object.Get(), L"GDIAttachDCEx", DISPATCH_METHOD, std::move(argument), &hub) &&
                   lateCall(V_DISPATCH(surface.get()), L"hDC", DISPATCH_PROPERTYGET, {}, &dc);
        }
        if (fine) {
            to.push_back(Variant(*dc.get()));
            fine = lateCall(V_DISPATCH(hub.get()), L"DrawTo", DISPATCH_METHOD, std::move(to));
        }
        if (!fine) fail("after call #" + std::to_string(number_), "a fresh surface and hub no longer work");
    }

    void fail(const std::string& where, const std::string& problem) {
        if (++failures_ <= 30) say("FAIL in seed " + std::to_string(seed) + ", " + where + "\n  -> " + problem);
    }

    const Catalog& catalog_;
    Random random_;
    Objects objects_;
    Arguments arguments_;
    IID vellum_ = IID_NULL, kolorit_ = IID_NULL;
    long long trace_;
    long long number_ = 0;
    int depth_ = 0;
    long long made_ = 0, succeeded_ = 0, automationErrors_ = 0, nested_ = 0;
    long failures_ = 0;
    test::GdiObjects before_;
};

std::wstring besideProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

}  // namespace
}  // namespace fuzz

int main(int argc, char** argv) {
    using namespace fuzz;
    long long calls = 2000, trace = -1;
    unsigned hangSeconds = 60;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seed")) seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--calls")) calls = std::strtoll(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--trace")) trace = std::strtoll(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--hang-seconds")) hangSeconds = unsigned(std::atoi(argv[i + 1]));
    }
    if (trace < 0) trace = calls;
    SetUnhandledExceptionFilter(crashed);
    std::thread watchdog(watch, hangSeconds);

    // Files a call may write (SaveToFile with a relative name) land in a
    // folder of their own, removed afterwards.
    wchar_t temp[MAX_PATH] = {}, previous[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"kolorit-fuzz-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(folder.c_str());
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    test::warmUpPlatform();

    long failures = 0;
    {
        const Catalog catalog({besideProgram(L"kolorit.dll"), besideProgram(L"vellum.dll")});
        say("seed " + std::to_string(seed) + ", " + std::to_string(calls) + " calls over " +
            std::to_string(catalog.members().size()) + " members of " + std::to_string(catalog.interfaces().size()) +
            " interfaces");
        Fuzzer fuzzer(catalog, trace);
        fuzzer.run(calls);
        fuzzer.report();
        failures = fuzzer.failures();
        const test::GdiObjects& before = fuzzer.countedFrom();
        const test::GdiObjects after = test::liveGdiObjects();
        say("GDI objects: " + std::to_string(before.total) + " before, " + std::to_string(after.total) + " after");
        if (after - before != 0) {
            say("FAIL in seed " + std::to_string(seed) + ": GDI objects left behind: " + after.changesSince(before));
            ++failures;
        }
        if (Sink::alive() != 0) {
            say("FAIL in seed " + std::to_string(seed) + ": " + std::to_string(Sink::alive()) + " event sinks still held");
            ++failures;
        }
    }
    if (!test::componentsUnloadable()) {
        say("FAIL in seed " + std::to_string(seed) + ": a component still holds objects (DllCanUnloadNow is not S_OK)");
        ++failures;
    }
    CoUninitialize();
    SetCurrentDirectoryW(previous);
    for (const wchar_t* written : {L"\\fuzz.png", L"\\fuzz.bmp"}) DeleteFileW((folder + written).c_str());
    RemoveDirectoryW(folder.c_str());
    current.running = false;
    watchdog.join();
    say(failures ? "FUZZ FAILED: " + std::to_string(failures) + " failures" : std::string("FUZZ PASSED"));
    return failures ? 1 : 0;
}
