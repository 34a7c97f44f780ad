#include "framework/LControl.h"

LControl::LControl(QWidget* widget) : LPane(widget), mValueMessage(GetNumberProperty("message")) {}

void LControl::BroadcastValueMessage()
{
    if (mValueMessage == msg_Nothing)
        return;
    SInt32 value = GetValue();
    BroadcastMessage(mValueMessage, &value);
}
