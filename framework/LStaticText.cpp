#include "framework/LStaticText.h"

LStaticText::LStaticText(QLabel* label) : LControl(label)
{
    label->setTextFormat(Qt::PlainText);
}
