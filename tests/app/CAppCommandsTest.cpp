// The application object in this process, on the package's resources: its commands
// (help, the web pages, the about box), the welcome window's time, and a quit refused
// while a window is busy.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTimer>

#include "app/CApp.h"
#include "framework/LStdButton.h"
#include "framework/UDesktop.h"
#include "framework/URegistrar.h"
#include "platform/DateTimeUtils.h"
#include "platform/InternetConfig.h"
#include "platform/MacRoman.h"
#include "platform/Resources.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/CWindow.h"

namespace {

using namespace windowtest;
namespace fs = std::filesystem;

class BusyWindow : public CWindow {
public:
    using CWindow::CWindow;
    Boolean IsBusy() override { return true; }
};

class CAppCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetResourceFolderForTesting(PackageResources().string());
        setenv("XDG_CONFIG_HOME", mConfig.Path().c_str(), 1);
        mOpener = mConfig.WriteFile("opener", "#!/bin/sh\nprintf '%s' \"$1\" > '" + mRecord.string() + ".part' && mv '" +
                                                  mRecord.string() + ".part' '" + mRecord.string() + "'\n",
                                    0755);
        ICSetURLOpenerForTesting(mOpener.c_str());
        mApplication = std::make_unique<CApp>();
    }

    void TearDown() override
    {
        mApplication.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ICSetURLOpenerForTesting("xdg-open");
        SetTickCountForTesting(std::nullopt);
        SetResourceFolderForTesting("");
        unsetenv("XDG_CONFIG_HOME");
    }

    std::string Opened()
    {
        testsupport::WaitUntil([&] { return fs::exists(mRecord); });
        const std::string opened = fs::exists(mRecord) ? testsupport::ReadFile(mRecord) : std::string();
        fs::remove(mRecord);
        return opened;
    }

    static std::vector<LWindow*> WindowsWithID(PaneIDT id)
    {
        std::vector<LWindow*> found;
        for (LWindow* window : UDesktop::GetWindowList()) {
            if (window->GetPaneID() == id)
                found.push_back(window);
        }
        return found;
    }

    static std::string PaneText(LWindow* window, PaneIDT paneID)
    {
        Str255 text;
        window->FindPaneByID(paneID)->GetDescriptor(text);
        return UTF8FromMacRoman(Str255View(text));
    }

    StResourceFolder mDescriptions{PackageResources()};
    testsupport::TempFolder mConfig;
    fs::path mRecord = mConfig / "opened";
    fs::path mOpener;
    std::unique_ptr<CApp> mApplication;
};

TEST_F(CAppCommandsTest, WebCommandsOpenTheirPages)
{
    const struct {
        CommandT command;
        const char* page;
    } cases[] = {
        {CommandT(MakeOSType("WebS")), "https://varno.example.org/"},
        {CommandT(MakeOSType("upda")), "https://varno.example.org/update"},
        {-9975489, "https://varno.example.org/update"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(mApplication->ObeyCommand(c.command, nullptr)) << c.page;
        EXPECT_EQ(Opened(), c.page);
    }
}

TEST_F(CAppCommandsTest, HelpWithoutItsFileOffersTheUpdatePage)
{
    ASSERT_FALSE(fs::exists("/Varno Help.html"));
    std::string shown;
    QTimer::singleShot(100, [&] {
        const std::vector<LWindow*> alerts = WindowsWithID(CApp::kHelpMissingAlert);
        if (alerts.empty())
            return;
        shown = PaneText(alerts.front(), 3);
        auto* dialog = dynamic_cast<LDialogBox*>(alerts.front());
        qobject_cast<QAbstractButton*>(dialog->GetDefaultButton()->GetWidget())->click();
    });
    Boolean enabled = false;
    mApplication->FindCommandStatus(CommandT(MakeOSType("HeLp")), enabled);
    EXPECT_TRUE(enabled);
    mApplication->ObeyCommand(CommandT(MakeOSType("HeLp")), nullptr);
    EXPECT_NE(shown.find("“Varno Help.html”"), std::string::npos) << shown;
    EXPECT_EQ(Opened(), "https://varno.example.org/update");
}

TEST_F(CAppCommandsTest, AboutBoxIsOneWindowWithTheVersion)
{
    mApplication->ObeyCommand(cmd_About, nullptr);
    mApplication->ObeyCommand(cmd_About, nullptr);
    const std::vector<LWindow*> about = WindowsWithID(CApp::kAboutID);
    ASSERT_EQ(about.size(), 1u);
    EXPECT_EQ(PaneText(about.front(), 2), "Version 0.1");
    EXPECT_EQ(PaneText(about.front(), 3), "") << "the other strings are empty";
    SaveForInspection(about.front()->GetWidget()->grab().toImage(), "about-25001");
}

TEST_F(CAppCommandsTest, WelcomeWindowClosesAfterItsTime)
{
    SetTickCountForTesting(5000);
    mApplication->DisplayWelcome();
    CWindow* welcome = mApplication->GetWelcomeWindow();
    ASSERT_NE(welcome, nullptr);
    EXPECT_EQ(PaneText(welcome, 2), "Version 0.1");
    const auto spendAt = [&](UInt32 tick) {
        SetTickCountForTesting(tick);
        EventRecord event;
        event.when = tick;
        mApplication->SpendTime(event);
    };
    spendAt(5099);
    EXPECT_TRUE(CWindow::CheckIfWindowExists(welcome));
    spendAt(5106);
    EXPECT_FALSE(CWindow::CheckIfWindowExists(welcome));
    EXPECT_EQ(mApplication->GetWelcomeWindow(), nullptr);
}

TEST_F(CAppCommandsTest, QuitSavesThePreferencesAndWaitsForBusyWindows)
{
    URegistrar::RegisterClass<BusyWindow>(MakeOSType("Dlog"));
    LWindow* busy = LWindow::CreateWindow(CApp::kCannotGoOnAlert, mApplication.get());
    URegistrar::RegisterClass<CWindow>(MakeOSType("Dlog"));
    EXPECT_FALSE(mApplication->AttemptQuitSelf(0));
    EXPECT_EQ(fs::file_size(mConfig / "Varno Preferences"), PreferencesStruct::kSize);
    delete busy;
    EXPECT_TRUE(mApplication->AttemptQuitSelf(0));
}

} // namespace
