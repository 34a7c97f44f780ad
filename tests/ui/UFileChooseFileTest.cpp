#include <gtest/gtest.h>

#include <QFileDialog>
#include <QTimer>

#include <functional>

#include "filesystem/UFile.h"
#include "tests/support/WindowTestSupport.h"

namespace {

using namespace windowtest;

// Answers the file dialog once it is up: chooses `path`, or cancels when it is empty.
// `showsInvisible` receives whether the dialog lists invisible files.
void AnswerDialog(const std::filesystem::path& path, bool* showsInvisible = nullptr)
{
    QTimer::singleShot(0, [path, showsInvisible] {
        QFileDialog* dialog = OpenDialog<QFileDialog>();
        if (dialog == nullptr)
            return;
        if (showsInvisible)
            *showsInvisible = dialog->filter().testFlag(QDir::Hidden);
        if (path.empty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(QString::fromStdString(path.string()));
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

std::string PathOf(const FSSpec& spec)
{
    char path[1024];
    return UFile::CreatePathFromFSSpec(&spec, path, sizeof path) ? path : "";
}

constexpr OSType kApplication = MakeOSType("APPL");

class UFileChooseFileTest : public ::testing::Test {
protected:
    testsupport::TempFolder mFolder;
    // An executable without Finder information is an application.
    const std::filesystem::path mProgram = mFolder.WriteFile("program", std::string("\x7f" "ELF", 4), 0755);
    const std::filesystem::path mNotes = mFolder.WriteFile("notes.txt", "x");
};

TEST_F(UFileChooseFileTest, AnswersTheChosenFile)
{
    using Choose = std::function<Boolean(FSSpec*)>;
    struct Case {
        const char* what;
        Choose choose;
        std::filesystem::path answer;
        bool chosen;
    };
    const Case cases[] = {
        {"any file", [](FSSpec* out) { return UFile::ChooseFile(out, false); }, mNotes, true},
        {"no types: any file", [](FSSpec* out) { return UFile::ChooseFile(out, false, 0, kApplication); }, mNotes, true},
        {"a file of a type asked for", [](FSSpec* out) { return UFile::ChooseFile(out, false, MakeOSType("TEXT"), kApplication); }, mProgram, true},
        {"a file of another type", [](FSSpec* out) { return UFile::ChooseFile(out, false, kApplication); }, mNotes, false},
        {"cancelled", [](FSSpec* out) { return UFile::ChooseFile(out, false); }, {}, false},
    };
    for (const Case& c : cases) {
        FSSpec out{};
        out.vRefNum = 7;
        AnswerDialog(c.answer);
        EXPECT_EQ(c.choose(&out), c.chosen) << c.what;
        if (c.chosen)
            EXPECT_EQ(PathOf(out), c.answer.string()) << c.what;
        else
            EXPECT_EQ(out.vRefNum, 7) << c.what << ": the FSSpec is left alone";
    }
}

TEST_F(UFileChooseFileTest, ListsInvisibleFilesOnlyWhenAsked)
{
    for (bool invisible : {false, true}) {
        for (OSType type : {OSType(0), kApplication}) {
            bool shows = !invisible;
            FSSpec out{};
            AnswerDialog({}, &shows);
            UFile::ChooseFile(&out, invisible, type);
            EXPECT_EQ(shows, invisible) << "asked: " << invisible << ", type filter: " << (type != 0);
        }
    }
}

} // namespace
