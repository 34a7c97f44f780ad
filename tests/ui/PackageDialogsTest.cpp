#include <gtest/gtest.h>

#include <string>

#include "framework/LProgressBar.h"
#include "framework/LStdButton.h"
#include "framework/StDialogHandler.h"
#include "tests/ui/UiTestSupport.h"

namespace {

using namespace uitest;

TEST(PackageDialogs, AreWindowsWithThePanesTheirCallersUse)
{
    RegisterWindowClass();
    StResourceFolder resources(PackageResources());
    struct Case {
        ResIDT dialog;
        PaneIDT button;
        MessageT message;
    };
    const Case cases[] = {
        {21998, 2, msg_Cancel}, // the progress dialog's stop button
        {24900, 1, msg_OK},
        {24900, 2, msg_Cancel},
    };
    for (const Case& c : cases) {
        StDialogHandler handler(c.dialog, nullptr);
        EXPECT_NE(dynamic_cast<CWindow*>(handler.GetDialog()), nullptr) << c.dialog;
        auto* button = dynamic_cast<LStdButton*>(handler.GetDialog()->FindPaneByID(c.button));
        ASSERT_NE(button, nullptr) << c.dialog << "/" << c.button;
        EXPECT_EQ(button->GetValueMessage(), c.message) << c.dialog << "/" << c.button;
        handler.GetDialog()->Show();
        SaveForInspection(handler.GetDialog()->GetWidget()->grab().toImage(), "dialog-" + std::to_string(c.dialog));
    }
    StDialogHandler progress(21998, nullptr);
    EXPECT_NE(dynamic_cast<LProgressBar*>(progress.GetDialog()->FindPaneByID(1)), nullptr);
}

} // namespace
