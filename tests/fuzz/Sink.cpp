#include "Sink.h"

namespace fuzz {

STDMETHODIMP Sink::QueryInterface(REFIID iid, void** out) {
    const bool known = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, events_);
    *out = known ? static_cast<IDispatch*>(this) : nullptr;
    if (!known) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) Sink::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP Sink::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO* exception, UINT*) {
    AddRef();  // the sink may go with the source during the act: kept for this call
    ++delivered_;
    HRESULT hr = S_OK;
    if (mode_ == SinkMode::Fail) {
        if (exception) {
            *exception = EXCEPINFO{};
            exception->scode = E_FAIL;
            exception->bstrSource = SysAllocString(L"Sink");
            exception->bstrDescription = SysAllocString(L"The handler failed");
        }
        hr = DISP_E_EXCEPTION;
    } else if (mode_ != SinkMode::Quiet && !acted_) {
        acted_ = true;
        if (mode_ == SinkMode::Disconnect) {
            if (point_) point_->Unadvise(cookie_);
        } else {
            act_(source_);
        }
    }
    Release();
    return hr;
}

}  // namespace fuzz
