#pragma once
// A text the user reads (Qt's label); a control, so that a description can give it a
// message. Its text is shown as it is, never as markup: names of files may hold "<".

#include <QLabel>

#include "framework/LControl.h"

class LStaticText : public LControl {
public:
    explicit LStaticText(QLabel* label);
};
