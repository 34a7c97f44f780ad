#include "ui/CWindow.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>

#include "filesystem/UFile.h"
#include "framework/LEditText.h"
#include "framework/LPopupButton.h"
#include "framework/StDialogHandler.h"
#include "framework/UDesktop.h"
#include "framework/UException.h"
#include "platform/MacRoman.h"
#include "platform/Resources.h"
#include "toolkit/CListStructs.h"
#include "toolkit/CStr255.h"
#include "ui/CToolTips.h"
#include "ui/UDrawingWindows.h"

namespace {

using Parameters = std::array<ConstStr255Param, 4>;

// Every placeholder of the text is found before any is filled, so a parameter that
// itself holds "^1" (a file name may) is never taken for the placeholder.
void FillPlaceholders(StringPtr text, const Parameters& parameters)
{
    std::array<int, 4> at{0, 0, 0, 0};
    for (int i = 1; i < text[0]; ++i) {
        const int digit = text[i + 1] - '0';
        if (text[i] == '^' && digit >= 0 && digit <= 3 && parameters[digit] != nullptr && at[digit] == 0)
            at[digit] = i;
    }
    Str255 filled = {0};
    for (int i = 1; i <= text[0]; ++i) {
        const auto placeholder = std::find(at.begin(), at.end(), i);
        if (placeholder == at.end()) {
            CStr255::AddCharToPString(filled, char(text[i]));
            continue;
        }
        CStr255::ConcatPStrings(filled, parameters[std::size_t(placeholder - at.begin())]);
        ++i;
    }
    CStr255::CopyPString(filled, text);
}

struct ToolTipRecord {
    SInt32 paneID;
    SInt16 strListID;
    SInt16 index;
};
static_assert(sizeof(ToolTipRecord) == 8);

SInt16 Height(const Rect& r)
{
    return SInt16(r.bottom - r.top);
}

SInt16 Width(const Rect& r)
{
    return SInt16(r.right - r.left);
}

} // namespace

CWindow::CWindow(QWidget* widget) : LDialogBox(widget) {}

CWindow::~CWindow()
{
    CToolTips::DeleteToolTipsWindow(this);
}

Boolean CWindow::CheckIfWindowExists(LWindow* window)
{
    const auto& windows = UDesktop::GetWindowList();
    return window != nullptr && std::find(windows.begin(), windows.end(), window) != windows.end();
}

Boolean CWindow::DoStandardDialog(ResIDT resID, LCommander* superCommander, ConstStr255Param p0,
                                  ConstStr255Param p1, ConstStr255Param p2, ConstStr255Param p3)
{
    std::unique_ptr<StDialogHandler> handler;
    try {
        handler = std::make_unique<StDialogHandler>(resID, superCommander);
    } catch (const LException& exception) {
        if (exception.GetErrorCode() != err_NilPointer)
            throw;
        return false;
    }
    auto* dialog = dynamic_cast<CWindow*>(handler->GetDialog());
    if (dialog == nullptr)
        return false;
    const Parameters parameters = {p0, p1, p2, p3};
    for (const auto& pane : dialog->GetSubPanes()) {
        Str255 text;
        dialog->GetItemString(pane->GetPaneID(), text);
        FillPlaceholders(text, parameters);
        dialog->SetItemString(pane->GetPaneID(), text);
    }
    dialog->Select();
    MessageT message;
    do
        message = handler->DoDialog();
    while (message != msg_OK && message != msg_Cancel);
    return message == msg_OK;
}

void CWindow::SetDescriptor(ConstStr255Param title)
{
    Str255 current;
    GetDescriptor(current);
    if (!CStr255::EqualPStrings(current, title))
        LDialogBox::SetDescriptor(title);
}

void CWindow::PlaceWindowNextTo(LWindow* other)
{
    Rect screen, bounds;
    UDrawingWindows::GetScreenSize(&screen, true);
    GetGlobalBounds(bounds);
    if (other != nullptr) {
        Rect otherBounds;
        other->GetGlobalBounds(otherBounds);
        const Point target = {SInt16(otherBounds.top + 16), SInt16(otherBounds.left + 8)};
        if (target.v + Height(bounds) <= screen.bottom && target.h + Width(bounds) <= screen.right) {
            DoSetPosition(target);
            return;
        }
    }
    DoSetPosition({SInt16(screen.top + 16), screen.left});
}

Boolean CWindow::PlaceNextToPreviousWindow(PaneIDT paneID)
{
    for (LWindow* window : UDesktop::GetWindowList()) {
        if (window != this && (paneID == 0 || window->GetPaneID() == paneID)) {
            PlaceWindowNextTo(window);
            return true;
        }
    }
    return false;
}

void CWindow::RestoreWindowPosition(Point where)
{
    Rect screen;
    UDrawingWindows::GetScreenSize(&screen, false);
    DoSetPosition({std::clamp<SInt16>(where.v, screen.top, std::max<SInt16>(screen.top, SInt16(screen.bottom - 20))),
                   std::clamp<SInt16>(where.h, screen.left, std::max<SInt16>(screen.left, SInt16(screen.right - 20)))});
}

void CWindow::MoveWindow(SInt16 h, SInt16 v, Boolean keepOnScreen)
{
    if (keepOnScreen) {
        Rect screen, bounds;
        UDrawingWindows::GetScreenSize(&screen, false);
        GetGlobalBounds(bounds);
        h = std::max<SInt16>(std::min<SInt16>(h, SInt16(screen.right - Width(bounds))), screen.left);
        // The plain rectangle's bottom lies a menu bar above the screen's: top + bottom is its foot.
        v = std::max<SInt16>(std::min<SInt16>(v, SInt16(screen.top + screen.bottom - Height(bounds))), screen.top);
    }
    DoSetPosition({v, h});
}

void CWindow::PlaceWindow(SInt16 flags, Boolean inner)
{
    Rect screen, r;
    UDrawingWindows::GetScreenSize(&screen, false);
    GetGlobalBounds(r);
    // Each step moves r's top or left, and the next measures r as it then is.
    const auto moveTop = [&r](int top) {
        r.bottom = SInt16(top + Height(r));
        r.top = SInt16(top);
    };
    const auto moveLeft = [&r](int left) {
        r.right = SInt16(left + Width(r));
        r.left = SInt16(left);
    };
    if (flags & kPlaceTop)
        moveTop(screen.top + (inner ? 0 : 24));
    if (flags & kPlaceBottom)
        moveTop(screen.bottom - Height(r));
    if (flags & kPlaceCenterVertical)
        moveTop((screen.top + screen.bottom - Height(r)) / 2);
    if (flags & kPlaceLeft)
        moveLeft(screen.left);
    if (flags & kPlaceRight)
        moveLeft(screen.right - Width(r) - (inner ? 0 : 6));
    if (flags & kPlaceCenterHorizontal)
        moveLeft((screen.left + screen.right - Width(r)) / 2);
    DoSetPosition({r.top, r.left});
}

void CWindow::SmoothResizeWindow(SInt16 height, Boolean animate, Boolean clampToScreen)
{
    if (clampToScreen) {
        Rect screen;
        UDrawingWindows::GetScreenSize(&screen, false);
        height = std::min<SInt16>(height, SInt16(Height(screen) + 15));
    }
    const SInt16 stepSize = UFile::IsMacOS_X_orHigher() ? 17 : 10;
    Rect r;
    GetGlobalBounds(r);
    if (Height(r) == height)
        return;
    if (animate) {
        const auto grow = [this, &r](int delta) {
            r.bottom = SInt16(r.bottom + delta);
            DoSetBounds(r);
            Draw();
        };
        while (Height(r) < height - stepSize)
            grow(stepSize);
        while (Height(r) > height + stepSize)
            grow(-stepSize);
    }
    r.bottom = SInt16(r.top + height);
    DoSetBounds(r);
}

void CWindow::SetItemString(PaneIDT paneID, ConstStr255Param text)
{
    LPane* pane = FindPaneByID(paneID);
    if (pane == nullptr)
        return;
    const Str255 empty = {0};
    Str255 current;
    pane->GetDescriptor(current);
    if (!CStr255::EqualPStrings(current, text != nullptr ? text : empty))
        pane->SetDescriptor(text != nullptr ? text : empty);
}

void CWindow::SetItemString(PaneIDT paneID, ResIDT strListID, SInt16 index)
{
    Str255 text;
    GetIndString(text, strListID, index);
    SetItemString(paneID, text);
}

void CWindow::SetEmptyString(PaneIDT paneID)
{
    SetItemString(paneID, nullptr);
}

void CWindow::GetItemString(PaneIDT paneID, Str255 outText, SInt16 maxLength)
{
    outText[0] = 0;
    if (LPane* pane = FindPaneByID(paneID))
        pane->GetDescriptor(outText);
    if (maxLength > 0 && outText[0] > maxLength)
        outText[0] = UInt8(maxLength);
}

void CWindow::SetItemLong(PaneIDT paneID, long value, long flags)
{
    Str255 text;
    CStr255::ConvLongToString(value, text, flags);
    SetItemString(paneID, text);
}

SInt32 CWindow::GetItemLong(PaneIDT paneID)
{
    Str255 text;
    GetItemString(paneID, text);
    const long long value = std::strtoll(std::string(Str255View(text)).c_str(), nullptr, 10);
    return SInt32(std::clamp<long long>(value, std::numeric_limits<SInt32>::min(), std::numeric_limits<SInt32>::max()));
}

void CWindow::ReplaceInItemString(PaneIDT paneID, ConstStr255Param pattern, ConstStr255Param replacement)
{
    Str255 text;
    GetItemString(paneID, text);
    if (text[0] != 0 && CStr255::ReplaceInPString(pattern, replacement, text) != 0)
        SetItemString(paneID, text);
}

void CWindow::ReplaceInDialog(ConstStr255Param pattern, ConstStr255Param replacement)
{
    for (const auto& pane : GetSubPanes())
        ReplaceInItemString(pane->GetPaneID(), pattern, replacement);
}

void CWindow::SetItemValue(PaneIDT paneID, SInt32 value)
{
    if (LPane* pane = FindPaneByID(paneID))
        pane->SetValue(value);
}

SInt32 CWindow::GetItemState(PaneIDT paneID)
{
    LPane* pane = FindPaneByID(paneID);
    return pane != nullptr ? pane->GetValue() : 0;
}

SInt32 CWindow::GetRadioGroup(PaneIDT firstPaneID, SInt32 count)
{
    for (SInt32 i = 0; i < count; ++i) {
        LPane* pane = FindPaneByID(firstPaneID + i);
        if (pane == nullptr)
            break;
        if (pane->GetValue() != 0)
            return i;
    }
    return 0;
}

SInt16 CWindow::GetPopupmenuSelection(PaneIDT paneID, Str255 outText)
{
    auto* popup = dynamic_cast<LPopupButton*>(FindPaneByID(paneID));
    const SInt16 item = popup != nullptr ? popup->GetCurrentMenuItem() : 0;
    if (item != 0 && outText != nullptr)
        popup->GetMenuItemText(item, outText);
    return item;
}

void CWindow::SetPopupmenuSelection(PaneIDT paneID, SInt16 item)
{
    if (auto* popup = dynamic_cast<LPopupButton*>(FindPaneByID(paneID))) {
        popup->SetCurrentMenuItem(item);
        popup->Refresh();
    }
}

void CWindow::SetItemVisible(PaneIDT paneID, Boolean visible)
{
    if (LPane* pane = FindPaneByID(paneID))
        visible ? pane->Show() : pane->Hide();
}

void CWindow::SetItemEnable(PaneIDT paneID, Boolean enabled)
{
    if (LPane* pane = FindPaneByID(paneID))
        enabled ? pane->Enable() : pane->Disable();
}

void CWindow::RefreshItem(PaneIDT paneID)
{
    if (LPane* pane = FindPaneByID(paneID))
        pane->Refresh();
}

void CWindow::SelectAll(PaneIDT paneID)
{
    if (auto* field = dynamic_cast<LEditText*>(FindPaneByID(paneID)))
        field->SelectAll();
}

Boolean CWindow::AddListenerToItem(PaneIDT paneID, LListener* listener)
{
    auto* broadcaster = dynamic_cast<LBroadcaster*>(FindPaneByID(paneID));
    if (broadcaster == nullptr)
        return false;
    broadcaster->AddListener(listener != nullptr ? listener : this);
    return true;
}

void CWindow::SetToolTipsForItem(PaneIDT paneID, SInt32 strListID, SInt32 index)
{
    mHasToolTips = true;
    if (!mToolTips)
        mToolTips = std::make_unique<CListStructs>(nullptr, CListStructs::kFixedSize, long(sizeof(ToolTipRecord)));
    const ToolTipRecord record = {paneID, SInt16(strListID), SInt16(index)};
    for (long i = 1; i <= mToolTips->GetCount(); ++i) {
        ToolTipRecord stored;
        mToolTips->GetNthStruct(i, &stored, sizeof(stored));
        if (stored.paneID == paneID) {
            mToolTips->SetNthStruct(i, &record, sizeof(record));
            return;
        }
    }
    mToolTips->AddStructToList(&record, sizeof(record));
}

PaneIDT CWindow::GetToolTipsForItem(Point, PaneIDT paneID, Str255 outText)
{
    outText[0] = 0;
    if (!mToolTips)
        return paneID;
    for (long i = 1; i <= mToolTips->GetCount(); ++i) {
        ToolTipRecord stored;
        mToolTips->GetNthStruct(i, &stored, sizeof(stored));
        if (stored.paneID == paneID) {
            GetIndString(outText, stored.strListID, stored.index);
            break;
        }
    }
    return paneID;
}

PaneIDT CWindow::GetToolTipsItemInWindow(Point where, Str255 outText)
{
    PaneIDT found = 0;
    outText[0] = 0;
    const LView* view = this;
    while (view != nullptr) {
        LPane* pane = view->FindSubPaneHitBy(where);
        if (pane == nullptr)
            break;
        Str255 text;
        if (pane->GetPaneID() != 0 && GetToolTipsForItem(where, pane->GetPaneID(), text) != 0 && text[0] != 0) {
            found = pane->GetPaneID();
            CStr255::CopyPString(text, outText);
        }
        view = dynamic_cast<const LView*>(pane);
    }
    return found;
}

void CWindow::AdjustContentMouse(Point where, const EventRecord& event)
{
    LDialogBox::AdjustContentMouse(where, event);
    if (!mHasToolTips || !CToolTips::IsActivated())
        return;
    Str255 text;
    const PaneIDT paneID = GetToolTipsItemInWindow(where, text);
    CToolTips::DoToolTips(where, event, paneID, text, this);
}

void CWindow::ClickInContent(const EventRecord& event)
{
    CToolTips::DeleteToolTipsWindow(this);
    LDialogBox::ClickInContent(event);
}

void CWindow::Suspend()
{
    CToolTips::DeleteToolTipsWindow(this);
    LDialogBox::Suspend();
}

void CWindow::Deactivate()
{
    CToolTips::DeleteToolTipsWindow(this);
    LDialogBox::Deactivate();
}
