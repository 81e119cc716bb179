#include "Boundary.h"

namespace com {

HRESULT report(const AutomationError& error) noexcept {
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(&create))) {
        create->SetGUID(GUID_NULL);
        create->SetSource(const_cast<LPOLESTR>(error.source().c_str()));
        create->SetDescription(const_cast<LPOLESTR>(error.description().c_str()));
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.As(&info))) SetErrorInfo(0, info.Get());
    }
    return error.failureCode();
}

void passThrough(HRESULT hr) {
    if (SUCCEEDED(hr)) return;
    long number = HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<long>(hr);
    std::wstring source, description;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, &info) == S_OK) {
        BSTR text = nullptr;
        if (SUCCEEDED(info->GetSource(&text)) && text) source = text;
        SysFreeString(text);
        text = nullptr;
        if (SUCCEEDED(info->GetDescription(&text)) && text) description = text;
        SysFreeString(text);
    }
    throw AutomationError(number, std::move(source), std::move(description));
}

void deliver(BSTR* out, const std::wstring& value) {
    BSTR text = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    if (!text) throw std::bad_alloc();
    *out = text;
}

}  // namespace com
