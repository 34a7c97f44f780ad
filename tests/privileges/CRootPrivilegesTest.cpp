#include "privileges/CRootPrivileges.h"

#include <gtest/gtest.h>

#include "tests/privileges/PrivilegesTestSupport.h"

using namespace testsupport;
using namespace privilegestest;
using filestest::PString;

namespace {

// An FSSpec of `name` in `folder`, also when the item does not exist.
FSSpec SpecIn(const std::filesystem::path& folder, const std::string& name)
{
    const FSSpec parent = SpecOf(folder);
    FSSpec spec{};
    FSMakeFSSpec(parent.vRefNum, filestest::FolderID(folder), PString(name), &spec);
    return spec;
}

// A file whose POSIX path is exactly `length` bytes long, in folders below `folder`.
std::filesystem::path FileWithPathLength(const std::filesystem::path& folder, std::size_t length)
{
    constexpr std::size_t kLongestName = 255;
    std::filesystem::path parent = folder;
    while (length - parent.string().size() - 1 > kLongestName)
        parent /= std::string(200, 'd');
    std::filesystem::create_directories(parent);
    const std::filesystem::path file = parent / std::string(length - parent.string().size() - 1, 'f');
    std::ofstream(file) << "x";
    return file;
}

class CRootPrivilegesInstallTest : public testing::Test {
protected:
    Boolean Install() { return mClient.Install(&mBundleSpec, PString("RootActionTool")); }

    TempFolder mFolder;
    const std::filesystem::path mBundle = CopyBundle(mFolder.Path());
    const FSSpec mBundleSpec = SpecIn(mFolder.Path(), "AuthorizationBundle.bundle");
    CRootPrivileges mClient;
};

TEST_F(CRootPrivilegesInstallTest, InstallMakesTheToolExecutable)
{
    for (const mode_t mode : {0600, 04700, 0755}) {
        SCOPED_TRACE(testing::Message() << std::oct << mode);
        CopyTool(mBundle, geteuid(), mode);
        EXPECT_TRUE(Install());
        EXPECT_EQ(ModeOf(ToolIn(mBundle)), mode | 0755);
    }
}

TEST_F(CRootPrivilegesInstallTest, InstallFailsWithoutToolOrEntryPoint)
{
    namespace fs = std::filesystem;
    struct Case {
        const char* name;
        void (*damage)(const fs::path& bundle);
    };
    const Case cases[] = {
        {"no bundle", [](const fs::path& bundle) { fs::remove_all(bundle); }},
        {"bundle is a file",
         [](const fs::path& bundle) {
             fs::remove_all(bundle);
             std::ofstream(bundle) << "x";
         }},
        {"no Contents", [](const fs::path& bundle) { fs::remove_all(bundle / "Contents"); }},
        {"no Resources", [](const fs::path& bundle) { fs::remove_all(bundle / "Contents/Resources"); }},
        {"Resources is a file",
         [](const fs::path& bundle) {
             fs::remove_all(bundle / "Contents/Resources");
             std::ofstream(bundle / "Contents/Resources") << "x";
         }},
        {"no tool", [](const fs::path& bundle) { fs::remove(ToolIn(bundle)); }},
        {"no executable", [](const fs::path& bundle) { fs::remove_all(bundle / "Contents/MacOS"); }},
        {"executable is not a library",
         [](const fs::path& bundle) { std::ofstream(bundle / "Contents/MacOS/AuthorizationBundle") << "text"; }},
        {"library without ToolX",
         [](const fs::path& bundle) {
             fs::copy_file(WITHOUT_TOOLX, bundle / "Contents/MacOS/AuthorizationBundle",
                           fs::copy_options::overwrite_existing);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const fs::path bundle = CopyBundle(folder.Path());
        CopyTool(bundle, geteuid(), 0755);
        c.damage(bundle);
        const FSSpec spec = SpecIn(folder.Path(), "AuthorizationBundle.bundle");
        CRootPrivileges client;
        EXPECT_FALSE(client.Install(&spec, PString("RootActionTool")));
        EXPECT_FALSE(client.ToolHasRootPrivileges());
        EXPECT_EQ(client.SendToBundle(kRootSelectorUser, nullptr, nullptr, nullptr), 0);
    }
}

class CRootPrivilegesTest : public CRootPrivilegesInstallTest {
protected:
    void SetUp() override
    {
        if (!RunningAsRoot())
            GTEST_SKIP() << "a privileged tool is owned by root";
    }

    // The spy in the tool's place, installed.
    void InstallSpy(uid_t uid, mode_t mode)
    {
        WriteSpyTool(mBundle, mRecord, uid, mode);
        ASSERT_TRUE(Install());
    }

    void InstallTool(uid_t uid, mode_t mode)
    {
        CopyTool(mBundle, uid, mode);
        ASSERT_TRUE(Install());
    }

    bool SpyRan() const { return std::filesystem::exists(mRecord); }

    // A file of the test folder with the given owner and mode.
    std::filesystem::path File(const std::string& name, uid_t uid, mode_t mode)
    {
        const std::filesystem::path path = mFolder.WriteFile(name, "content");
        SetOwnerAndMode(path, uid, mode);
        return path;
    }

    const std::filesystem::path mRecord = mFolder / "record";
};

TEST_F(CRootPrivilegesTest, ToolIsPrivilegedOnlyWhenRootOwnedAndSetuid)
{
    struct Case {
        const char* name;
        uid_t uid;
        mode_t mode;
        Boolean privileged;
    };
    const Case cases[] = {
        {"root-owned and set-uid", 0, 04755, true},
        {"root-owned without set-uid", 0, 0755, false},
        {"set-uid but owned by another user", kNobody, 04755, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InstallTool(c.uid, c.mode);
        EXPECT_EQ(mClient.ToolHasRootPrivileges(), c.privileged);
    }
    std::filesystem::remove(ToolIn(mBundle));
    EXPECT_FALSE(mClient.ToolHasRootPrivileges()) << "a tool that cannot be read";
}

TEST_F(CRootPrivilegesTest, BundleAnswersUserAndCheckWithoutTheTool)
{
    InstallSpy(0, 04755);
    RootAction action = {12345, 2, 3, 4};
    EXPECT_EQ(mClient.SendToBundle(kRootSelectorUser, &action, nullptr, nullptr), 1);
    EXPECT_EQ(action.uid, geteuid());
    EXPECT_EQ(action.gid, 2u);
    EXPECT_EQ(mClient.SendToBundle(kRootSelectorCheck, nullptr, nullptr, nullptr), 1);

    SetOwnerAndMode(ToolIn(mBundle), 0, 0755);
    EXPECT_EQ(mClient.SendToBundle(kRootSelectorCheck, nullptr, nullptr, nullptr), 0);
    EXPECT_FALSE(SpyRan());
}

TEST_F(CRootPrivilegesTest, RequestCarriesSelectorParametersAndBothPaths)
{
    InstallSpy(0, 04755);
    const auto first = File("first", 0, 0644);
    const auto second = File("second", 0, 0644);
    const FSSpec firstSpec = SpecOf(first);
    const FSSpec secondSpec = SpecOf(second);
    RootAction action = {501, 20, 0x20307, kRootMaskValue};
    EXPECT_EQ(mClient.SendToBundle(kRootSelectorCopyPermissions, &action, &firstSpec, &secondSpec), 1);

    const std::string record = ReadFile(mRecord);
    ASSERT_GE(record.size(), kRootRequestSize);
    RootRequestBytes bytes;
    std::copy(record.end() - kRootRequestSize, record.end(), bytes.begin());
    const RootRequest request = DecodeRootRequest(bytes);
    EXPECT_EQ(request.magic, kRootRequestMagic);
    EXPECT_EQ(request.version, kRootRequestVersion);
    EXPECT_EQ(request.selector, kRootSelectorCopyPermissions);
    EXPECT_EQ(std::memcmp(&request.action, &action, sizeof action), 0);
    EXPECT_EQ(std::string(request.path), first.string());
    EXPECT_EQ(std::string(request.secondPath), second.string());
    // Whatever follows each path's NUL is zero.
    EXPECT_EQ(std::string(request.path, sizeof request.path).find_first_not_of('\0', first.string().size()),
              std::string::npos);
}

TEST_F(CRootPrivilegesTest, PrivilegedToolChangesOwnerAndSetuidBit)
{
    InstallTool(0, 04755);
    const auto repaired = File("repaired", kNobody, 0644);
    FSSpec spec = SpecOf(repaired);
    EXPECT_EQ(mClient.SetFileWithRootPrivileges(&spec), 1);
    EXPECT_EQ(StatOf(repaired).st_uid, 0u);
    EXPECT_EQ(ModeOf(repaired), 04755u);

    const auto file = File("file", kNobody, 0750);
    spec = SpecOf(file);
    EXPECT_EQ(mClient.ChangeFileSetuidBit(&spec, true), 1);
    EXPECT_EQ(ModeOf(file), 04750u);
    EXPECT_EQ(mClient.ChangeFileSetuidBit(&spec, false), 1);
    EXPECT_EQ(ModeOf(file), 0750u);
    EXPECT_EQ(StatOf(file).st_uid, kNobody);

    // The tool's own result codes come back as a plain failure.
    EXPECT_EQ(mClient.SendToBundle(MakeOSType("what"), nullptr, &spec, nullptr), 0);
}

TEST_F(CRootPrivilegesTest, UnprivilegedToolIsSentNothing)
{
    struct Case {
        const char* name;
        uid_t uid;
        mode_t mode;
    };
    for (const Case& c : {Case{"root-owned without set-uid", 0, 0755}, Case{"set-uid but not root's", kNobody, 04755}}) {
        SCOPED_TRACE(c.name);
        InstallSpy(c.uid, c.mode);
        const auto file = File("file", kNobody, 0644);
        const FSSpec spec = SpecOf(file);
        EXPECT_EQ(mClient.SetFileWithRootPrivileges(&spec), 0);
        EXPECT_EQ(mClient.ChangeFileSetuidBit(&spec, true), 0);
        EXPECT_FALSE(SpyRan());
        EXPECT_EQ(StatOf(file).st_uid, kNobody);
        EXPECT_EQ(ModeOf(file), 0644u);
    }
}

TEST_F(CRootPrivilegesTest, ClearAlwaysAppliesToTheToolItself)
{
    InstallTool(0, 04755);
    const auto other = File("other", 0, 04755);
    const FSSpec spec = SpecOf(other);
    RootAction action = {12345, 0, 0, 0};
    EXPECT_EQ(mClient.SendToBundle(kRootSelectorClearSetuid, &action, &spec, nullptr), 1);
    EXPECT_EQ(ModeOf(ToolIn(mBundle)), 0755u);
    EXPECT_EQ(ModeOf(other), 04755u);
    EXPECT_EQ(action.uid, geteuid()) << "the bundle's answer comes back";
}

TEST_F(CRootPrivilegesTest, PathThatDoesNotFitIsNotSent)
{
    InstallSpy(0, 04755);
    const FSSpec shortSpec = SpecOf(File("short", 0, 0644));
    struct Case {
        std::size_t length;
        bool asSecond;
        int result;
    };
    const Case cases[] = {{1023, false, 1}, {1023, true, 1}, {1024, false, kRootNoPath}, {1024, true, kRootNoPath}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << (c.asSecond ? " second" : " first"));
        std::filesystem::remove(mRecord);
        const FSSpec longSpec = SpecOf(FileWithPathLength(mFolder.Path(), c.length));
        const int result = c.asSecond
                               ? mClient.SendToBundle(kRootSelectorCopyPermissions, nullptr, &shortSpec, &longSpec)
                               : mClient.SendToBundle(kRootSelectorOpenAccess, nullptr, &longSpec, nullptr);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(SpyRan(), c.result == 1);
    }
}

} // namespace
