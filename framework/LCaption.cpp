#include "framework/LCaption.h"

LCaption::LCaption(QLabel* label) : LPane(label)
{
    label->setTextFormat(Qt::PlainText);
}
