#include "skins/skin_image_box.h"

#include "skins/skin_drawing.h"
#include "skins/skin_picture_loader.h"

#include <QImageReader>
#include <QPainter>

namespace lumora {

void SkinImageBox::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

QImage SkinImageBox::LoadAtOwnSize(const std::filesystem::path& file) {
    QImageReader reader(QString::fromStdString(file.string()));
    const QSize size = reader.size();
    if (size.isValid() && static_cast<qint64>(size.width()) * size.height() > SkinPictureLoader::kMaxPixels) return {};
    QImage picture;
    return reader.read(&picture) ? picture : QImage();
}

void SkinImageBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(rect(), palette().button());
        return;
    }
    painter.fillRect(rect(), Qt::white);
    const QSize own = PictureSize(picture_);
    // Integer halves, as the box has always centred: an odd remainder leans left and up.
    DrawBitmapAt(painter, (width() - own.width()) / 2, (height() - own.height()) / 2, &picture_);
}

}  // namespace lumora
