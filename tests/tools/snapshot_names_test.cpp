#include "test_support.h"
#include "tools/snapshot_names.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(SnapshotNames, ANumberIsTakenByEitherAJpegOrAnOlderBitmap) {
    test::TempDir dir;
    EXPECT_EQ(SnapshotNames::FileName(7), "snapshot007.jpg");
    EXPECT_EQ(SnapshotNames::FindFree(dir.path(), 0), 0);
    test::WriteFileText(dir.file("snapshot000.jpg"), "x");
    test::WriteFileText(dir.file("snapshot001.bmp"), "x");
    EXPECT_EQ(SnapshotNames::FindFree(dir.path(), 0), 2);
    EXPECT_EQ(SnapshotNames::FindFree(dir.path(), 998), 998);
    test::WriteFileText(dir.file("snapshot999.jpg"), "x");
    EXPECT_EQ(SnapshotNames::FindFree(dir.path(), 999), std::nullopt);
}

}  // namespace
}  // namespace lumora
