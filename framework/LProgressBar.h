#pragma once
// A progress bar: determinate with a value between its minimum and maximum, or
// indeterminate (a barber pole).

#include <QProgressBar>

#include "framework/LControl.h"

class LProgressBar : public LControl {
public:
    explicit LProgressBar(QProgressBar* bar);

    SInt32 GetValue() const override;
    void SetValue(SInt32 value) override;
    void SetMinValue(SInt32 value);
    void SetMaxValue(SInt32 value);
    SInt32 GetMaxValue() const { return mMaxValue; }
    void SetIndeterminateFlag(Boolean indeterminate);
    Boolean IsIndeterminate() const { return mIndeterminate; }

private:
    void Apply();

    SInt32 mMinValue;
    SInt32 mMaxValue;
    SInt32 mValue;
    Boolean mIndeterminate = false;
};
