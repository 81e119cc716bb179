#pragma once
// The one error routine of both components and the per-thread record of the
// last platform error. Members call RaiseVBDLLError with their source and a
// short description; it composes the number and text clients see.

#include <windows.h>

#include <string>

namespace com {

// Every call site of the library passes this base number.
constexpr long DllErrorBase = 10000;
// DllErrorCode value asking for the thread's last platform error.
constexpr long UseLastDllError = -1;

// Called right after every platform call (see declarations/GDIDeclarations.h).
void SaveLastDLLError() noexcept;

unsigned long GetLastDLLError() noexcept;

std::wstring GetDLLErrorText(const std::wstring& Prefix, long Code, unsigned long LanguageId = 0);

[[noreturn]] void RaiseVBDLLError(const std::wstring& Source, std::wstring Description,
                                  long DllErrorCode = UseLastDllError, long ErrorNumber = DllErrorBase);

}  // namespace com
