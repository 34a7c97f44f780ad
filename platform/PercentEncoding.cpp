#include "platform/PercentEncoding.h"

#include <cctype>
#include <string_view>

std::string PercentEncodedPath(const std::string& path)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : path) {
        if (std::isalnum(c) || std::string_view("/-_.~").find(char(c)) != std::string_view::npos) {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}
