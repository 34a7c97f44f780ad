#pragma once
// What the window tests share: one Qt application on the offscreen platform for the
// whole test program, the program's test descriptions (tests/<folder>/descriptions),
// a listener that records messages, and grabs saved for a person to look at.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "framework/LPane.h"
#include "framework/UReanimator.h"
#include "platform/LListener.h"
#include "tests/support/TestSupport.h"

namespace windowtest {


class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        // Headless, with a runtime folder of its own so Qt does not complain or share one.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        mRuntimeFolder = std::make_unique<testsupport::TempFolder>();
        std::filesystem::permissions(mRuntimeFolder->Path(), std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", mRuntimeFolder->Path().c_str(), 1);
        mApplication = std::make_unique<QApplication>(mArgc, mArgv);
    }

    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        mApplication.reset();
        mRuntimeFolder.reset();
    }

private:
    int mArgc = 1;
    char mName[16] = "framework_tests";
    char* mArgv[2] = {mName, nullptr};
    std::unique_ptr<testsupport::TempFolder> mRuntimeFolder;
    std::unique_ptr<QApplication> mApplication;
};

inline ::testing::Environment* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

inline std::filesystem::path TestDescriptions()
{
    return TEST_DESCRIPTIONS;
}

inline std::filesystem::path PackageResources()
{
    return testsupport::PackagePath() / "Contents/Resources";
}

// Reads descriptions from `folder` for its scope.
class StResourceFolder {
public:
    explicit StResourceFolder(const std::filesystem::path& folder) : mSaved(UReanimator::GetResourceFolder())
    {
        UReanimator::SetResourceFolder(folder);
    }
    ~StResourceFolder() { UReanimator::SetResourceFolder(mSaved); }

private:
    std::filesystem::path mSaved;
};

struct ReceivedMessage {
    MessageT message;
    SInt32 value; // what the parameter pointed to, for the framework's controls
};

class RecordingListener : public LListener {
public:
    void ListenToMessage(MessageT message, void* ioParam) override
    {
        mReceived.push_back({message, ioParam ? *static_cast<SInt32*>(ioParam) : 0});
    }

    std::vector<ReceivedMessage> mReceived;
};

// A grabbed window, saved for a person to look at.
inline void SaveForInspection(const QImage& image, const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "varno-framework-grabs";
    std::filesystem::create_directories(folder);
    image.save(QString::fromStdString((folder / (name + ".png")).string()));
}

// The part of a grabbed window that the pane's frame covers.
inline QImage PaneInGrab(const QImage& grabbed, const LPane& pane)
{
    Rect frame;
    pane.CalcPortFrameRect(frame);
    const qreal ratio = grabbed.devicePixelRatio();
    return grabbed.copy(QRect(QPoint(frame.left, frame.top) * ratio,
                              QSize(frame.right - frame.left, frame.bottom - frame.top) * ratio));
}

// The dialog of that class that is up, or null.
template <typename Dialog>
Dialog* OpenDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<Dialog*>(widget); dialog != nullptr && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

} // namespace windowtest
