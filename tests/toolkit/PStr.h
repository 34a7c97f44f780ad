#pragma once
// Pascal strings for tests, written as C++ text (Mac Roman bytes as \x escapes).

#include <string>
#include <string_view>

#include "platform/MacTypes.h"

class PStr {
public:
    PStr(std::string_view text = {})
    {
        const std::size_t length = text.size() < 255 ? text.size() : 255;
        mBytes[0] = UInt8(length);
        for (std::size_t i = 0; i < length; ++i)
            mBytes[i + 1] = UInt8(text[i]);
    }

    operator StringPtr() { return mBytes; }
    std::string Text() const { return std::string(reinterpret_cast<const char*>(mBytes + 1), mBytes[0]); }
    UInt8 Length() const { return mBytes[0]; }

private:
    Str255 mBytes{};
};

inline std::string Text(ConstStr255Param s)
{
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}
