#pragma once
// A one-line text field. Its value is its text read as a decimal number.

#include <QLineEdit>

#include "framework/LPane.h"

class LEditText : public LPane {
public:
    explicit LEditText(QLineEdit* field);

    // Optional sign and digits, as far as they go; 0 when there are none.
    SInt32 GetValue() const override;
    void SetValue(SInt32 value) override;
    // Makes it the keyboard focus and selects its whole text.
    void SelectAll();
};
