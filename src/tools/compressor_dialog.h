// CompressorDialog: the configuration dialog of a video compressor — a generic form over
// the encoder element's properties (those it can read and change after construction):
// a check box for a switch, a spin box for a number, a list for a choice, a line for text.
// Every editor's objectName is its property name, so tests find it. The dialog changes
// nothing by itself: ChosenSettings answers, after the user pressed OK, the values that
// differ from the properties' defaults, which the CompressorList keeps for the encoder.
//
// ShowCompressorDialog(list, index, owner): shows the dialog of the entry's encoder
// (modal, owned by `owner`), starting from the settings kept for it, and keeps the new
// ones on OK. False when the encoder is gone or has nothing to configure.
//
// Thread: user-interface thread. The element is borrowed for the dialog's lifetime.
#pragma once

#include "video/compressor_list.h"

#include <QDialog>

#include <gst/gst.h>

#include <vector>

namespace lumora {

class CompressorDialog : public QDialog {
    Q_OBJECT
public:
    CompressorDialog(GstElement* element, const QString& title, QWidget* parent = nullptr);

    // Properties shown.
    int PropertyCount() const { return static_cast<int>(rows_.size()); }

    CompressorList::Settings ChosenSettings() const;

private:
    struct Row {
        GParamSpec* param;
        QWidget* editor;
    };

    QWidget* MakeEditor(GParamSpec* param, const GValue& current);

    std::vector<Row> rows_;
};

bool ShowCompressorDialog(CompressorList& list, int index, QWidget* owner);

}  // namespace lumora
