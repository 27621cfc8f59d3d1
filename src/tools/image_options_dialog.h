// ImageOptionsDialog: "Video source options" of a picture source: the output size and frame
// rate, each chosen from its table (source_output_tables.h), the current values selected.
// OK with both chosen keeps them and closes with 1; Cancel closes with 2.
//
// Thread: user-interface thread.
#pragma once

#include "platform/template_dialog.h"

class QComboBox;

namespace lumora {

class ImageOptionsDialog : public TemplateDialog {
    Q_OBJECT
public:
    enum : int { kIdSizes = 1000, kIdRates = 1001 };

    ImageOptionsDialog(int width, int height, int framesPerSecond, QWidget* parent);

    int ChosenWidth() const { return width_; }
    int ChosenHeight() const { return height_; }
    int ChosenRate() const { return rate_; }

protected:
    void OnCommand(int id) override;

private:
    QComboBox* sizes_;
    QComboBox* rates_;
    int width_;
    int height_;
    int rate_;
};

}  // namespace lumora
