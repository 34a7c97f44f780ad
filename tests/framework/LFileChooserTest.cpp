#include <gtest/gtest.h>

#include <QFileDialog>
#include <QTimer>

#include <functional>

#include "framework/LFileChooser.h"
#include "tests/support/WindowTestSupport.h"

namespace {

using namespace windowtest;

// Runs the chooser while `answer` acts on its dialog; answers the chooser's result.
bool Choose(LFileChooser& chooser, const std::function<void(QFileDialog&)>& answer, std::string& path,
            QDir::Filters* seenFilter = nullptr)
{
    QTimer::singleShot(0, [&] {
        QFileDialog* dialog = OpenDialog<QFileDialog>();
        if (dialog == nullptr)
            return;
        if (seenFilter)
            *seenFilter = dialog->filter();
        answer(*dialog);
    });
    return chooser.AskChooseOneFile(path);
}

TEST(LFileChooser, AnswersTheChosenFileOrNothingWhenCancelled)
{
    testsupport::TempFolder folder;
    const auto notes = folder.WriteFile("notes.txt", "x");
    folder.WriteFile("data.bin", "x");
    LFileChooser chooser;
    chooser.SetFileFilter([](const std::string& path) { return path.ends_with(".txt"); });

    struct Case {
        const char* what;
        std::function<void(QFileDialog&)> answer;
        bool chosen;
    };
    const Case cases[] = {
        {"a file the filter accepts", [&](QFileDialog& d) { d.selectFile(QString::fromStdString(notes.string())); QMetaObject::invokeMethod(&d, "accept"); }, true},
        {"a file the filter refuses, typed in",
         [&](QFileDialog& d) { d.selectFile(QString::fromStdString((folder / "data.bin").string())); QMetaObject::invokeMethod(&d, "accept"); }, false},
        {"cancelled", [](QFileDialog& d) { d.reject(); }, false},
    };
    for (const Case& c : cases) {
        std::string path = "untouched";
        EXPECT_EQ(Choose(chooser, c.answer, path), c.chosen) << c.what;
        EXPECT_EQ(path, c.chosen ? notes.string() : "untouched") << c.what;
    }
}

TEST(LFileChooser, ShowsInvisibleFilesOnlyWhenAsked)
{
    for (bool invisible : {false, true}) {
        LFileChooser chooser;
        chooser.SetOptionFlags(invisible ? UInt32(LFileChooser::kNavAllowInvisibleFiles) : 0u);
        std::string path;
        QDir::Filters filter;
        Choose(chooser, [](QFileDialog& d) { d.reject(); }, path, &filter);
        EXPECT_EQ(filter.testFlag(QDir::Hidden), invisible) << "asked: " << invisible;
    }
}

} // namespace
