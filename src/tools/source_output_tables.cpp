#include "tools/source_output_tables.h"

namespace lumora {

void FillOutputLists(QComboBox& sizes, QComboBox& rates, int width, int height, int framesPerSecond) {
    sizes.clear();
    rates.clear();
    sizes.setCurrentIndex(-1);
    for (const OutputSize& size : kOutputSizes) {
        sizes.addItem(QString("%1x%2").arg(size.width).arg(size.height));
        if (size.width == width && size.height == height) sizes.setCurrentIndex(sizes.count() - 1);
    }
    for (int rate : kOutputRates) {
        rates.addItem(QString::number(rate));
        if (rate == framesPerSecond) rates.setCurrentIndex(rates.count() - 1);
    }
    if (sizes.currentText() != QString("%1x%2").arg(width).arg(height)) sizes.setCurrentIndex(-1);
    if (rates.currentText() != QString::number(framesPerSecond)) rates.setCurrentIndex(-1);
}

}  // namespace lumora
