#include "framework/LTextEditView.h"

#include <QVariant>

#include "framework/UPascalText.h"

// Both of Qt's text edits have the property; rich text is never interpreted from ours.
LTextEditView::LTextEditView(QWidget* textEdit) : LPane(textEdit) {}

void LTextEditView::GetDescriptor(Str255 outDescriptor) const
{
    UPascalText::FromQString(GetWidget() ? GetWidget()->property("plainText").toString() : QString(), outDescriptor);
}

void LTextEditView::SetDescriptor(ConstStr255Param text)
{
    if (GetWidget())
        GetWidget()->setProperty("plainText", UPascalText::ToQString(text));
}
