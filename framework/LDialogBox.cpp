#include "framework/LDialogBox.h"

#include <QPushButton>

#include <functional>

#include "framework/LStdButton.h"

namespace {

LStdButton* FindButton(const LView& view, const std::function<bool(LStdButton&)>& wanted)
{
    for (const auto& pane : view.GetSubPanes()) {
        if (auto* button = dynamic_cast<LStdButton*>(pane.get()); button != nullptr && wanted(*button))
            return button;
        if (auto* subView = dynamic_cast<LView*>(pane.get())) {
            if (LStdButton* found = FindButton(*subView, wanted))
                return found;
        }
    }
    return nullptr;
}

bool Press(LStdButton* button)
{
    if (button == nullptr || !button->IsEnabled())
        return false;
    button->SimulateHotSpotClick();
    return true;
}

} // namespace

LDialogBox::LDialogBox(QWidget* widget) : LWindow(widget) {}

void LDialogBox::ListenToMessage(MessageT message, void*)
{
    if (message == msg_OK || message == msg_Cancel)
        CloseLater(false);
}

void LDialogBox::AttemptClose()
{
    if (!Press(GetCancelButton()) && !Press(GetDefaultButton()))
        LWindow::AttemptClose();
}

Boolean LDialogBox::HandleKeyPress(const EventRecord& event)
{
    switch (event.message & 0xFF) {
    case 0x0D:
    case 0x03:
        return Press(GetDefaultButton());
    case 0x1B:
        AttemptClose();
        return true;
    default:
        return false;
    }
}

LStdButton* LDialogBox::GetDefaultButton() const
{
    LStdButton* marked = FindButton(*this, [](LStdButton& button) {
        auto* push = qobject_cast<QPushButton*>(button.GetWidget());
        return push != nullptr && push->isDefault();
    });
    return marked ? marked : FindButton(*this, [](LStdButton& button) { return button.GetValueMessage() == msg_OK; });
}

LStdButton* LDialogBox::GetCancelButton() const
{
    return FindButton(*this, [](LStdButton& button) { return button.GetValueMessage() == msg_Cancel; });
}
