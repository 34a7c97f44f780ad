#pragma once
// The framework's exception: raised for failed assertions (code 'asrt') and for
// exhausted memory (the memory manager's code), caught by the application object.

#include <exception>

#include "platform/MacTypes.h"

using ExceptionCode = SInt32;

constexpr ExceptionCode err_AssertFailed = ExceptionCode(MakeOSType("asrt"));

class LException : public std::exception {
public:
    explicit LException(ExceptionCode code) : mErrorCode(code) {}

    ExceptionCode GetErrorCode() const { return mErrorCode; }
    const char* what() const noexcept override { return "LException"; }

private:
    ExceptionCode mErrorCode;
};

// Raises the assertion exception when `condition` does not hold.
inline void ThrowIfNot_(bool condition)
{
    if (!condition)
        throw LException(err_AssertFailed);
}
