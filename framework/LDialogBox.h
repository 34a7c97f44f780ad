#pragma once
// A dialog box: a window whose buttons answer the keyboard and the close box. Return
// and Enter press the default button (Qt's default push button, else the one sending
// 900); Escape and the close box press the one sending 901, or the default one where
// there is none, so a modal loop waiting for 900 or 901 always ends.
//
// As a listener of its own buttons (when linked), 900 and 901 close it.

#include "framework/LWindow.h"
#include "platform/LListener.h"

class LStdButton;

class LDialogBox : public LWindow, public LListener {
public:
    explicit LDialogBox(QWidget* widget);

    void ListenToMessage(MessageT message, void* ioParam) override;
    void AttemptClose() override;
    Boolean HandleKeyPress(const EventRecord& event) override;

    LStdButton* GetDefaultButton() const;
    LStdButton* GetCancelButton() const;
};
