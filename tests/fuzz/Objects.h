#pragma once
// The objects the fuzzer calls and passes: the components' objects in many
// states, made by late-bound calls as a script makes them, plus every object
// a call returns.

#include "Catalog.h"
#include "Random.h"
#include "com/Variant.h"

#include <functional>
#include <string>
#include <vector>

namespace fuzz {

using com::ComPtr;
using com::Variant;

// A late-bound call by member name; false when the member does not exist or
// the call fails.
bool lateCall(IDispatch* target, const wchar_t* name, WORD flags, std::vector<Variant> arguments,
              Variant* result = nullptr);
Variant longValue(long value);
Variant objectValue(IDispatch* object);

struct Live {
    ComPtr<IDispatch> object;
    IUnknown* identity = nullptr;  // not counted: valid while the entry lives
    std::wstring label;
    std::vector<IID> interfaces;   // of the catalog's interfaces, those it answers
};

class Objects {
public:
    Objects(const Catalog& catalog, Random& random) : catalog_(catalog), random_(random) {}
    ~Objects() { clear(); }
    Objects(const Objects&) = delete;
    Objects& operator=(const Objects&) = delete;

    void populate();
    // Keeps a returned object (an older returned one goes when full).
    void add(IDispatch* object, const std::wstring& label);
    // Drops every entry that is this object (a sink releasing its source).
    void release(IUnknown* object);
    // Drops everything, closes the windows and device contexts made here.
    void clear();

    // A live object answering the interface, or null.
    Live* pick(const IID& interfaceId);
    Live* any() { return live_.empty() ? nullptr : &random_.pick(live_); }
    std::wstring labelOf(IUnknown* object) const;
    size_t size() const { return live_.size(); }

    // Handle values of live and of gone objects, for handle parameters.
    const std::vector<long>& handles() const { return handles_; }
    // Arrays returned by calls (coordinate arrays, say), for array parameters.
    const std::vector<Variant>& arrays() const { return arrays_; }
    void keepArray(const VARIANT& array);

    // Set by the fuzzer: one random call on an object, made from inside an event.
    std::function<void(IDispatch*)> reenter;

private:
    void addEntry(IDispatch* object, const std::wstring& label);
    void addSubObjects(IDispatch* object, const std::wstring& label, int depth);
    void connectSinks(IDispatch* object);
    void noteHandle(IDispatch* object, const wchar_t* property);
    void hubStates(IDispatch* vellum, IDispatch* kolorit);
    void drawingObjects(IDispatch* vellum);
    void windowStates(IDispatch* kolorit);

    const Catalog& catalog_;
    Random& random_;
    std::vector<Live> live_;
    size_t harvested_ = 0;  // the last entries, returned by calls
    std::vector<long> handles_;
    std::vector<Variant> arrays_;
    std::vector<HWND> windows_;
    std::vector<HDC> deviceContexts_;
};

}  // namespace fuzz
