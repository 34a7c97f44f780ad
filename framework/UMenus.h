#pragma once
// Menus of a window description: a QAction with the property `command` (a number, or a
// four-character code) sends that command to the target commander when chosen. While a
// menu is open its items show whether their commands are enabled now; the command
// is checked again when sent, so a shortcut never runs a disabled command.

class QWidget;

class UMenus {
public:
    static void ConnectCommands(QWidget* root);
};
