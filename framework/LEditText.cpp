#include "framework/LEditText.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

LEditText::LEditText(QLineEdit* field) : LPane(field) {}

SInt32 LEditText::GetValue() const
{
    auto* field = static_cast<QLineEdit*>(GetWidget());
    if (field == nullptr)
        return 0;
    const QByteArray text = field->text().trimmed().toLatin1();
    const long long value = std::strtoll(text.constData(), nullptr, 10);
    return SInt32(std::clamp<long long>(value, std::numeric_limits<SInt32>::min(), std::numeric_limits<SInt32>::max()));
}

void LEditText::SetValue(SInt32 value)
{
    if (auto* field = static_cast<QLineEdit*>(GetWidget()))
        field->setText(QString::number(value));
}

void LEditText::SelectAll()
{
    auto* field = static_cast<QLineEdit*>(GetWidget());
    if (field == nullptr || field->isReadOnly())
        return;
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}
