#include <gtest/gtest.h>

#include <set>

#include "filesystem/UFile.h"
#include "framework/LWindow.h"
#include "framework/URegistrar.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/CFileIconRef.h"

namespace {

using namespace windowtest;

bool HasDrawing(const QImage& image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    }
    return colours.size() > 1;
}

FSSpec SpecOf(const std::filesystem::path& path)
{
    FSRef ref;
    FSSpec spec{};
    EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(path.c_str()), &ref, nullptr), noErr) << path;
    EXPECT_EQ(UFile::ConvertFSRefToFSSpec(&ref, &spec), noErr) << path;
    return spec;
}

TEST(CFileIconRef, ShowsTheItemsIconAndTheFolderIconWithoutOne)
{
    testsupport::TempFolder folder;
    const FSSpec file = SpecOf(folder.WriteFile("notes.txt", "x"));
    std::filesystem::create_directory(folder / "Documents");
    const FSSpec subfolder = SpecOf(folder / "Documents");
    const FSSpec gone = SpecOf(folder.WriteFile("gone.txt", "x"));
    std::filesystem::remove(folder / "gone.txt");

    StResourceFolder descriptions(TestDescriptions());
    URegistrar::RegisterClass<CFileIconRef>(MakeOSType("icRf"));
    LWindow* window = LWindow::CreateWindow(3005, nullptr);
    ASSERT_NE(window, nullptr);
    const auto pane = [window](PaneIDT paneID) { return dynamic_cast<CFileIconRef*>(window->FindPaneByID(paneID)); };
    for (PaneIDT paneID : {1, 2, 3, 4})
        ASSERT_NE(pane(paneID), nullptr) << "pane " << paneID;
    pane(2)->SetIconFSSpec(&subfolder);
    pane(3)->SetIconFSSpec(&file);
    pane(4)->SetIconFSSpec(&gone);
    window->Show();
    const QImage grabbed = window->GetWidget()->grab().toImage();
    SaveForInspection(grabbed, "file-icons");

    const QImage none = PaneInGrab(grabbed, *pane(1));
    const QImage folderIcon = PaneInGrab(grabbed, *pane(2));
    EXPECT_TRUE(HasDrawing(none)) << "no item: the folder icon";
    EXPECT_TRUE(HasDrawing(folderIcon));
    EXPECT_TRUE(HasDrawing(PaneInGrab(grabbed, *pane(3))));
    EXPECT_EQ(none, folderIcon) << "no item shows the generic folder icon";
    EXPECT_EQ(PaneInGrab(grabbed, *pane(4)), folderIcon) << "an item that is gone shows the generic folder icon";
    EXPECT_NE(PaneInGrab(grabbed, *pane(3)), folderIcon) << "a file has a document's icon";

    pane(3)->SetIconFSSpec(nullptr);
    EXPECT_EQ(PaneInGrab(window->GetWidget()->grab().toImage(), *pane(3)), folderIcon) << "a cleared item";
    delete window;
}

} // namespace
