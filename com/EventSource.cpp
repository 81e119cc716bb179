#include "EventSource.h"

#include "Unknown.h"

#include <olectl.h>

#include <algorithm>

namespace com {
namespace {

// Enumerates the single connection point of an EventSource.
class SinglePointEnumerator : public Unknown<IEnumConnectionPoints> {
public:
    explicit SinglePointEnumerator(IConnectionPoint* point, ULONG position = 0) : point_(point), position_(position) {}

    STDMETHODIMP Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
        if (!points) return E_POINTER;
        ULONG given = 0;
        if (count > 0 && position_ == 0) {
            point_.CopyTo(&points[0]);
            ++position_;
            given = 1;
        }
        if (fetched) *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        position_ += count;
        return position_ <= 1 ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumConnectionPoints** out) override {
        if (!out) return E_POINTER;
        *out = new (std::nothrow) SinglePointEnumerator(point_.Get(), position_);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

private:
    ComPtr<IConnectionPoint> point_;
    ULONG position_;
};

}  // namespace

bool EventSource::fire(DISPID event, std::span<VARIANT> arguments) {
    DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    const auto snapshot = sinks_;
    bool called = false;
    for (const auto& [cookie, sink] : snapshot) {
        const bool stillConnected = std::any_of(sinks_.begin(), sinks_.end(), [c = cookie](const auto& s) { return s.first == c; });
        if (!stillConnected) continue;
        // A sink's failure is its own business; the drawing goes on.
        sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        called = true;
    }
    return called;
}

STDMETHODIMP EventSource::EnumConnectionPoints(IEnumConnectionPoints** out) {
    if (!out) return E_POINTER;
    *out = new (std::nothrow) SinglePointEnumerator(&point_);
    return *out ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP EventSource::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, events_)) return CONNECT_E_NOCONNECTION;
    *out = &point_;
    point_.AddRef();
    return S_OK;
}

STDMETHODIMP EventSource::Point::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint)) return E_NOINTERFACE;
    AddRef();
    *out = static_cast<IConnectionPoint*>(this);
    return S_OK;
}

STDMETHODIMP EventSource::Point::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = source_.events_;
    return S_OK;
}

STDMETHODIMP EventSource::Point::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (!out) return E_POINTER;
    *out = &source_;
    source_.AddRef();
    return S_OK;
}

STDMETHODIMP EventSource::Point::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    ComPtr<IDispatch> dispatch;
    // Script hosts' sinks may answer only to IDispatch.
    if (FAILED(sink->QueryInterface(source_.events_, reinterpret_cast<void**>(dispatch.GetAddressOf()))) &&
        FAILED(sink->QueryInterface(IID_PPV_ARGS(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = source_.nextCookie_++;
    source_.sinks_.emplace_back(*cookie, std::move(dispatch));
    return S_OK;
}

STDMETHODIMP EventSource::Point::Unadvise(DWORD cookie) {
    auto& sinks = source_.sinks_;
    auto found = std::find_if(sinks.begin(), sinks.end(), [cookie](const auto& s) { return s.first == cookie; });
    if (found == sinks.end()) return CONNECT_E_NOCONNECTION;
    sinks.erase(found);
    return S_OK;
}

STDMETHODIMP EventSource::Point::EnumConnections(IEnumConnections** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;  // allowed for connection points; no host we serve needs it
}

}  // namespace com
