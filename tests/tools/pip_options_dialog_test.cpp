#include "tools/pip_options_dialog.h"
#include "tools/dialog_host.h"

#include "effects/picture_in_picture_effect.h"
#include "platform/message_recorder.h"
#include "session/device_camera_catalogue.h"
#include "video/capture_device_list.h"
#include "video/extra_device_list.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <functional>

namespace lumora {
namespace {

constexpr int kRedCamera = 1;

// The picture-in-picture effect with its options shown by the dialog host, over a list
// of the virtual camera (offered to no one), a red camera and a device whose node has gone.
class PipOptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        devices_.EnumerateCaptureDevices();
        effect_.SetCameraCatalogue(&cameras_);
        effect_.SetOptionsHost(&host_);
        effect_.ownerWindow = &owner_;
    }
    // Runs `act` on the options dialog once it is open over the owner.
    void OnDialog(std::function<void(PipOptionsDialog&)> act) {
        QTimer::singleShot(0, [this, act] {
            if (auto* dialog = owner_.findChild<PipOptionsDialog*>()) return act(*dialog);
            ADD_FAILURE() << "no options dialog";
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
    }

    QWidget owner_;
    MessageRecorder messages_;
    CaptureDeviceList devices_{
        [] { return ParseExtraDevices("Lumora Capture=packets:/dev/null;Red=pattern:red;Gone=/dev/lumora-gone"); }};
    DeviceCameraCatalogue cameras_{devices_};
    DialogHost host_;
    PictureInPictureEffect effect_;
};

template <class T>
T* Control(QWidget& dialog, int id) {
    return dialog.findChild<T*>(QString::number(id));
}

// Start without a chosen camera asks for one; OK without a choice is refused with a hint,
// Cancel cancels the start. The virtual camera is not offered.
TEST_F(PipOptionsDialogTest, StartAsksForTheCameraAndTheOptionsDialogEditsTheSettings) {
    OnDialog([&](PipOptionsDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Picture-in-picture options");
        auto* devices = Control<QComboBox>(dialog, PipOptionsDialog::kIdDevice);
        ASSERT_NE(devices, nullptr);
        EXPECT_EQ(
            std::tuple(devices->count(), devices->itemText(0), devices->itemData(0).toInt(), devices->currentIndex()),
            std::tuple(2, "Red", kRedCamera, -1));
        Control<QPushButton>(dialog, PipOptionsDialog::kIdOk)->click();
        EXPECT_TRUE(dialog.isVisible());
        Control<QPushButton>(dialog, PipOptionsDialog::kIdCancel)->click();
    });
    EXPECT_EQ(effect_.Start(), kEffectCancelled);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(std::tuple(messages_.Messages()[0].text, messages_.Messages()[0].flags, effect_.IsRunning()),
              std::tuple("You should select video source device!", mb::kIconInformation, false));

    // The dialog edits all seven settings; the colour chooser starts from the border colour.
    OnDialog([&](PipOptionsDialog& dialog) {
        Control<QComboBox>(dialog, PipOptionsDialog::kIdDevice)->setCurrentIndex(0);
        auto* position = Control<QComboBox>(dialog, PipOptionsDialog::kIdPosition);
        position->setCurrentIndex(position->findText("Bottom-left"));
        Control<QSlider>(dialog, PipOptionsDialog::kIdMargin)->setValue(40);
        Control<QSlider>(dialog, PipOptionsDialog::kIdSize)->setValue(20);
        Control<QCheckBox>(dialog, PipOptionsDialog::kIdProportions)->setChecked(false);
        QTimer::singleShot(0, [&] {
            auto* chooser = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(chooser, nullptr);
            EXPECT_EQ(chooser->currentColor(), QColor(255, 255, 255));
            chooser->setCurrentColor(QColor(10, 20, 30));
            chooser->accept();
        });
        Control<QPushButton>(dialog, PipOptionsDialog::kIdSelectColour)->click();
        auto* swatch = Control<QLabel>(dialog, PipOptionsDialog::kIdSwatch);
        EXPECT_EQ(swatch->grab().toImage().pixelColor(swatch->width() / 2, swatch->height() / 2), QColor(10, 20, 30));
        Control<QPushButton>(dialog, PipOptionsDialog::kIdOk)->click();
    });
    ASSERT_TRUE(effect_.ShowOptions());
    const PipSettings expected{kPipBottomLeft, 40, kRedCamera, true, 0x001E140A, 20, false};
    EXPECT_EQ(effect_.settings(), expected);

    OnDialog([&](PipOptionsDialog& dialog) {
        Control<QSlider>(dialog, PipOptionsDialog::kIdMargin)->setValue(10);
        Control<QPushButton>(dialog, PipOptionsDialog::kIdCancel)->click();
    });
    EXPECT_FALSE(effect_.ShowOptions());
    EXPECT_EQ(effect_.settings(), expected) << "Cancel keeps the settings";
}

}  // namespace
}  // namespace lumora
