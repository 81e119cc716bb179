#include "DLLErrors.h"

#include "AutomationError.h"

namespace com {
namespace {

thread_local unsigned long lastDllError = 0;

std::wstring fromAnsi(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    return wide;
}

}  // namespace

void SaveLastDLLError() noexcept { lastDllError = GetLastError(); }

unsigned long GetLastDLLError() noexcept { return lastDllError != 0 ? lastDllError : GetLastError(); }

std::wstring GetDLLErrorText(const std::wstring& Prefix, long Code, unsigned long LanguageId) {
    char buffer[256] = {};
    if (Code == UseLastDllError) Code = static_cast<long>(GetLastDLLError());
    const DWORD written = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                         static_cast<DWORD>(Code), LanguageId, buffer, sizeof buffer, nullptr);
    if (written == 0) raise(RuntimeError::InvalidArgument);
    std::wstring text = fromAnsi(buffer);  // stops at the first NUL
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, L"\r\n") == 0) text.resize(text.size() - 2);
    return Prefix + text;
}

void RaiseVBDLLError(const std::wstring& Source, std::wstring Description, long DllErrorCode, long ErrorNumber) {
    if (ErrorNumber >= 0 && ErrorNumber <= 1000) raise(RuntimeError::InvalidArgument);
    if (DllErrorCode == UseLastDllError) DllErrorCode = static_cast<long>(GetLastDLLError());
    const std::wstring sourceLine = L"\r\nError source: " + Source;
    if (!Description.empty()) Description += L"; ";
    if (DllErrorCode != 0) {
        // A plain 32-bit sum, wrapping like the platform's own arithmetic.
        const long number = static_cast<long>(static_cast<unsigned long>(ErrorNumber) + static_cast<unsigned long>(DllErrorCode));
        throw AutomationError(number, Source, GetDLLErrorText(Description, DllErrorCode, 0) + sourceLine);
    }
    throw AutomationError(ErrorNumber, Source, Description + L"Unexpected Error" + sourceLine);
}

}  // namespace com
