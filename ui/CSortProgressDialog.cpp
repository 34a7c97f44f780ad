#include "ui/CSortProgressDialog.h"

#include <algorithm>
#include <limits>

#include "framework/LCommander.h"

namespace {

constexpr PaneIDT kStopButton = 2;

SInt32 Clamped(long value)
{
    return SInt32(std::clamp<long>(value, std::numeric_limits<SInt32>::min(), std::numeric_limits<SInt32>::max()));
}

} // namespace

CSortProgressDialog::CSortProgressDialog(Boolean canStop) : mDialog(kDialogID, LCommander::GetTopCommander())
{
    mDialog.SetItemEnable(kStopButton, canStop);
}

std::unique_ptr<CSortProgress> CSortProgressDialog::Create(Boolean canStop)
{
    return std::make_unique<CSortProgressDialog>(canStop);
}

Boolean CSortProgressDialog::WantToStop(long done, long total)
{
    return mDialog.WantToStop(Clamped(done), Clamped(total)) != msg_Nothing;
}
