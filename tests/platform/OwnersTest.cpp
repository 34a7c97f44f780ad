#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>

#include <string>

#include "platform/Files.h"

namespace {

struct MapCase {
    SInt16 kind; // 1 user ID, 2 group ID
    SInt32 id;
    OSErr result;
};

TEST(OwnersTest, IDsMapToNamesAndBack)
{
    const passwd* root = getpwuid(0);
    const group* rootGroup = getgrgid(0);
    ASSERT_TRUE(root && rootGroup);
    for (const MapCase& c : {MapCase{1, 0, noErr}, MapCase{2, 0, noErr}, MapCase{1, 987654, fnfErr},
                             MapCase{2, 987654, fnfErr}, MapCase{5, 0, paramErr}}) {
        Str255 name{};
        HParamBlockRec pb{};
        pb.objParam.ioObjType = c.kind;
        pb.objParam.ioObjID = c.id;
        pb.objParam.ioObjNamePtr = name;
        EXPECT_EQ(PBHMapIDSync(&pb), c.result) << c.kind << " " << c.id;
        if (c.result != noErr)
            continue;
        const std::string text(reinterpret_cast<char*>(name + 1), name[0]);
        EXPECT_EQ(text, c.kind == 1 ? root->pw_name : rootGroup->gr_name);
        pb.objParam.ioObjType = SInt16(c.kind + 2);
        pb.objParam.ioObjID = -1;
        ASSERT_EQ(PBHMapNameSync(&pb), noErr) << text;
        EXPECT_EQ(pb.objParam.ioObjID, c.id);
    }
}

} // namespace
