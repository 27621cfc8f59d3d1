#include "tools/recording_dialog.h"
#include "tools/compressor_dialog.h"

#include "../video/capture_device_gst_fixture.h"
#include "frames/recorded_bytes_counter.h"
#include "platform/message_recorder.h"
#include "test_support.h"
#include "video/compressor_list.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace lumora {
namespace {

class RecordingDialogTest : public test::GstTest {
protected:
    bool Enabled(int id) const { return dialog_.Control(id)->isEnabled(); }
    void Press(int id) { dialog_.Control<QPushButton>(id)->click(); }

    test::TempDir dir_;
    MessageRecorder messages_{id::kYes};
    CompressorList compressors_;
    RecordedBytesCounter counter_;
    std::string recorded_;
    std::vector<int> posted_;
    RecordingDialog dialog_{
        {compressors_, counter_, [this] { return recorded_; }, [this](int command) { posted_.push_back(command); }},
        nullptr};
};

TEST_F(RecordingDialogTest, StartNeedsADestinationTheControlsFollowTheRecordingAndThePlayback) {
    auto* list = dialog_.Control<QComboBox>(RecordingDialog::kIdCompressor);
    ASSERT_GT(list->count(), 1);
    EXPECT_EQ(list->itemText(0), "(No compression)");
    bool configured = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) configured = modal->close();
    });
    list->setCurrentIndex(1);  // its configuration dialog opens
    EXPECT_EQ(std::tuple(configured, compressors_.Selected()), std::tuple(true, 0));
    list->setCurrentIndex(0);
    EXPECT_EQ(compressors_.Selected(), -1);

    Press(RecordingDialog::kIdStart);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(std::tie(messages_.Messages()[0].text, messages_.Messages()[0].flags),
              std::tuple("Please specify destination file!", mb::kIconInformation));
    EXPECT_EQ(std::tuple(posted_.size(), Enabled(RecordingDialog::kIdPlay)), std::tuple(0u, false));

    recorded_ = dir_.file("take.avi");
    dialog_.SetDestinationFile(recorded_);
    Press(RecordingDialog::kIdStart);
    EXPECT_EQ(posted_, std::vector<int>{2020});
    for (int id : {1054, 1055, 1057, 1056, 1048, 1040, 1038}) EXPECT_FALSE(Enabled(id)) << id;

    counter_.TryAdd(5000);
    dialog_.SetRecordingState(true);
    EXPECT_EQ(std::tuple(counter_.Read(), dialog_.Control<QLabel>(RecordingDialog::kIdStatus)->text(),
                         Enabled(RecordingDialog::kIdStop), Enabled(RecordingDialog::kIdBrowse)),
              std::tuple(0u, "Recording...", true, false));
    counter_.TryAdd(1572864);
    QTest::qWait(1100);
    EXPECT_EQ(std::tuple(dialog_.Control<QLabel>(RecordingDialog::kIdElapsed)->text(),
                         dialog_.Control<QLabel>(RecordingDialog::kIdSize)->text()),
              std::tuple("00:00:01", "1.50 MB"));

    dialog_.HideAndStop();  // closing stops the recording
    EXPECT_EQ(posted_, (std::vector<int>{2020, 2021}));
    dialog_.SetRecordingState(false);
    EXPECT_EQ(
        std::tuple(dialog_.LastRecordedFile(), Enabled(RecordingDialog::kIdPlay), Enabled(RecordingDialog::kIdDelete)),
        std::tuple(recorded_, true, true));

    // The JPEG encoder's dialog opens at the kept quality (at first the default), keeps one
    // only on OK, and none that is the default.
    int jpeg = 0;
    while (jpeg < compressors_.Count() && compressors_.ElementNameAt(jpeg) != "jpegenc") ++jpeg;
    ASSERT_LT(jpeg, compressors_.Count());
    for (const auto& [quality, accept, opens, kept] :
         {std::tuple{30, true, 85, "30"}, std::tuple{70, false, 30, "30"}, std::tuple{85, true, 30, ""}}) {
        QTimer::singleShot(0, [=] {
            auto* dialog = qobject_cast<CompressorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* box = dialog->findChild<QSpinBox*>("quality");
            EXPECT_EQ(box->value(), opens) << quality;
            box->setValue(quality);
            accept ? dialog->accept() : dialog->reject();
        });
        EXPECT_TRUE(ShowCompressorDialog(compressors_, jpeg, nullptr));
        EXPECT_EQ(compressors_.SettingsOf(jpeg),
                  (*kept ? CompressorList::Settings{{"quality", kept}} : CompressorList::Settings{}))
            << quality;
    }
    EXPECT_FALSE(ShowCompressorDialog(compressors_, -1, nullptr));

    // The playback follows the file, seeks and ends by itself.
    // A 4-second recording: 20 JPEG frames at 5 per second.
    recorded_ = dir_.file("four.avi");
    const std::string make =
        "videotestsrc num-buffers=20 ! video/x-raw,width=160,height=120,framerate=5/1 ! "
        "jpegenc ! avimux ! filesink location=" +
        recorded_;
    test::PipelinePtr pipeline(gst_parse_launch(make.c_str(), nullptr));
    ASSERT_TRUE(pipeline);
    ASSERT_TRUE(test::RunToEos(pipeline.get()));
    dialog_.SetRecordingState(true);
    dialog_.SetRecordingState(false);
    QElapsedTimer clock;
    clock.start();
    Press(RecordingDialog::kIdPlay);
    ASSERT_TRUE(dialog_.Playback().Playing());
    auto* position = dialog_.Control<QSlider>(RecordingDialog::kIdPosition);
    EXPECT_EQ(std::tuple(position->isEnabled(), Enabled(RecordingDialog::kIdDelete)), std::tuple(true, false));
    // The slider shows the share of the file played, at the file's own pace (a busy
    // machine plays late, never early).
    ASSERT_TRUE(QTest::qWaitFor([&] { return position->value() >= 20; }, 5000));
    EXPECT_GE(clock.elapsed(), 700);
    const auto seconds = [this] {
        return static_cast<double>(dialog_.Playback().Position().value_or(-1)) / GST_SECOND;
    };
    EXPECT_NEAR(seconds() * 25, position->value(), 8);

    position->setSliderPosition(60);
    position->triggerAction(QAbstractSlider::SliderMove);
    QTest::qWait(300);
    EXPECT_NEAR(seconds(), 2.6, 0.5);  // 2.4 s and the 300 ms since

    position->setSliderPosition(97);
    position->triggerAction(QAbstractSlider::SliderMove);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog_.Playback().Playing(); }, 3000));
    EXPECT_EQ(std::tuple(Enabled(RecordingDialog::kIdPlay), Enabled(RecordingDialog::kIdDelete)),
              std::tuple(true, true));

    Press(RecordingDialog::kIdDelete);
    EXPECT_EQ(messages_.Messages().back().text, "Are you sure you want to remove this file:\n" + recorded_ + "?");
    EXPECT_FALSE(std::filesystem::exists(recorded_));
    Press(RecordingDialog::kIdPlay);  // disabled now: nothing happens
    EXPECT_FALSE(dialog_.Playback().Playing());

    // A file that does not play.
    test::WriteFileText(recorded_, "not a video");
    dialog_.SetRecordingState(true);
    dialog_.SetRecordingState(false);
    Press(RecordingDialog::kIdPlay);
    EXPECT_EQ(std::tie(messages_.Messages().back().text, messages_.Messages().back().flags),
              std::tuple("Couldn't preview file:\n" + recorded_, mb::kIconWarning));
}

}  // namespace
}  // namespace lumora
