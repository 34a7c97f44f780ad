#include "app/CApplicationQOR.h"

#include <array>

#include "filesystem/UFile.h"
#include "framework/LCommander.h"
#include "framework/UDesktop.h"
#include "framework/UEventLoop.h"
#include "ui/CWindow.h"

namespace {

constexpr SInt16 kWelcomePlacement = CWindow::kPlaceTop | CWindow::kPlaceCenterHorizontal;

void FillAboutStrings(CWindow* window, CApplicationQOR& application)
{
    std::array<Str255, 4> strings;
    application.GetAboutInfos(strings[0], strings[1], strings[2], strings[3]);
    static const UInt8 placeholders[4][4] = {"\2^0", "\2^1", "\2^2", "\2^3"};
    for (std::size_t i = 0; i < strings.size(); ++i)
        window->ReplaceInDialog(placeholders[i], strings[i]);
}

} // namespace

CApplicationQOR::CApplicationQOR(ResIDT welcomeID, ResIDT aboutID, SInt16 displayTicks)
    : mWelcomeID(welcomeID), mAboutID(aboutID), mDisplayTime(displayTicks)
{
}

void CApplicationQOR::GetAboutInfos(Str255 s0, Str255 s1, Str255 s2, Str255 s3)
{
    s1[0] = s2[0] = s3[0] = 0;
    UFile::GetShortVersion(s0);
}

void CApplicationQOR::Initialize()
{
    InitApplication();
    LoadPreferences();
    if (!RunPrivilegeStep())
        return;
    DisplayWelcome();
    OpenAtStart();
}

void CApplicationQOR::DisplayWelcome()
{
    if (mWelcomeID == 0)
        return;
    auto* window = dynamic_cast<CWindow*>(LWindow::CreateWindow(mWelcomeID, LCommander::GetTopCommander()));
    if (window == nullptr)
        return;
    mWelcomeWindow = window;
    window->PlaceWindow(kWelcomePlacement, false);
    FillAboutStrings(window, *this);
    window->Show();
    window->Draw();
    mCloseTick = UEventLoop::Ticks() + UInt32(mDisplayTime);
    // Never 0, which means no closing is due.
    if (mCloseTick == 0)
        mCloseTick = 1;
    StartIdling();
}

void CApplicationQOR::SpendTimeSelf(const EventRecord&)
{
    if (mCloseTick == 0 || SInt32(UEventLoop::Ticks() - mCloseTick) < 0)
        return;
    mCloseTick = 0;
    StopIdling();
    // The user may have closed it already.
    if (CWindow::CheckIfWindowExists(mWelcomeWindow))
        mWelcomeWindow->DoClose();
    mWelcomeWindow = nullptr;
}

void CApplicationQOR::ShowAboutBox()
{
    if (mAboutID == 0)
        return;
    CWindow* about = nullptr;
    for (LWindow* window : UDesktop::GetWindowList()) {
        if (window->GetPaneID() == mAboutID && (about = dynamic_cast<CWindow*>(window)) != nullptr)
            break;
    }
    if (about == nullptr)
        about = dynamic_cast<CWindow*>(LWindow::CreateWindow(mAboutID, LCommander::GetTopCommander()));
    if (about == nullptr)
        return;
    FillAboutStrings(about, *this);
    ShowAboutBoxSelf(about);
    about->Select();
}

Boolean CApplicationQOR::IsBusy()
{
    for (LWindow* window : UDesktop::GetWindowList()) {
        if (auto* own = dynamic_cast<CWindow*>(window); own != nullptr && own->IsBusy())
            return true;
    }
    return false;
}
