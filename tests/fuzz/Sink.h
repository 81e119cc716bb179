#pragma once
// An event sink for any connection point of the components, misbehaving in
// the ways a client's handler can: failing, disconnecting itself, dropping
// the source's last reference, or calling back into the source while the
// event runs.

#include <oaidl.h>
#include <ocidl.h>

#include <functional>

namespace fuzz {

enum class SinkMode { Quiet, Fail, Disconnect, ReleaseSource, Reenter };

class Sink : public IDispatch {
public:
    // `act` runs once, at the first event, for the releasing and re-entering
    // modes; it receives the source.
    Sink(SinkMode mode, const IID& events, IDispatch* source, std::function<void(IDispatch*)> act)
        : mode_(mode), events_(events), source_(source), act_(std::move(act)) {
        ++alive_;
    }
    virtual ~Sink() { --alive_; }

    // The connection, known after Advise; not counted (the point holds the sink).
    void connected(IConnectionPoint* point, DWORD cookie) {
        point_ = point;
        cookie_ = cookie;
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO* exception, UINT*) override;

    static long alive() { return alive_; }
    static long long delivered() { return delivered_; }

private:
    SinkMode mode_;
    IID events_;
    IDispatch* source_;
    std::function<void(IDispatch*)> act_;
    IConnectionPoint* point_ = nullptr;
    DWORD cookie_ = 0;
    bool acted_ = false;
    ULONG references_ = 1;
    static inline long alive_ = 0;
    static inline long long delivered_ = 0;
};

}  // namespace fuzz
