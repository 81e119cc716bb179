#pragma once
// The one error type of both components. Members throw it; the boundary in
// Boundary.h turns it into a failure code and the thread's error information.

#include <windows.h>

#include <stdexcept>
#include <string>

namespace com {

class AutomationError : public std::exception {
public:
    AutomationError(long number, std::wstring source, std::wstring description)
        : number_(number), source_(std::move(source)), description_(std::move(description)) {}

    long number() const noexcept { return number_; }
    const std::wstring& source() const noexcept { return source_; }
    const std::wstring& description() const noexcept { return description_; }
    const char* what() const noexcept override { return "automation error"; }

    // 1 to 65535 map into the control facility, as automation clients expect;
    // any other number is kept whole with the severity bit set, so that it
    // stays a failure and a client can still recover it.
    HRESULT failureCode() const noexcept;

private:
    long number_;
    std::wstring source_;
    std::wstring description_;
};

// The standard run-time errors that members raise for broken preconditions.
enum class RuntimeError : long {
    InvalidArgument = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    TypeMismatch = 13,
    WrongArguments = 450,
};

// Each component names the source its standard run-time errors carry.
void setRuntimeErrorSource(const wchar_t* source);

[[noreturn]] void raise(RuntimeError error);
// The same error with a description of the member's own.
[[noreturn]] void raise(RuntimeError error, const std::wstring& description);

// Raises run-time error 5 unless the precondition holds.
inline void require(bool precondition) {
    if (!precondition) raise(RuntimeError::InvalidArgument);
}

}  // namespace com
