#include "platform/media_error.h"
#include "platform/message_box.h"
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

TEST_F(MessageBoxTest, MediaErrorShowsAllEightDigitsAfterABlankLine) {
    auto owner = std::make_unique<QWidget>();
    SetMessageOwner(owner.get());
    ShowMediaErrorMessage("Couldn't build GStreamer filters sequence!", 0x30, E_FAIL);

    ASSERT_EQ(recorder_.Messages().size(), 1u);
    const MessageRequest& shown = recorder_.Messages()[0];
    EXPECT_EQ(shown.caption, "Lumora");
    EXPECT_EQ(shown.flags, 0x30u);
    EXPECT_EQ(shown.owner, owner.get());
    EXPECT_EQ(shown.text,
              "Couldn't build GStreamer filters sequence!\n\n"
              "System error message (0x80004005):\nUnspecified error");
}

TEST_F(MessageBoxTest, MediaErrorPrefersTheRecordedFrameworkTextForItsCodeOnly) {
    RecordMediaError(E_FAIL, "Internal data stream error.");
    ShowMediaErrorMessage(nullptr, 0x30, E_FAIL);
    ShowMediaErrorMessage("x", 0x30, E_INVALIDARG);

    ASSERT_EQ(recorder_.Messages().size(), 2u);
    EXPECT_EQ(recorder_.Messages()[0].text,
              "System error message (0x80004005):\nInternal data stream error.");
    EXPECT_EQ(recorder_.Messages()[1].text,
              "x\n\nSystem error message (0x80070057):\nThe parameter is incorrect.");
}

TEST_F(MessageBoxTest, MediaErrorTextIsCutAt160CharactersOnACharacterBoundary) {
    std::string longText(159, 'a');
    longText += "\xC3\xA9 and more";  // a two-byte character straddling the limit
    RecordMediaError(E_FAIL, longText);
    EXPECT_EQ(MediaErrorText(E_FAIL), std::string(159, 'a'));
}

TEST_F(MessageBoxTest, SuccessCodesAndCodesWithoutTextShowThePlainText) {
    ShowMediaErrorMessage("plain", 0x40, S_OK);
    ShowMediaErrorMessage("plain", 0x40, VFW_S_NO_MORE_ITEMS);
    ShowMediaErrorMessage("plain", 0x40, static_cast<HRESULT>(0x80041234u));
    ShowMediaErrorMessage(nullptr, 0x40, S_FALSE);

    ASSERT_EQ(recorder_.Messages().size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(recorder_.Messages()[i].text, "plain");
    EXPECT_EQ(recorder_.Messages()[3].text, "");
}

TEST_F(MessageBoxTest, LastErrorUsesErrnoWithAtLeastFourDigits) {
    errno = ENOENT;
    ShowLastErrorMessage(nullptr, "Couldn't open file!", 0x30);
    errno = 0;
    ShowLastErrorMessage(nullptr, "No error here", 0x30);
    errno = EACCES;
    ShowLastErrorMessage(nullptr, nullptr, 0x30);

    ASSERT_EQ(recorder_.Messages().size(), 3u);
    EXPECT_EQ(recorder_.Messages()[0].text,
              "Couldn't open file!\n\nSystem error message (0x0002):\nNo such file or directory");
    EXPECT_EQ(recorder_.Messages()[1].text, "No error here");
    EXPECT_EQ(recorder_.Messages()[2].text, "System error message (0x000D):\nPermission denied");
}

TEST_F(MessageBoxTest, AppMessagesFollowTheOwnerAndForgetOneThatIsDestroyed) {
    auto owner = std::make_unique<QWidget>();
    SetMessageOwner(owner.get());
    ShowAppMessage("first", 0x40);
    owner.reset();
    ShowAppMessage("second", 0x40);

    ASSERT_EQ(recorder_.Messages().size(), 2u);
    EXPECT_NE(recorder_.Messages()[0].owner, nullptr);
    EXPECT_EQ(recorder_.Messages()[1].owner, nullptr);
}

TEST_F(MessageBoxTest, RecordersNestAndAnswerTheirPresetButton) {
    {
        MessageRecorder inner(id::kYes);
        EXPECT_EQ(ShowAppMessage("question", 0x34), id::kYes);
        EXPECT_EQ(inner.Messages().size(), 1u);
    }
    EXPECT_EQ(ShowAppMessage("after", 0x40), id::kOk);
    ASSERT_EQ(recorder_.Messages().size(), 1u);
    EXPECT_EQ(recorder_.Messages()[0].text, "after");
}

// Without a hook the presenter shows a real dialog: the flags choose its icon and buttons,
// and the answer is the Windows id of the button pressed.
TEST(MessageDialog, FlagsChooseIconAndButtonsAndTheAnswerIsTheButtonPressed) {
    auto hook = MessagePresenter::Instance().SetHook({});
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    int buttonCount = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        title = box->windowTitle();
        buttonCount = static_cast<int>(box->buttons().size());
        box->button(QMessageBox::No)->click();
    });
    const int answer = ShowMessage(nullptr, "Would you like to continue?", 0x34);
    MessagePresenter::Instance().SetHook(hook);

    EXPECT_EQ(answer, id::kNo);
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(title, "Lumora");
    EXPECT_EQ(buttonCount, 2);
}

}  // namespace
}  // namespace lumora
