#include "framework/LPopupButton.h"

#include <QStandardItemModel>

#include "framework/UPascalText.h"

LPopupButton::LPopupButton(QComboBox* comboBox) : LControl(comboBox)
{
    TrackConnection(QObject::connect(comboBox, &QComboBox::currentIndexChanged, [this] { BroadcastValueMessage(); }));
}

SInt32 LPopupButton::GetValue() const
{
    return ComboBox() != nullptr ? ComboBox()->currentIndex() + 1 : 0;
}

void LPopupButton::SetValue(SInt32 item)
{
    if (item >= 1 && item <= GetMaxValue())
        ComboBox()->setCurrentIndex(item - 1);
}

SInt32 LPopupButton::GetMaxValue() const
{
    return ComboBox() != nullptr ? ComboBox()->count() : 0;
}

void LPopupButton::AppendMenu(ConstStr255Param itemText)
{
    if (ComboBox() != nullptr)
        ComboBox()->addItem(UPascalText::ToQString(itemText));
}

void LPopupButton::DeleteAllMenuItems()
{
    if (ComboBox() != nullptr)
        ComboBox()->clear();
}

void LPopupButton::GetMenuItemText(SInt16 item, Str255 outText) const
{
    const bool exists = item >= 1 && item <= GetMaxValue();
    UPascalText::FromQString(exists ? ComboBox()->itemText(item - 1) : QString(), outText);
}

void LPopupButton::SetMenuItemText(SInt16 item, ConstStr255Param itemText)
{
    if (item >= 1 && item <= GetMaxValue())
        ComboBox()->setItemText(item - 1, UPascalText::ToQString(itemText));
}

void LPopupButton::EnableItem(SInt16 item)
{
    SetItemEnabled(item, true);
}

void LPopupButton::DisableItem(SInt16 item)
{
    SetItemEnabled(item, false);
}

Boolean LPopupButton::IsItemEnabled(SInt16 item) const
{
    if (item < 1 || item > GetMaxValue())
        return false;
    auto* model = qobject_cast<QStandardItemModel*>(ComboBox()->model());
    return model == nullptr || model->item(item - 1)->isEnabled();
}

void LPopupButton::GetDescriptor(Str255 outDescriptor) const
{
    GetMenuItemText(SInt16(GetValue()), outDescriptor);
}

void LPopupButton::SetItemEnabled(SInt16 item, bool enabled)
{
    if (item < 1 || item > GetMaxValue())
        return;
    if (auto* model = qobject_cast<QStandardItemModel*>(ComboBox()->model()))
        model->item(item - 1)->setEnabled(enabled);
}
