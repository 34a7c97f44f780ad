#include "toolkit/UDiv.h"

#include <cmath>
#include <limits>

#include "platform/DateTimeUtils.h"
#include "platform/InternetConfig.h"

Boolean (*UDiv::sKeyDownHook)(short keyCode) = nullptr;
void (*UDiv::sBeepHook)(short duration) = nullptr;

namespace {

Boolean KeyDown(short keyCode)
{
    return UDiv::sKeyDownHook != nullptr && UDiv::sKeyDownHook(keyCode);
}

} // namespace

short UDiv::CompareUnsignedLong(UInt32 a, UInt32 b)
{
    return a < b ? -1 : a > b ? 1 : 0;
}

long UDiv::DivLongRounded(long a, long b, long c)
{
    if (b == 0)
        return 0;
    const double quotient = std::round((c == 0 ? double(a) : double(a) * double(c)) / double(b));
    constexpr double kLargest = double(std::numeric_limits<long>::max());
    return quotient >= kLargest ? std::numeric_limits<long>::max()
           : quotient <= -kLargest ? std::numeric_limits<long>::min()
                                   : long(quotient);
}

void UDiv::Beep()
{
    if (sBeepHook != nullptr)
        sBeepHook(10);
}

void UDiv::WaitTicks(long n)
{
    if (n > 0)
        Delay(static_cast<unsigned long>(n), nullptr);
}

Boolean UDiv::OptionKeyDown()
{
    return KeyDown(kOptionKey);
}

Boolean UDiv::ControlKeyDown()
{
    return KeyDown(kControlKey);
}

Boolean UDiv::CommandKeyDown()
{
    return KeyDown(kCommandKey);
}

Boolean UDiv::SpaceBarDown()
{
    return KeyDown(kSpaceBar);
}

OSErr UDiv::OpenURL(ConstStr255Param url, OSType creator)
{
    return OSErr(ICLaunchURL(creator, url));
}
