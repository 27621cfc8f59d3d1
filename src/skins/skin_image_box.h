// SkinImageBox: the skin editor's box that shows one picture of an item at its own size,
// centred on a white ground and cut by the box when it is larger. Without a picture the
// box shows the button face of the desktop's palette.
//
// A widget; user-interface thread. The picture is copied in (QImage shares its data).
#pragma once

#include <QImage>
#include <QWidget>

#include <filesystem>

namespace lumora {

class SkinImageBox : public QWidget {
public:
    explicit SkinImageBox(QWidget* parent) : QWidget(parent) {}

    // A null picture empties the box.
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }

    // The picture of `file` at its own size; null when it is missing, no picture, or larger
    // than the skin loader would read.
    static QImage LoadAtOwnSize(const std::filesystem::path& file);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

}  // namespace lumora
