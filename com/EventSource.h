#pragma once
// Makes an object the source of one dispatch event interface through the
// standard connection points. The owner keeps an EventSource member, hands it
// out from queryOther() for IID_IConnectionPointContainer, and calls fire().
// Both interfaces share the owner's reference count, so the owner, its
// container and its connection point live and die together.

#include "Ptr.h"

#include <ocidl.h>

#include <span>
#include <utility>
#include <vector>

namespace com {

class EventSource : public IConnectionPointContainer {
public:
    EventSource(IUnknown* owner, REFIID events) : owner_(owner), events_(events), point_(*this) {}
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;
    virtual ~EventSource() = default;

    // Calls the event on every connected sink, synchronously, in the order
    // they connected. `arguments` are in DISPPARAMS order (last one first). A
    // failing sink does not stop the others; a sink that disconnects itself or
    // another during the event is handled. Returns whether any sink was
    // called.
    bool fire(DISPID event, std::span<VARIANT> arguments = {});
    // Whether any sink is connected: none can connect while an event runs
    // that nobody hears.
    bool connected() const noexcept { return !sinks_.empty(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return owner_->QueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return owner_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return owner_->Release(); }

    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

private:
    class Point : public IConnectionPoint {
    public:
        explicit Point(EventSource& source) : source_(source) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override { return source_.AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return source_.Release(); }
        STDMETHODIMP GetConnectionInterface(IID* iid) override;
        STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
        STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
        STDMETHODIMP Unadvise(DWORD cookie) override;
        STDMETHODIMP EnumConnections(IEnumConnections** out) override;

    private:
        EventSource& source_;
    };

    IUnknown* owner_;
    IID events_;
    Point point_;
    std::vector<std::pair<DWORD, ComPtr<IDispatch>>> sinks_;
    DWORD nextCookie_ = 1;
};

}  // namespace com
