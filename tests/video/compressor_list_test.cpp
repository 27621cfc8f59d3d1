#include "capture_device_gst_fixture.h"
#include "video/compressor_dialog.h"
#include "video/compressor_list.h"

#include <QApplication>
#include <QCheckBox>
#include <QSpinBox>
#include <QTimer>
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

// That every listed encoder records a file that plays: the source graph's codecs test.
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
    EXPECT_STREQ(GST_OBJECT_NAME(encoder.get()), "Codec");
    gint quality = 0;
    g_object_get(encoder.get(), "quality", &quality, nullptr);
    EXPECT_EQ(quality, 40);

    EXPECT_EQ(list_.CreateCompressor(-1), nullptr);
    EXPECT_EQ(list_.CreateCompressor(list_.Count()), nullptr);
    EXPECT_EQ(list_.NameAt(list_.Count()), "");
    EXPECT_TRUE(list_.SettingsOf(-1).empty());
}

TEST_F(CompressorListTest, ShowCompressorDialogKeepsTheSettingsOnOkOnly) {
    const int jpeg = IndexOf("JPEG image encoder");
    auto answer = [](int quality, bool accept) {
        QTimer::singleShot(0, [=] {
            auto* dialog = qobject_cast<CompressorDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            auto* box = dialog->findChild<QSpinBox*>("quality");
            EXPECT_EQ(dialog->findChild<QWidget*>("name"), nullptr);
            EXPECT_EQ(box->maximum(), 100);
            if (quality == 30) {
                EXPECT_EQ(box->value(), 85) << "opens at the default";
            }
            box->setValue(quality);
            accept ? dialog->accept() : dialog->reject();
        });
    };
    answer(30, true);
    EXPECT_TRUE(ShowCompressorDialog(list_, jpeg, nullptr));
    EXPECT_EQ(list_.SettingsOf(jpeg), (CompressorList::Settings{{"quality", "30"}}));

    answer(70, false);
    EXPECT_TRUE(ShowCompressorDialog(list_, jpeg, nullptr));
    EXPECT_EQ(list_.SettingsOf(jpeg), (CompressorList::Settings{{"quality", "30"}}));

    answer(85, true);  // back to the default: nothing to keep
    EXPECT_TRUE(ShowCompressorDialog(list_, jpeg, nullptr));
    EXPECT_TRUE(list_.SettingsOf(jpeg).empty());
    EXPECT_FALSE(ShowCompressorDialog(list_, -1, nullptr));
}

}  // namespace
}  // namespace lumora
