#include "Sink.h"

#include <utility>

namespace fuzz {

const wchar_t* nameOf(SinkMode mode) {
    switch (mode) {
    case SinkMode::Quiet: return L"quiet";
    case SinkMode::Fail: return L"failing";
    case SinkMode::Disconnect: return L"disconnecting";
    case SinkMode::ReleaseSource: return L"releasing";
    case SinkMode::Reenter: return L"re-entering";
    }
    return L"?";
}

Sink::Sink(SinkMode mode, const IID& events, IDispatch* source, std::function<void(IDispatch*)> act)
    : mode_(mode), events_(events), source_(source), act_(std::move(act)) {
    ++alive_;
}

STDMETHODIMP Sink::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !IsEqualIID(iid, events_))
        return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) Sink::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        --alive_;
        delete this;
    }
    return left;
}

STDMETHODIMP Sink::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return S_OK;
}

STDMETHODIMP Sink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Sink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return DISP_E_UNKNOWNNAME; }

STDMETHODIMP Sink::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO* exception, UINT*) {
    // The sink may go with the source during the act: keep it for this call.
    AddRef();
    ++delivered_;
    HRESULT hr = S_OK;
    switch (mode_) {
    case SinkMode::Quiet: break;
    case SinkMode::Fail:
        if (exception) {
            *exception = EXCEPINFO{};
            exception->scode = E_FAIL;
            exception->bstrSource = SysAllocString(L"Sink");
            exception->bstrDescription = SysAllocString(L"The handler failed");
        }
        hr = DISP_E_EXCEPTION;
        break;
    case SinkMode::Disconnect:
        if (!acted_ && point_) {
            acted_ = true;
            point_->Unadvise(cookie_);
        }
        break;
    case SinkMode::ReleaseSource:
    case SinkMode::Reenter:
        if (!acted_) {
            acted_ = true;
            act_(source_);
        }
        break;
    }
    Release();
    return hr;
}

}  // namespace fuzz
