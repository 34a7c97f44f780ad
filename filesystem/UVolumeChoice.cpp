#include "filesystem/UVolumeChoice.h"

#include "platform/MacRoman.h"
#include "platform/Resources.h"
#include "toolkit/CStr255.h"

namespace {

constexpr ResIDT kVolumeStrings = 130;

Boolean NameIs(ConstStr255Param name, const char* text)
{
    Str255 other;
    TextToStr255(text, other);
    return CStr255::EqualPStrings(name, other);
}

} // namespace

Boolean UVolumeChoice::IsVolumeAccepted(ConstStr255Param name, Boolean bootableCD)
{
    if (NameIs(name, "Network"))
        return false;
    return !(bootableCD && (NameIs(name, "Volumes") || NameIs(name, "dev")));
}

void UVolumeChoice::GetSize(unsigned long kilobytes, StringPtr text)
{
    Str255 number;
    short index = 2;
    if (kilobytes < 1024) {
        CStr255::ConvLongToString(long(kilobytes), number, kFormatGroupThousands);
    } else if (kilobytes < 1048576) {
        index = 3;
        CStr255::ConvCentimesToString(long(kilobytes * 100 / 1024), number, kFormatGroupThousands);
    } else {
        index = 4;
        CStr255::ConvCentimesToString(long(kilobytes / 1024 * 100 / 1024), number, kFormatGroupThousands);
    }
    GetIndString(text, kVolumeStrings, index);
    CStr255::Replace0InPString(number, text);
}

void UVolumeChoice::GetNumAndSize(long count, unsigned long kilobytes, StringPtr text)
{
    Str255 number;
    Str255 size;
    CStr255::ConvLongToString(count, number, kFormatGroupThousands);
    GetSize(kilobytes, size);
    GetIndString(text, kVolumeStrings, 7);
    CStr255::Replace1InPString(number, text);
    CStr255::Replace0InPString(size, text);
}
