#include "framework/UMenus.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "framework/LCommander.h"
#include "framework/LPane.h"

namespace {

CommandT CommandOf(const QAction* action)
{
    return LPane::GetNumberProperty(action, "command", cmd_Nothing);
}

} // namespace

void UMenus::ConnectCommands(QWidget* root)
{
    for (QAction* action : root->findChildren<QAction*>()) {
        if (CommandOf(action) == cmd_Nothing)
            continue;
        QObject::connect(action, &QAction::triggered, action, [action] {
            LCommander::ProcessCommand(CommandOf(action));
        });
    }
    for (QMenu* menu : root->findChildren<QMenu*>()) {
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
            for (QAction* action : menu->actions()) {
                if (const CommandT command = CommandOf(action); command != cmd_Nothing)
                    action->setEnabled(LCommander::IsCommandEnabled(command));
            }
        });
        QObject::connect(menu, &QMenu::aboutToHide, menu, [menu] {
            for (QAction* action : menu->actions()) {
                if (CommandOf(action) != cmd_Nothing)
                    action->setEnabled(true);
            }
        });
    }
}
