// Writes screenshots of every control in every state, and of the two windows built from
// them, under every shipped skin at device pixel ratios 1 and 2, to the build's
// skin-gallery/ folder for people to look at. Checks only that they are made.
#include "gallery_scenes.h"
#include "gallery_sheet.h"
#include "skins/button_painter.h"
#include "skins/check_box_painter.h"
#include "skins/scroll_bar_painter.h"
#include "skins/skin_manager.h"
#include "skins/slider_painter.h"
#include "skins/tab_strip_painter.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <functional>

namespace lumora {
namespace {

using Paint = std::function<void(QPainter&)>;
using Face = ButtonModel::Face;

const FocusOutline kFocus = QColor(48, 120, 220);

class ControlSheet {
public:
    ControlSheet(const Skin& skin, qreal ratio) : skin_(skin), ratio_(ratio), sheet_(ratio, Background(skin)) {}

    void Cell(QSize size, const QString& caption, const Paint& paint) {
        QImage cell(size * ratio_, QImage::Format_RGB32);
        cell.setDevicePixelRatio(ratio_);
        cell.fill(Background(skin_));
        QPainter painter(&cell);
        paint(painter);
        painter.end();
        sheet_.Add(cell, caption);
    }
    void Row() { sheet_.NewRow(); }
    bool Save(const QString& name) { return sheet_.Save(name); }

private:
    static QColor Background(const Skin& skin) {
        return skin.mainWindow.background ? skin.mainWindow.background->pixelColor(0, 0) : QColor(Qt::gray);
    }

    const Skin& skin_;
    qreal ratio_;
    test::GallerySheet sheet_;
};

void AddButtons(ControlSheet& sheet, const Skin& skin) {
    const struct {
        const char* name;
        ButtonBitmaps bitmaps;
        QSize size;
    } buttons[] = {
        {"close", skin.mainWindow.close, {20, 20}},
        {"minimize", skin.mainWindow.minimize, {20, 20}},
        {"options", skin.showOptions, {13, 78}},
        {"file", skin.menu.file, {20, 13}},
        {"source", skin.menu.source, {63, 13}},
        {"video options", skin.menu.options, {38, 13}},
        {"skin", skin.menu.skin, {25, 13}},
        {"start", skin.playback.start, {20, 20}},
        {"stop", skin.playback.stop, {20, 20}},
        {"default", skin.colourFilter.defaultButton, {54, 17}},
        {"zoom in", skin.zoom.zoomIn, {16, 16}},
        {"zoom out", skin.zoom.zoomOut, {16, 16}},
        {"zoom 100", skin.zoom.zoomDefault, {54, 17}},
        {"start/stop", skin.selectEffect.startStop, {72, 18}},
        {"effect options", skin.selectEffect.options, {72, 18}},
        {"scroll up", skin.scrollBar.up, {12, 12}},
        {"scroll down", skin.scrollBar.down, {12, 12}},
    };
    const std::pair<const char*, Face> faces[] = {
        {"normal", Face::kNormal}, {"over", Face::kOver}, {"pressed", Face::kPressed}, {"disabled", Face::kDisabled}};
    for (const auto& button : buttons) {
        sheet.Row();
        const QRect rect(QPoint(0, 0), button.size);
        for (const auto& [name, face] : faces) {
            sheet.Cell(button.size, QString("%1 %2").arg(button.name, name),
                       [&](QPainter& p) { ButtonPainter::Paint(p, rect, button.bitmaps, face); });
        }
        sheet.Cell(button.size, "focused",
                   [&](QPainter& p) { ButtonPainter::Paint(p, rect, button.bitmaps, Face::kNormal, kFocus); });
    }
}

void AddCheckBoxes(ControlSheet& sheet, const Skin& skin) {
    const CheckBoxPainter::Look look{skin.zoom.font, skin.zoom.textColour, skin.darkWindow.background};
    const QSize size(190, 18);
    for (bool checked : {false, true}) {
        sheet.Row();
        const ButtonBitmaps& box = checked ? skin.checkBox.checked : skin.checkBox.unchecked;
        const std::tuple<const char*, Face, bool, FocusOutline> states[] = {
            {"normal", Face::kNormal, true, std::nullopt},
            {"over", Face::kOver, true, std::nullopt},
            {"pressed", Face::kPressed, true, std::nullopt},
            {"disabled", Face::kDisabled, false, std::nullopt},
            {"focused", Face::kNormal, true, kFocus}};
        for (const auto& [name, face, enabled, focus] : states) {
            sheet.Cell(size, QString("%1 %2").arg(checked ? "checked" : "unchecked", name), [&](QPainter& p) {
                CheckBoxPainter::Paint(p, QRect(QPoint(0, 0), size), "Show face locator", look, enabled, focus);
                ButtonPainter::Paint(p, QRect(CheckBoxModel::BoxPosition(18), QSize(12, 12)), box, face);
            });
        }
    }
}

void AddScrollBars(ControlSheet& sheet, const Skin& skin) {
    sheet.Row();
    const QSize size(12, 100);
    const std::tuple<const char*, int, Face, Face> bars[] = {{"top", 0, Face::kDisabled, Face::kNormal},
                                                             {"middle", 5, Face::kOver, Face::kNormal},
                                                             {"bottom", 10, Face::kNormal, Face::kPressed}};
    for (const auto& [name, position, up, down] : bars) {
        sheet.Cell(size, name, [&](QPainter& p) {
            ScrollBarModel model;
            model.SetRange(0, 10);
            model.SetPosition(position);
            ScrollBarPainter::Paint(p, size, model, skin.scrollBar);
            ButtonPainter::Paint(p, QRect(0, 0, 12, 12), skin.scrollBar.up, up);
            ButtonPainter::Paint(p, QRect(0, 88, 12, 12), skin.scrollBar.down, down);
        });
    }
}

void AddSliders(ControlSheet& sheet, const Skin& skin) {
    sheet.Row();
    const QSize size(126, 12);
    const std::tuple<const char*, int, int, int, FocusOutline> sliders[] = {
        {"0..100 at 0", 0, 100, 0, std::nullopt},
        {"0..100 at 50", 0, 100, 50, std::nullopt},
        {"0..100 at 100", 0, 100, 100, std::nullopt},
        {"0..4 at 3", 0, 4, 3, std::nullopt},
        {"focused", 1, 256, 128, kFocus}};
    for (const auto& [name, minimum, maximum, position, focus] : sliders) {
        sheet.Cell(size, name, [&](QPainter& p) {
            SliderModel model;
            model.SetRange(minimum, maximum);
            model.SetPosition(position);
            SliderPainter::Paint(p, size, model, skin.slider, focus);
        });
    }
}

void AddTabs(ControlSheet& sheet, const Skin& skin) {
    sheet.Row();
    for (int current : {0, 1, 2}) {
        sheet.Cell({96, 21}, current == 2 ? "focused" : QString("tab %1 current").arg(current), [&](QPainter& p) {
            TabStripModel tabs(48, 21);
            tabs.AddTab({skin.tabs.filters, skin.tabs.filtersActive, "Filters"});
            tabs.AddTab({skin.tabs.effects, skin.tabs.effectsActive, "Effects"});
            tabs.Select(current % 2);
            TabStripPainter::Paint(p, tabs, current == 2 ? kFocus : std::nullopt);
        });
    }
}

QImage Render(QWidget& window, qreal ratio) {
    QImage image(window.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    window.render(&image);
    return image;
}

TEST(SkinGallery, EveryControlInEveryStateUnderEveryShippedSkin) {
    for (qreal ratio : {1.0, 2.0}) {
        SkinManager manager;
        manager.SetProgramFolder(test::ProgramDir());
        manager.SetDevicePixelRatio(ratio);
        manager.LoadAllSkins();
        ASSERT_EQ(manager.Count(), 3);
        for (int index = 0; index < manager.Count(); ++index) {
            const Skin& skin = *manager.Get(index);
            const QString suffix = QString("-%1@%2x").arg(skin.name).remove(' ').arg(ratio);
            ControlSheet sheet(skin, ratio);
            AddButtons(sheet, skin);
            AddCheckBoxes(sheet, skin);
            AddScrollBars(sheet, skin);
            AddSliders(sheet, skin);
            AddTabs(sheet, skin);
            EXPECT_TRUE(sheet.Save("controls" + suffix));

            test::MainWindowScene main(skin, QSize(320, 240));
            test::OptionsScene options(skin);
            test::GallerySheet windows(ratio, QColor(128, 128, 128));
            windows.Add(Render(main, ratio), "main window");
            windows.Add(Render(options, ratio), "options window");
            EXPECT_TRUE(windows.Save("windows" + suffix));
        }
    }
}

}  // namespace
}  // namespace lumora
