#include "ui/CStaticTextButton.h"

// The text traits of the description (`textTraits`) are not read: the desktop's style
// gives the font, as the Appearance Manager did.
CStaticTextButton::CStaticTextButton(QLabel* label)
    : LStaticText(label), mLinkedPaneID(GetNumberProperty("linkedPaneID"))
{
    InterceptEvents(false, true);
}

void CStaticTextButton::FinishCreateSelf()
{
    if (mLinkedPaneID == 0)
        return;
    mLinkedControl = dynamic_cast<LControl*>(FindPaneByIDOutward(mLinkedPaneID));
    if (mLinkedControl != nullptr)
        mLinkedControl->SetValueMessage(GetValueMessage());
}

void CStaticTextButton::ClickSelf(const SMouseDownEvent&)
{
    if (GetValueMessage() != msg_Nothing)
        BroadcastMessage(GetValueMessage(), this);
}

void CStaticTextButton::EnableSelf()
{
    if (mLinkedControl != nullptr)
        mLinkedControl->Enable();
}

void CStaticTextButton::DisableSelf()
{
    if (mLinkedControl != nullptr)
        mLinkedControl->Disable();
}
