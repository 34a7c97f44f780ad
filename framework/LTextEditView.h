#pragma once
// A text of several lines (Qt's plain or rich text edit); its descriptor is the plain
// text, cut to 255 bytes.

#include <QWidget>

#include "framework/LPane.h"

class LTextEditView : public LPane {
public:
    explicit LTextEditView(QWidget* textEdit);

    void GetDescriptor(Str255 outDescriptor) const override;
    void SetDescriptor(ConstStr255Param text) override;
};
