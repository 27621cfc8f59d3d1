#include "test_support.h"
#include "tools/snapshot_names.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(SnapshotNames, ANumberIsTakenByEitherAJpegOrAnOlderBitmap) {
    test::TempDir dir;
    for (const char* name : {"snapshot000.jpg", "snapshot001.bmp", "snapshot999.jpg"})
        test::WriteFileText(dir.file(name), "x");
    EXPECT_EQ(std::tuple(SnapshotNames::FindFree(dir.path(), 0), SnapshotNames::FindFree(dir.path(), 998),
                         SnapshotNames::FindFree(dir.path(), 999)),
              std::tuple(2, 998, std::nullopt));
}

}  // namespace
}  // namespace lumora
