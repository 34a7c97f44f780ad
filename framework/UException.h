#pragma once
// The framework's exception for what must exist and does not (code 'nilP'): a missing
// window description, a pane a window cannot do without.

#include "platform/LException.h"

constexpr ExceptionCode err_NilPointer = ExceptionCode(MakeOSType("nilP"));

template <typename T>
T* ThrowIfNil_(T* pointer)
{
    if (pointer == nullptr)
        throw LException(err_NilPointer);
    return pointer;
}
