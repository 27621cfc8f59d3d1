// DesktopOptionsDialog: "Video source options" of the desktop source: the output size and
// frame rate (as ImageOptionsDialog) and the rectangle of the screen to capture, typed as
// X, Y, width and height or dragged with "Select rectangle..." (DesktopRectPicker, starting
// from the rectangle the dialog holds). OK checks the fields against the screen of W x H
// pixels, in this order, and stops at the first failure with its message ("Options",
// information), the dialog staying open:
//   0 <= X <= W - 10 and 0 <= Y <= H - 10   "Incorrect rectangle values! Rectangle must be
//                                           within visible desktop area."
//   10 <= width <= W and 10 <= height <= H  "Incorrect rectangle values! Rectangle must be at
//                                           least 10x10 pixels."
// An empty field fails its check. A rectangle reaching past the right or bottom edge is
// accepted as typed. Cancel keeps nothing.
//
// Thread: user-interface thread.
#pragma once

#include "platform/template_dialog.h"
#include "tools/desktop_rect_picker.h"

#include <lumora/zimage.h>

#include <QPointer>
#include <QSize>

#include <optional>

class QComboBox;
class QLineEdit;

namespace lumora {

class DesktopOptionsDialog : public TemplateDialog {
    Q_OBJECT
public:
    enum : int {
        kIdSelect = 3,
        kIdSizes = 1002,
        kIdRates = 1003,
        kIdX = 1005,
        kIdY = 1006,
        kIdWidth = 1008,
        kIdHeight = 1010,
    };

    // `screen`: the desktop's size; empty: the primary screen's.
    DesktopOptionsDialog(int width, int height, int framesPerSecond, const ZImageRect& rect, QWidget* parent,
                         QSize screen = {});

    int ChosenWidth() const { return width_; }
    int ChosenHeight() const { return height_; }
    int ChosenRate() const { return rate_; }
    const ZImageRect& ChosenRect() const { return rect_; }
    // The picker while it is open, else null.
    DesktopRectPicker* Picker() const { return picker_; }

protected:
    void OnCommand(int id) override;

private:
    QLineEdit* AddNumberEdit(int id, const DialogRect& rect);
    void AddNote(const DialogRect& rect, const QString& text);
    void ShowRect();
    void Accept();
    std::optional<unsigned> Field(int id) const;
    void StartPicker();

    QSize screen_;
    QComboBox* sizes_;
    QComboBox* rates_;
    int width_;
    int height_;
    int rate_;
    ZImageRect rect_;
    QPointer<DesktopRectPicker> picker_;
};

}  // namespace lumora
