#include "framework/LProgressBar.h"

#include <algorithm>

LProgressBar::LProgressBar(QProgressBar* bar)
    : LControl(bar), mMinValue(bar->minimum()), mMaxValue(bar->maximum()), mValue(bar->value())
{
    mIndeterminate = mMinValue == 0 && mMaxValue == 0;
}

SInt32 LProgressBar::GetValue() const
{
    return mValue;
}

void LProgressBar::SetValue(SInt32 value)
{
    mValue = value;
    Apply();
}

void LProgressBar::SetMinValue(SInt32 value)
{
    mMinValue = value;
    Apply();
}

void LProgressBar::SetMaxValue(SInt32 value)
{
    mMaxValue = value;
    Apply();
}

void LProgressBar::SetIndeterminateFlag(Boolean indeterminate)
{
    mIndeterminate = indeterminate;
    Apply();
}

void LProgressBar::Apply()
{
    auto* bar = static_cast<QProgressBar*>(GetWidget());
    if (bar == nullptr)
        return;
    // Qt shows an indeterminate bar for an empty range.
    if (mIndeterminate || mMaxValue <= mMinValue) {
        bar->setRange(0, 0);
        return;
    }
    bar->setRange(mMinValue, mMaxValue);
    bar->setValue(std::clamp(mValue, mMinValue, mMaxValue));
}
