#include "ui/CToolTips.h"

#include <QWidget>

#include <algorithm>
#include <cstdlib>

#include "framework/LStaticText.h"
#include "framework/QuickDraw.h"
#include "framework/UDesktop.h"
#include "framework/UEventLoop.h"
#include "framework/UKeyboard.h"
#include "toolkit/CStr255.h"
#include "ui/StTextStateQOR.h"
#include "ui/UDrawingWindows.h"

Boolean CToolTips::sActive = true;
CToolTips* CToolTips::sToolTipsWindow = nullptr;
PaneIDT CToolTips::sPaneID = 0;
Point CToolTips::sMousePosition = {0, 0};
UInt32 CToolTips::sTicks = 0;
Boolean CToolTips::sActivedWithSpaceBar = false;

namespace {

Boolean SpaceBarDown()
{
    return UKeyboard::IsKeyDown(UKeyboard::kSpaceBar);
}

// Tick counts wrap; "passed" is judged on their difference.
Boolean HasPassed(UInt32 now, UInt32 ticks)
{
    return SInt32(now - ticks) > 0;
}

} // namespace

CToolTips::CToolTips(QWidget* widget) : CWindow(widget)
{
    // A tip floats over its owner without taking the activation from it: the owner's
    // deactivation would close the tip at once.
    widget->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    widget->setAttribute(Qt::WA_ShowWithoutActivating);
}

CToolTips::~CToolTips()
{
    if (sToolTipsWindow == this)
        sToolTipsWindow = nullptr;
}

Boolean CToolTips::IsActivated()
{
    return sActive || SpaceBarDown();
}

void CToolTips::DeleteToolTipsWindow(const LWindow* except)
{
    if (sToolTipsWindow == nullptr || sToolTipsWindow == except)
        return;
    CToolTips* tip = sToolTipsWindow;
    sToolTipsWindow = nullptr;
    if (CheckIfWindowExists(tip))
        tip->DoClose();
}

void CToolTips::DoToolTips(Point where, const EventRecord& event, PaneIDT paneID, ConstStr255Param text,
                           CWindow* owner)
{
    const UInt32 now = UEventLoop::Ticks();
    if (!IsActivated()) {
        DeleteToolTipsWindow();
        return;
    }
    if (paneID == 0 || text == nullptr || text[0] == 0) {
        DeleteToolTipsWindow();
        sPaneID = 0;
        sTicks = now + kDelay;
        return;
    }
    if (sToolTipsWindow != nullptr && sActivedWithSpaceBar && paneID == sPaneID)
        return;
    if (std::abs(where.h - sMousePosition.h) <= kStill && std::abs(where.v - sMousePosition.v) <= kStill) {
        const Boolean spaceBar = SpaceBarDown();
        if (!HasPassed(now, sTicks) && !spaceBar)
            return;
        if (sToolTipsWindow != nullptr)
            return;
        if (paneID == sPaneID && !spaceBar)
            return;
        sActivedWithSpaceBar = spaceBar;
        sPaneID = paneID;
        auto* tip = dynamic_cast<CToolTips*>(CreateWindow(kResID, GetTopCommander()));
        if (tip == nullptr)
            return;
        sToolTipsWindow = tip;
        tip->mOwnerWindow = owner;
        tip->SetToolTips(event.where, text);
        return;
    }
    sTicks = now + kDelay;
    sMousePosition = where;
    DeleteToolTipsWindow();
    if (paneID != sPaneID || sActivedWithSpaceBar)
        sPaneID = 0;
}

void CToolTips::SetToolTips(Point globalMouse, ConstStr255Param text)
{
    auto* pane = dynamic_cast<LStaticText*>(FindPaneByID(1));
    if (pane == nullptr)
        return;
    // Lines are separated by returns; the text pane breaks them at line feeds.
    Str255 shown;
    CStr255::CopyPString(text, shown);
    std::replace(shown + 1, shown + 1 + shown[0], UInt8('\r'), UInt8('\n'));
    pane->SetDescriptor(shown);

    SInt16 lineHeight;
    SInt16 width = 0;
    {
        StTextStateQOR savedText;
        FontInfo font;
        GetFontInfo(&font);
        lineHeight = SInt16(font.ascent + font.descent + font.leading);
        mLineCount = 0;
        Str255 line = {0};
        for (int i = 1; i <= text[0] + 1; ++i) {
            if (i <= text[0] && text[i] != '\r') {
                CStr255::AddCharToPString(line, char(text[i]));
                continue;
            }
            width = std::max(width, StringWidth(line));
            line[0] = 0;
            ++mLineCount;
        }
        mLineCount = std::max<SInt32>(mLineCount, 1);
    }
    Rect bounds;
    GetGlobalBounds(bounds);
    const SInt16 windowWidth = SInt16(width + 12);
    const SInt16 windowHeight = SInt16(mLineCount * lineHeight + 3);
    DoSetBounds({bounds.top, bounds.left, SInt16(bounds.top + windowHeight), SInt16(bounds.left + windowWidth)});
    pane->ResizeFrameTo(windowWidth, windowHeight);

    Rect screen;
    UDrawingWindows::GetScreenSize(&screen, false);
    const SInt16 left = SInt16(globalMouse.h - 6);
    SInt16 top = SInt16(globalMouse.v + 18);
    if (top + windowHeight > screen.top + screen.bottom)
        top = SInt16(globalMouse.v + 18 - (windowHeight + 30));
    MoveWindow(left, top, true);
    // Shown and raised; selecting it would take the activation from the owner.
    Show();
    GetWidget()->raise();
}

void CToolTips::FinishCreateSelf()
{
    CWindow::FinishCreateSelf();
    SetPeriodicalDelay(30);
    StartIdling();
    Hide();
}

void CToolTips::SpendTimeSelf(const EventRecord& event)
{
    GetWidget()->raise();
    const Boolean overOwner = mOwnerWindow != nullptr && UDesktop::FindWindowAt(event.where) == mOwnerWindow;
    const Boolean expired = sActivedWithSpaceBar
                                ? !SpaceBarDown()
                                : HasPassed(UEventLoop::Ticks(), sTicks + UInt32((mLineCount + 1) * kTicksPerLine));
    if (UDesktop::IsApplicationActive() && overOwner && !expired)
        return;
    // Gone from the event loop, not from within its own turn.
    if (sToolTipsWindow == this)
        sToolTipsWindow = nullptr;
    StopIdling();
    Hide();
    CloseLater(false);
}
