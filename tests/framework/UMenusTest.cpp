#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include <vector>

#include "framework/LCommander.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

using namespace frameworktest;

// Obeys and enables "Copy" only.
class CopyCommander : public LCommander {
public:
    Boolean ObeyCommand(CommandT command, void* ioParam) override
    {
        mObeyed.push_back(command);
        return command == CommandT(MakeOSType("Copy")) || LCommander::ObeyCommand(command, ioParam);
    }

    void FindCommandStatus(CommandT command, Boolean& outEnabled) override
    {
        outEnabled = command == CommandT(MakeOSType("Copy"));
    }

    std::vector<CommandT> mObeyed;
};

TEST(UMenus, MenuItemsSendTheirCommandsToTheTargetWhenEnabled)
{
    StResourceFolder descriptions(TestDescriptions());
    CopyCommander application;
    LWindow* window = LWindow::CreateWindow(1007, &application);
    LCommander::SwitchTarget(window);
    auto* copy = window->GetWidget()->findChild<QAction*>("actionCopy");
    auto* paste = window->GetWidget()->findChild<QAction*>("actionPaste");
    auto* menu = window->GetWidget()->findChild<QMenu*>("menuEdit");
    ASSERT_TRUE(copy && paste && menu);

    window->Show();
    SaveForInspection(window->GetWidget()->grab().toImage(), "window-menus");
    QMetaObject::invokeMethod(menu, "aboutToShow");
    EXPECT_TRUE(copy->isEnabled());
    EXPECT_FALSE(paste->isEnabled());
    QMetaObject::invokeMethod(menu, "aboutToHide");

    copy->trigger();
    paste->trigger(); // by its shortcut, say: the status is asked again
    EXPECT_EQ(application.mObeyed, std::vector<CommandT>{CommandT(MakeOSType("Copy"))});
}

} // namespace
