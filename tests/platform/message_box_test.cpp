#include "platform/message_box.h"
#include "platform/media_error.h"
#include "platform/message_box_dialog.h"
#include "platform/message_recorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

namespace lumora {
namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetMessageOwner(nullptr);
        ClearMediaError();
    }
    MessageRecorder recorder_;
};

TEST_F(MessageBoxTest, ErrorMessagesAddTheCodeAndTheSystemTextAndAppMessagesForgetADestroyedOwner) {
    auto owner = std::make_unique<QWidget>();
    SetMessageOwner(owner.get());
    ShowMediaErrorMessage("Couldn't build GStreamer filters sequence!", 0x30, E_FAIL);
    RecordMediaError(E_FAIL, "Internal data stream error.");
    ShowMediaErrorMessage(nullptr, 0x30, E_FAIL);
    ShowMediaErrorMessage("x", 0x30, E_INVALIDARG);  // the recorded text belongs to E_FAIL only
    // Success codes and codes without a text show the plain text.
    for (HRESULT code : {S_OK, VFW_S_NO_MORE_ITEMS, static_cast<HRESULT>(0x80041234u)}) {
        ShowMediaErrorMessage("plain", 0x40, code);
    }
    ShowMediaErrorMessage(nullptr, 0x40, S_FALSE);
    errno = ENOENT;
    ShowLastErrorMessage(nullptr, "Couldn't open file!", 0x30);
    errno = 0;
    ShowLastErrorMessage(nullptr, "No error here", 0x30);
    errno = EACCES;
    ShowLastErrorMessage(nullptr, nullptr, 0x30);

    const std::vector<std::string> expected = {
        "Couldn't build GStreamer filters sequence!\n\nSystem error message (0x80004005):\nUnspecified error",
        "System error message (0x80004005):\nInternal data stream error.",
        "x\n\nSystem error message (0x80070057):\nThe parameter is incorrect.",
        "plain", "plain", "plain", "",
        "Couldn't open file!\n\nSystem error message (0x0002):\nNo such file or directory",
        "No error here",
        "System error message (0x000D):\nPermission denied",
    };
    const auto& shown = recorder_.Messages();
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i].text, expected[i]) << i;
    EXPECT_TRUE(shown[0].caption == "Lumora" && shown[0].flags == 0x30u && shown[0].owner == owner.get());

    // Media error texts are cut at 160 characters on a character boundary.
    std::string longText(159, 'a');
    longText += "\xC3\xA9 and more";  // a two-byte character straddling the limit
    RecordMediaError(E_FAIL, longText);
    EXPECT_EQ(MediaErrorText(E_FAIL), std::string(159, 'a'));

    // App messages forget a destroyed owner, and recorders nest.
    recorder_.Clear();
    owner = std::make_unique<QWidget>();
    SetMessageOwner(owner.get());
    ShowAppMessage("first", 0x40);
    owner.reset();
    {
        MessageRecorder inner(id::kYes);
        EXPECT_EQ(ShowAppMessage("question", 0x34), id::kYes);
        ASSERT_EQ(inner.Messages().size(), 1u);
        EXPECT_EQ(inner.Messages()[0].owner, nullptr);
    }
    EXPECT_EQ(ShowAppMessage("after", 0x40), id::kOk);
    ASSERT_EQ(recorder_.Messages().size(), 2u);
    EXPECT_NE(recorder_.Messages()[0].owner, nullptr);
    EXPECT_EQ(recorder_.Messages()[1].text, "after");
}

// Without a hook or a display nobody can answer: the text goes to stderr, a question is
// declined. With the dialogs installed a real box: the flags choose icon and buttons, the
// answer is the button's id.
TEST(MessageDialog, WithoutADisplayMessagesGoToStandardErrorAndWithItTheFlagsChooseTheBox) {
    auto hook = MessagePresenter::Instance().SetHook({});
    testing::internal::CaptureStderr();
    const int question = ShowMessage(nullptr, "Would you like to continue?", 0x34);
    const int choice = ShowMessage(nullptr, "Save?", mb::kYesNoCancel);
    const int notice = ShowMessage(nullptr, "Done.", 0x40);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Lumora: Would you like to continue?\nLumora: Save?\nLumora: Done.\n");
    EXPECT_EQ(std::tuple(question, choice, notice), std::tuple(id::kNo, id::kCancel, id::kOk));

    InstallMessageBoxDialogs();
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    int buttonCount = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        std::tie(icon, title, buttonCount) =
            std::tuple(box->icon(), box->windowTitle(), static_cast<int>(box->buttons().size()));
        box->button(QMessageBox::No)->click();
    });
    const int answer = ShowMessage(nullptr, "Would you like to continue?", 0x34);
    MessagePresenter::Instance().SetHook(hook);
    MessagePresenter::Instance().SetDisplay({});
    EXPECT_EQ(std::tuple(answer, icon, title, buttonCount), std::tuple(id::kNo, QMessageBox::Warning, "Lumora", 2));
}

}  // namespace
}  // namespace lumora
