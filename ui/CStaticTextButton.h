#pragma once
// A text that acts as a button (class 'CTex'): clicking it broadcasts its message
// (the `message` property) with the text pane itself as the parameter. A linked
// control (property `linkedPaneID`, looked for outward from the text) gets the same
// message and is enabled and disabled with the text, so a label beside a check box
// speaks for it. A linked pane that is not a control is ignored.

#include <QLabel>

#include "framework/LStaticText.h"

class CStaticTextButton : public LStaticText {
public:
    explicit CStaticTextButton(QLabel* label);

    LControl* GetLinkedControl() const { return mLinkedControl; }

protected:
    void FinishCreateSelf() override;
    void ClickSelf(const SMouseDownEvent& event) override;
    void EnableSelf() override;
    void DisableSelf() override;

private:
    PaneIDT mLinkedPaneID;
    LControl* mLinkedControl = nullptr;
};
