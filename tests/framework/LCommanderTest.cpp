#include <gtest/gtest.h>

#include <QKeyEvent>

#include <set>
#include <string>
#include <vector>

#include "framework/LApplication.h"
#include "framework/LCommander.h"
#include "framework/LWindow.h"
#include "tests/support/WindowTestSupport.h"
#include "toolkit/UDiv.h"

namespace {

// Obeys and enables the commands it is given, and records what reached it.
class TestCommander : public LCommander {
public:
    TestCommander(const char* name, LCommander* super, std::set<CommandT> commands, std::vector<std::string>* log,
                  bool* deleted = nullptr)
        : LCommander(super), mName(name), mCommands(std::move(commands)), mLog(log), mDeleted(deleted)
    {
    }
    ~TestCommander() override
    {
        if (mDeleted)
            *mDeleted = true;
    }

    Boolean ObeyCommand(CommandT command, void* ioParam) override
    {
        if (!mCommands.contains(command))
            return LCommander::ObeyCommand(command, ioParam);
        mLog->push_back(mName);
        return true;
    }

    void FindCommandStatus(CommandT command, Boolean& outEnabled) override
    {
        if (mCommands.contains(command))
            outEnabled = true;
        else
            LCommander::FindCommandStatus(command, outEnabled);
    }

    Boolean AttemptQuitSelf(SInt32) override { return mMayQuit; }

    bool mMayQuit = true;

private:
    std::string mName;
    std::set<CommandT> mCommands;
    std::vector<std::string>* mLog;
    bool* mDeleted;
};

class LCommanderTest : public ::testing::Test {
protected:
    LCommanderTest()
    {
        LCommander::SetTopCommander(&mTop);
        LCommander::SwitchTarget(nullptr);
    }

    std::vector<std::string> mLog;
    TestCommander mTop{"top", nullptr, {1, 10}, &mLog};
};

TEST_F(LCommanderTest, CommandGoesUpFromTheTargetToTheFirstThatObeysIt)
{
    auto* window = new TestCommander("window", &mTop, {20}, &mLog);
    auto* list = new TestCommander("list", window, {30}, &mLog);
    LCommander::SwitchTarget(list);

    struct Case {
        CommandT command;
        const char* obeyedBy; // null: nobody, and it is disabled
    };
    const Case cases[] = {{30, "list"}, {20, "window"}, {10, "top"}, {99, nullptr}};
    for (const Case& c : cases) {
        mLog.clear();
        EXPECT_EQ(LCommander::IsCommandEnabled(c.command), c.obeyedBy != nullptr) << c.command;
        EXPECT_EQ(LCommander::ProcessCommand(c.command), c.obeyedBy != nullptr) << c.command;
        EXPECT_EQ(mLog, c.obeyedBy ? std::vector<std::string>{c.obeyedBy} : std::vector<std::string>{}) << c.command;
    }
}

TEST_F(LCommanderTest, DeletingACommanderDeletesItsSubsAndHandsTheTargetUp)
{
    bool windowDeleted = false, listDeleted = false;
    auto* window = new TestCommander("window", &mTop, {}, &mLog, &windowDeleted);
    auto* list = new TestCommander("list", window, {}, &mLog, &listDeleted);
    LCommander::SwitchTarget(list);
    EXPECT_TRUE(window->IsOnDuty());

    delete window;
    EXPECT_TRUE(listDeleted);
    EXPECT_EQ(LCommander::GetTarget(), &mTop);
    EXPECT_TRUE(mTop.GetSubCommanders().empty());
    EXPECT_TRUE(windowDeleted);
}

TEST_F(LCommanderTest, TargetGoesToTheLatentSubCommander)
{
    auto* window = new TestCommander("window", &mTop, {}, &mLog);
    auto* list = new TestCommander("list", window, {}, &mLog);
    window->SetLatentSub(list);
    LCommander::SwitchTarget(window);
    EXPECT_EQ(LCommander::GetTarget(), list);
    delete list;
    EXPECT_EQ(window->GetLatentSub(), nullptr);
    delete window;
}

TEST_F(LCommanderTest, QuitNeedsTheConsentOfEverySubCommander)
{
    auto* window = new TestCommander("window", &mTop, {}, &mLog);
    auto* busy = new TestCommander("busy", window, {}, &mLog);
    busy->mMayQuit = false;
    EXPECT_FALSE(mTop.AttemptQuit(0));
    busy->mMayQuit = true;
    EXPECT_TRUE(mTop.AttemptQuit(0));
    delete window;
}

class QuittingApplication : public LApplication {
public:
    int mStartUps = 0;

protected:
    void StartUp() override
    {
        ++mStartUps;
        ProcessCommand(cmd_Quit);
    }
};

TEST(LApplication, RunEndsWhenQuitIsObeyed)
{
    QuittingApplication application;
    EXPECT_EQ(LCommander::GetTopCommander(), &application);
    application.Run();
    EXPECT_EQ(application.mStartUps, 1);
    EXPECT_TRUE(application.IsQuitting());
}

TEST(LApplication, GivesTheToolkitTheKeyboard)
{
    windowtest::StResourceFolder descriptions(windowtest::TestDescriptions());
    LApplication application;
    LWindow* window = LWindow::CreateWindow(1005, nullptr);
    auto send = [window](QEvent::Type type) {
        QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(window->GetWidget(), &key);
    };
    send(QEvent::KeyPress);
    EXPECT_TRUE(UDiv::SpaceBarDown());
    send(QEvent::KeyRelease);
    EXPECT_FALSE(UDiv::SpaceBarDown());
    EXPECT_FALSE(UDiv::OptionKeyDown());
    delete window;
}

} // namespace
