#pragma once
// A pop-up menu (Qt's combo box): its value is the current item, numbered from 1
// (0: none). Choosing an item, also from the program, broadcasts.

#include <QComboBox>

#include "framework/LControl.h"

class LPopupButton : public LControl {
public:
    explicit LPopupButton(QComboBox* comboBox);

    SInt32 GetValue() const override;
    // An item that does not exist is not chosen.
    void SetValue(SInt32 item) override;
    SInt32 GetMaxValue() const;

    SInt16 GetCurrentMenuItem() const { return SInt16(GetValue()); }
    void SetCurrentMenuItem(SInt16 item) { SetValue(item); }

    void AppendMenu(ConstStr255Param itemText);
    void DeleteAllMenuItems();
    void GetMenuItemText(SInt16 item, Str255 outText) const;
    void SetMenuItemText(SInt16 item, ConstStr255Param itemText);
    void EnableItem(SInt16 item);
    void DisableItem(SInt16 item);
    Boolean IsItemEnabled(SInt16 item) const;

    // The descriptor is the current item's text.
    void GetDescriptor(Str255 outDescriptor) const override;
    void SetDescriptor(ConstStr255Param) override {}

private:
    QComboBox* ComboBox() const { return static_cast<QComboBox*>(GetWidget()); }
    void SetItemEnabled(SInt16 item, bool enabled);
};
