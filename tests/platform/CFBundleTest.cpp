// Bundles: a folder whose Contents/MacOS executable is a shared library.

#include "platform/CFBundle.h"

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace {

TEST(CFBundleTest, LoadsThePackagesBundleAndFindsItsFunction)
{
    CFBundleRef bundle = CFBundleCreate(testsupport::AuthorizationBundlePath().string());
    ASSERT_NE(bundle, nullptr);
    EXPECT_TRUE(CFBundleLoadExecutable(bundle));
    EXPECT_NE(CFBundleGetFunctionPointerForName(bundle, "ToolX"), nullptr);
    EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle, "NoSuchFunction"), nullptr);
    CFRelease(bundle);
}

TEST(CFBundleTest, FolderWithoutContentsIsNoBundle)
{
    testsupport::TempFolder folder;
    EXPECT_EQ(CFBundleCreate(folder.Path().string()), nullptr);
    std::filesystem::create_directories(folder / "Empty.bundle/Contents");
    CFBundleRef empty = CFBundleCreate((folder / "Empty.bundle").string());
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(CFBundleLoadExecutable(empty));
    EXPECT_EQ(CFBundleGetFunctionPointerForName(empty, "ToolX"), nullptr);
    CFRelease(empty);
}

} // namespace
