#include <gtest/gtest.h>

#include <QProgressBar>

#include "framework/LStdButton.h"
#include "framework/LWindow.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CProgressDialog.h"

namespace {

using namespace uitest;

TEST(CProgressDialog, ShowsProgressAndAnswersTheStopButton)
{
    RegisterWindowClass();
    StResourceFolder resources(PackageResources());
    CProgressDialog progress(21998, nullptr);
    EXPECT_EQ(progress.WantToStop(32, 128), msg_Nothing);
    LWindow* dialog = progress.GetDialog();
    EXPECT_TRUE(dialog->IsVisible());
    auto* bar = qobject_cast<QProgressBar*>(dialog->FindPaneByID(1)->GetWidget());
    EXPECT_EQ(bar->maximum(), 128);
    EXPECT_EQ(bar->value(), 32);
    SaveForInspection(dialog->GetWidget()->grab().toImage(), "progress-21998");

    auto* stop = dynamic_cast<LStdButton*>(dialog->FindPaneByID(2));
    stop->SimulateHotSpotClick();
    EXPECT_NE(progress.WantToStop(64, 128), msg_Nothing) << "the stop button was pressed";
    EXPECT_EQ(progress.WantToStop(96, 128), msg_Nothing) << "one press, one answer";

    progress.SetItemEnable(2, false);
    stop->SimulateHotSpotClick();
    EXPECT_EQ(progress.WantToStop(128, 128), msg_Nothing) << "a disabled stop button was pressed";
}

} // namespace
