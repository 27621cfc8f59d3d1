#include "video/compressor_list.h"
#include "capture_device_gst_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lumora {
namespace {

using test::Adopt;

class CompressorListTest : public test::GstTest {
protected:
    void SetUp() override { ASSERT_TRUE(list_.EnumerateCompressors()); }

    int IndexOf(const std::string& name) const {
        const auto& names = list_.Names();
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }

    CompressorList list_;
};

// That every listed encoder records a file that plays: the source graph's codecs test; that the
// element gets its name: the recording test.
TEST_F(CompressorListTest, TheSelectionAndTheSettingsSurviveEnumerationAndNoEntryGivesNoEncoder) {
    const int jpeg = IndexOf("JPEG image encoder");
    list_.SetSelected(jpeg);
    list_.SetSettings(jpeg, {{"quality", "40"}, {"no-such-property", "1"}});
    const std::vector<std::string> names = list_.Names();
    ASSERT_TRUE(list_.EnumerateCompressors());
    EXPECT_EQ(list_.Selected(), jpeg);
    EXPECT_EQ(list_.Names(), names);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));

    test::ElementPtr encoder = Adopt(list_.CreateCompressor(jpeg, "Codec"));
    ASSERT_TRUE(encoder);
    gint quality = 0;
    g_object_get(encoder.get(), "quality", &quality, nullptr);
    EXPECT_EQ(quality, 40);

    EXPECT_EQ(list_.CreateCompressor(-1), nullptr);
    EXPECT_EQ(list_.CreateCompressor(list_.Count()), nullptr);
    EXPECT_EQ(list_.NameAt(list_.Count()), "");
    EXPECT_TRUE(list_.SettingsOf(-1).empty());
}

}  // namespace
}  // namespace lumora
