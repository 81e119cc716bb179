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
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace fuzz {
namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

// What the watchdog and the crash filter report: the call under way.
struct Current {
    std::mutex mutex;
    std::string call;
    std::atomic<ULONGLONG> started{0};
    std::atomic<bool> running{true};
} current;

unsigned long long seed = 1;

LONG WINAPI crashed(EXCEPTION_POINTERS* exception) {
    std::lock_guard guard(current.mutex);
    char line[96];
    std::snprintf(line, sizeof line, "CRASH: exception %08lX in seed %llu, ",
                  exception ? static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode) : 0UL, seed);
    say(line + current.call);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

void watch(unsigned hangSeconds) {
    while (current.running) {
        Sleep(200);
        const ULONGLONG started = current.started;
        if (started && GetTickCount64() - started > hangSeconds * 1000ULL) {
            std::lock_guard guard(current.mutex);
            say("HANG: no return within " + std::to_string(hangSeconds) + " s in seed " + std::to_string(seed) + ", " +
                current.call);
            TerminateProcess(GetCurrentProcess(), 4);
        }
    }
}

bool standardDispatchError(HRESULT hr) {
    switch (hr) {
    case DISP_E_TYPEMISMATCH:
    case DISP_E_OVERFLOW:
    case DISP_E_PARAMNOTFOUND:
    case DISP_E_BADPARAMCOUNT:
    case DISP_E_PARAMNOTOPTIONAL:
    case DISP_E_NONAMEDARGS:
    case DISP_E_BADVARTYPE:
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME:
        return true;
    default:
        return false;
    }
}

std::wstring take(BSTR& text) {
    std::wstring out = text ? text : L"";
    SysFreeString(text);
    text = nullptr;
    return out;
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
    std::wstring source, description;
    HRESULT code = 0;
    if (withException) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        code = exception.scode ? exception.scode : static_cast<HRESULT>(exception.wCode);
        source = take(exception.bstrSource);
        description = take(exception.bstrDescription);
    } else {
        com::ComPtr<IErrorInfo> info;
        if (GetErrorInfo(0, &info) != S_OK) return "error " + hex(hr) + " without EXCEPINFO left no error information";
        BSTR text = nullptr;
        info->GetSource(&text);
        source = take(text);
        info->GetDescription(&text);
        description = take(text);
        code = 1;
    }
    if (!code || (exception.scode && SUCCEEDED(exception.scode))) return "an exception without an error number";
    if (source.empty() || description.empty())
        return "error " + hex(code) + " without " + (source.empty() ? "source" : "description");
    return {};
}

struct Slow {
    double seconds;
    std::string call;
};

class Fuzzer {
public:
    Fuzzer(const Catalog& catalog, unsigned long long seed, long long trace)
        : catalog_(catalog), random_(seed), objects_(catalog, random_), arguments_(random_, objects_), trace_(trace) {
        objects_.reenter = [this](IDispatch* source) { reenter(source); };
    }

    void populate(bool report) {
        objects_.clear();
        const auto skipped = objects_.populate();
        if (!report) return;
        std::wstring names;
        for (const auto& name : skipped) names += L" " + name;
        say("states made: " + std::to_string(objects_.size()) + " objects" +
            (skipped.empty() ? std::string() : "; skipped, their factory is missing:" + utf8(names)));
    }

    // The count of GDI objects starts once half of the calls has run with
    // every object released again: the platform makes some objects for good
    // on first use (the pens and brushes of the system colours that edges and
    // grayed text draw with, device contexts for its window cache) and keeps
    // them; a leak grows with the calls that follow.
    void run(long long calls) {
        const long long settled = std::max(1LL, calls / 2 / 1000) * 1000;
        populate(true);
        for (number_ = 0; number_ < calls; ++number_) {
            if (number_ == settled) {
                objects_.clear();
                before_ = test::liveGdiObjects();
            }
            if (number_ > 0 && number_ % 1000 == 0) populate(false);
            const Member& member = random_.pick(catalog_.members());
            Live* target = objects_.pick(member.interfaceId);
            if (!target) {
                ++noObject_;
                continue;
            }
            call(member, target->object.Get(), target->label);
            if (number_ % 100 == 99) canary();
        }
        objects_.clear();
        if (number_ <= settled) before_ = test::liveGdiObjects();
    }

    // The GDI objects of the process when the count started.
    const test::GdiObjects& countedFrom() const { return before_; }

    void report() const {
        say("calls: " + std::to_string(made_) + " (" + std::to_string(succeeded_) + " succeeded, " +
            std::to_string(automationErrors_) + " automation errors, " + std::to_string(dispatchErrors_) +
            " dispatch argument errors); " + std::to_string(Sink::delivered()) + " events to sinks, " +
            std::to_string(nested_) + " calls made from inside events; " +
            std::to_string(noObject_) + " skipped for want of an object");
        std::set<std::wstring> called, succeededOnce;
        for (const auto& [title, counts] : perMember_) {
            called.insert(title);
            if (counts.second) succeededOnce.insert(title);
        }
        say("members: " + std::to_string(catalog_.members().size()) + " in the type libraries, " +
            std::to_string(called.size()) + " called, " + std::to_string(succeededOnce.size()) + " succeeded at least once");
        std::string slow = "slowest calls:";
        for (const Slow& s : slowest_) {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "\n  %.3f s ", s.seconds);
            slow += seconds + s.call;
        }
        say(slow);
    }

    long failures() const { return failures_; }

private:
    void call(const Member& member, IDispatch* target, const std::wstring& label) {
        Call c;
        c.member = &member;
        c.target = target;
        c.targetLabel = label;
        arguments_.fill(c);

        std::vector<VARIANT> packed;
        for (size_t i = c.named.size(); i-- > 0;) packed.push_back(*c.named[i].get());
        std::vector<DISPID> namedIds(c.namedIds.rbegin(), c.namedIds.rend());
        for (auto it = c.positional.rbegin(); it != c.positional.rend(); ++it) packed.push_back(*it->get());
        if ((c.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && !random_.chance(0.02))
            namedIds.insert(namedIds.begin(), DISPID_PROPERTYPUT);
        if (namedIds.size() > packed.size()) namedIds.resize(packed.size());
        DISPPARAMS params{packed.data(), namedIds.data(), static_cast<UINT>(packed.size()),
                          static_cast<UINT>(namedIds.size())};

        const std::string description = "call #" + std::to_string(number_) + (depth_ ? " (inside an event)" : "") +
                                        ": " + utf8(c.describe(objects_));
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
        LARGE_INTEGER start{}, end{}, frequency{};
        QueryPerformanceCounter(&start);
        const HRESULT hr = target->Invoke(c.id, IID_NULL, LOCALE_USER_DEFAULT, c.flags, &params,
                                          c.withResult ? result.get() : nullptr, c.withException ? &exception : nullptr,
                                          &argumentError);
        QueryPerformanceCounter(&end);
        QueryPerformanceFrequency(&frequency);

        current.started = depth_ ? outerStarted : 0;
        {
            std::lock_guard guard(current.mutex);
            current.call = outer;
        }
        ++made_;
        if (depth_) ++nested_;
        const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        noteTime(seconds, description);

        auto& counts = perMember_[member.title()];
        ++counts.first;
        if (hr == S_OK) {
            ++succeeded_;
            ++counts.second;
        } else if (hr == DISP_E_EXCEPTION) {
            ++automationErrors_;
        } else {
            ++dispatchErrors_;
        }
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
        Live* vellum = objects_.pick(catalog_.interfaces().empty() ? IID_NULL : vellumInterface());
        Live* kolorit = objects_.pick(koloritInterface());
        if (!vellum || !kolorit) return;
        std::vector<Variant> size;
        size.push_back(longValue(4));
        size.push_back(longValue(4));
        Variant surface, hub, dc;
        std::vector<Variant> argument;
        bool fine = lateCall(vellum->object.Get(), L"CreateGDIDC", DISPATCH_METHOD, std::move(size), &surface);
        if (fine) {
            argument.push_back(Variant(*surface.get()));
            fine = lateCall(kolorit->object.Get(), L"GDIAttachDCEx", DISPATCH_METHOD, std::move(argument), &hub) &&
                   lateCall(V_DISPATCH(surface.get()), L"hDC", DISPATCH_PROPERTYGET, {}, &dc);
        }
        if (fine) {
            std::vector<Variant> to;
            to.push_back(Variant(*dc.get()));
            fine = lateCall(V_DISPATCH(hub.get()), L"DrawTo", DISPATCH_METHOD, std::move(to));
        }
        if (!fine) fail("after call #" + std::to_string(number_), "a fresh surface and hub no longer work");
    }

    IID interfaceNamed(const wchar_t* name) const {
        for (const Interface& i : catalog_.interfaces())
            if (i.name == name) return i.id;
        return IID_NULL;
    }
    IID vellumInterface() const { return interfaceNamed(L"_VellumFunctions"); }
    IID koloritInterface() const { return interfaceNamed(L"_KoloritFunctions"); }

    void fail(const std::string& where, const std::string& problem) {
        ++failures_;
        if (failures_ <= 30) say("FAIL in seed " + std::to_string(seed) + ", " + where + "\n  -> " + problem);
    }

    void noteTime(double seconds, const std::string& description) {
        if (slowest_.size() == 5 && seconds <= slowest_.back().seconds) return;
        slowest_.push_back(Slow{seconds, description});
        std::sort(slowest_.begin(), slowest_.end(), [](const Slow& a, const Slow& b) { return a.seconds > b.seconds; });
        if (slowest_.size() > 5) slowest_.pop_back();
    }

    const Catalog& catalog_;
    Random random_;
    Objects objects_;
    Arguments arguments_;
    long long trace_;
    long long number_ = 0;
    int depth_ = 0;
    long long made_ = 0, succeeded_ = 0, automationErrors_ = 0, dispatchErrors_ = 0, nested_ = 0, noObject_ = 0;
    long failures_ = 0;
    std::map<std::wstring, std::pair<long, long>> perMember_;
    std::vector<Slow> slowest_;
    test::GdiObjects before_;
};

std::wstring besideProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

// Files a call may write (SaveToFile with a relative name) land in a folder
// of their own, emptied afterwards.
std::wstring workFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"kolorit-fuzz-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void removeFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
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
        else if (!std::strcmp(argv[i], "--hang-seconds")) hangSeconds = static_cast<unsigned>(std::atoi(argv[i + 1]));
    }
    if (trace < 0) trace = calls;
    SetUnhandledExceptionFilter(crashed);
    std::thread watchdog(watch, hangSeconds);

    const std::wstring folder = workFolder();
    wchar_t previous[MAX_PATH] = {};
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
        const ULONGLONG started = GetTickCount64();
        Fuzzer fuzzer(catalog, seed, trace);
        fuzzer.run(calls);
        const double seconds = static_cast<double>(GetTickCount64() - started) / 1000;
        fuzzer.report();
        failures = fuzzer.failures();

        const test::GdiObjects& before = fuzzer.countedFrom();
        const test::GdiObjects after = test::liveGdiObjects();
        char timing[64];
        std::snprintf(timing, sizeof timing, "%.1f s", seconds);
        say(std::string("time: ") + timing + "; GDI objects: " + std::to_string(before.total) + " before, " +
            std::to_string(after.total) + " after");
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
    removeFolder(folder);
    current.running = false;
    watchdog.join();
    say(failures ? "FUZZ FAILED: " + std::to_string(failures) + " failures" : std::string("FUZZ PASSED"));
    return failures ? 1 : 0;
}
