#include "framework/UKeyboard.h"

#include <QApplication>
#include <QGuiApplication>

namespace {

Boolean sSpaceBarDown = false;

} // namespace

Boolean UKeyboard::IsKeyDown(SInt16 keyCode)
{
    const Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
    switch (keyCode) {
    case kCommandKey:
        return modifiers.testFlag(Qt::ControlModifier);
    case kOptionKey:
        return modifiers.testFlag(Qt::AltModifier);
    case kControlKey:
        return modifiers.testFlag(Qt::MetaModifier);
    case kSpaceBar:
        return sSpaceBarDown;
    default:
        return false;
    }
}

void UKeyboard::Beep(SInt16)
{
    QApplication::beep();
}

void UKeyboard::SetSpaceBarDown(Boolean down)
{
    sSpaceBarDown = down;
}
