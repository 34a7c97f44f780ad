#pragma once
// A pane the user acts on: it broadcasts its value message (the description's
// `message` property) with a pointer to its value as the parameter.

#include "framework/LPane.h"
#include "platform/LBroadcaster.h"

class LControl : public LPane, public LBroadcaster {
public:
    explicit LControl(QWidget* widget);

    MessageT GetValueMessage() const { return mValueMessage; }
    void SetValueMessage(MessageT message) { mValueMessage = message; }

    // Nothing is sent while the message is 0.
    void BroadcastValueMessage();

private:
    MessageT mValueMessage;
};
