// GallerySheet: pictures with captions laid out in rows on one image, written to the
// build's skin-gallery/ folder for people to look at.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <vector>

namespace lumora::test {

class GallerySheet {
public:
    // A sheet at device pixel ratio `ratio`: pictures of that ratio keep every pixel.
    GallerySheet(qreal ratio, QColor background) : ratio_(ratio), background_(background) {}

    void Add(const QImage& picture, const QString& caption);
    void NewRow();
    // Writes <gallery>/<name>.png; false when it cannot.
    bool Save(const QString& name) const;

    static QString Folder();

private:
    struct Cell {
        QImage picture;
        QString caption;
    };
    std::vector<std::vector<Cell>> rows_{1};
    qreal ratio_;
    QColor background_;
};

}  // namespace lumora::test
