#pragma once
// A caption: a text pane that is not a control (class ID 'capt'). Its text is shown
// as it is, never as markup.

#include <QLabel>

#include "framework/LPane.h"

class LCaption : public LPane {
public:
    explicit LCaption(QLabel* label);
};
