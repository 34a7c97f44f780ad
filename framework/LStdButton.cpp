#include "framework/LStdButton.h"

LStdButton::LStdButton(QAbstractButton* button) : LControl(button)
{
    if (button->isCheckable())
        TrackConnection(QObject::connect(button, &QAbstractButton::toggled, [this] { BroadcastValueMessage(); }));
    else
        TrackConnection(QObject::connect(button, &QAbstractButton::clicked, [this] { BroadcastValueMessage(); }));
}

SInt32 LStdButton::GetValue() const
{
    return Button() != nullptr && Button()->isChecked() ? 1 : 0;
}

void LStdButton::SetValue(SInt32 value)
{
    QAbstractButton* button = Button();
    if (button == nullptr || !button->isCheckable())
        return;
    // Qt keeps one radio button of a group on; the program may turn them all off.
    const bool exclusive = button->autoExclusive();
    if (value == 0)
        button->setAutoExclusive(false);
    button->setChecked(value != 0);
    button->setAutoExclusive(exclusive);
}

void LStdButton::SimulateHotSpotClick()
{
    if (Button() != nullptr && Button()->isEnabled())
        Button()->click();
}
