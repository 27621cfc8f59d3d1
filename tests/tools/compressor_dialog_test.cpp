#include "tools/compressor_dialog.h"

#include "../video/capture_device_gst_fixture.h"
#include "video/compressor_list.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QSpinBox>
#include <QTimer>

namespace lumora {
namespace {

using test::Adopt;

// The installed compressors, the JPEG encoder (jpegenc) among them.
class CompressorDialogTest : public test::GstTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(list_.EnumerateCompressors());
        for (int i = 0; i < list_.Count(); ++i) {
            if (list_.ElementNameAt(i) == "jpegenc") jpeg_ = i;
        }
        ASSERT_GE(jpeg_, 0);
    }

    CompressorList list_;
    int jpeg_ = -1;
};

TEST_F(CompressorDialogTest, TheDialogShowsThePropertiesAtTheirDefaults) {
    const int jpeg = jpeg_;
    test::ElementPtr encoder = Adopt(list_.CreateCompressor(jpeg));
    CompressorDialog dialog(encoder.get(), "JPEG image encoder");
    EXPECT_GT(dialog.PropertyCount(), 0);
    EXPECT_EQ(dialog.findChild<QWidget*>("name"), nullptr);
    auto* quality = dialog.findChild<QSpinBox*>("quality");
    ASSERT_NE(quality, nullptr);
    EXPECT_EQ(quality->value(), 85);
    EXPECT_EQ(quality->maximum(), 100);
    EXPECT_TRUE(dialog.ChosenSettings().empty());
}

TEST_F(CompressorDialogTest, ShowCompressorDialogKeepsTheSettingsOnOkOnly) {
    const int jpeg = jpeg_;
    auto answer = [](int quality, bool accept) {
        QTimer::singleShot(0, [=] {
            auto* dialog = qobject_cast<CompressorDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            dialog->findChild<QSpinBox*>("quality")->setValue(quality);
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
