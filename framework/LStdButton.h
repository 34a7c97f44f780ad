#pragma once
// Push buttons, check boxes and radio buttons (Qt's buttons). A push button
// broadcasts when clicked; a check box or radio button whenever its value changes,
// also when set by the program. Radio buttons in one container exclude each other.

#include <QAbstractButton>

#include "framework/LControl.h"

class LStdButton : public LControl {
public:
    explicit LStdButton(QAbstractButton* button);

    // 1 when checked, else 0.
    SInt32 GetValue() const override;
    void SetValue(SInt32 value) override;
    // As if the user clicked it.
    void SimulateHotSpotClick();

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(GetWidget()); }
};
