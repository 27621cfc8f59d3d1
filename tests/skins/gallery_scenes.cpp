#include "gallery_scenes.h"

#include "skins/main_window_chrome.h"
#include "skins/skin_drawing.h"

#include <QLinearGradient>
#include <QPainter>

namespace lumora::test {

MainWindowScene::MainWindowScene(const Skin& skin, QSize video) : skin_(skin), video_(video) {
    const QSize size = MainWindowChrome::WindowSize(video);
    resize(size);
    setMask(RoundedWindowRegion(size));
    const int w = size.width();
    const int h = size.height();
    AddButton(2014, skin.menu.file, {10, 36, 20, 13});
    AddButton(2015, skin.menu.source, {35, 36, 63, 13});
    AddButton(2016, skin.menu.options, {103, 36, 38, 13});
    AddButton(2017, skin.menu.skin, {146, 36, 25, 13});
    AddButton(2018, skin.mainWindow.close, {w - 25, 5, 20, 20});
    AddButton(2019, skin.mainWindow.minimize, {w - 50, 5, 20, 20});
    AddButton(2004, skin.showOptions, {w - 18, h - (video.height() - 78) / 2 - 97, 13, 78});
}

void MainWindowScene::AddButton(int id, const ButtonBitmaps& bitmaps, QRect rect) {
    auto button = std::make_unique<ParvelButton>(id, this);
    button->SetBitmaps(bitmaps);
    button->setGeometry(rect);
    buttons_.push_back(std::move(button));
}

void MainWindowScene::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect preview = MainWindowChrome::PreviewRect(video_);
    MainWindowChrome::Paint(painter, rect(), mask(), preview, skin_);
    QLinearGradient sky(preview.topLeft(), preview.bottomLeft());
    sky.setColorAt(0, QColor(40, 70, 110));
    sky.setColorAt(1, QColor(200, 140, 90));
    painter.fillRect(preview, sky);
}

void PanelScene::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawFramePieces(painter, rect(), frame_, 6, 6, 6, 6);
}

OptionsScene::OptionsScene(const Skin& skin) : skin_(skin), tabs_(2000, 48, 21, this), page_(this) {
    resize(300, 400);
    setMask(RoundedWindowRegion(size()));
    tabs_.move(5, 12);
    tabs_.AddTab(skin.tabs.filters, skin.tabs.filtersActive, "Filters");
    tabs_.AddTab(skin.tabs.effects, skin.tabs.effectsActive, "Effects");
    page_.setGeometry(10, 12 + 21 + 5, 300 - 20, 400 - 12 - 21 - 5 - 10);
    page_.setAutoFillBackground(true);
    QPalette palette = page_.palette();
    palette.setColor(QPalette::Window, ToQColor(skin.tabsWindow.background));
    page_.setPalette(palette);
    BuildPlayback(AddPanel(skin.darkWindow, {0, 0, 280, 30}));
    BuildColourFilter(AddPanel(skin.lightWindow, {0, 35, 280, 103}));
    BuildZoom(AddPanel(skin.darkWindow, {0, 143, 280, 73}));
    BuildEffects(AddPanel(skin.lightWindow, {0, 221, 280, 126}));
    auto* close = AddButton(this, 2001, skin.mainWindow.close, {300 - 25, 5, 20, 20});
    close->raise();
}

PanelScene* OptionsScene::AddPanel(const FramePieces& frame, QRect rect) {
    auto* panel = new PanelScene(frame, &page_);
    panel->setGeometry(rect);
    return panel;
}

ParvelButton* OptionsScene::AddButton(QWidget* parent, int id, const ButtonBitmaps& bitmaps, QRect rect) {
    auto* button = new ParvelButton(id, parent);
    button->SetBitmaps(bitmaps);
    button->setGeometry(rect);
    return button;
}

ParvelSlider* OptionsScene::AddSlider(QWidget* parent, QRect rect, int minimum, int maximum, int position) {
    auto* slider = new ParvelSlider(parent);
    slider->setGeometry(rect);
    slider->SetRange(minimum, maximum);
    slider->SetPosition(position);
    slider->ApplySkin(skin_);
    return slider;
}

void OptionsScene::BuildPlayback(QWidget* panel) {
    AddButton(panel, 2001, skin_.playback.start, {5, 5, 20, 20});
    AddButton(panel, 2002, skin_.playback.stop, {30, 5, 20, 20});
    AddSlider(panel, {55, 9, panel->width() - 65, 12}, 0, 100, 35);
}

void OptionsScene::BuildColourFilter(QWidget* panel) {
    const int w = panel->width();
    AddSlider(panel, {50, 14, w - 60, 12}, 1, 256, 128);
    AddSlider(panel, {50, 39, w - 60, 12}, 1, 256, 200);
    AddSlider(panel, {50, 64, w - 60, 12}, 1, 256, 60);
    AddButton(panel, 2008, skin_.colourFilter.defaultButton, {w - 64, 81, 54, 17});
    const QImage* icons[] = {skin_.colourFilter.red, skin_.colourFilter.green, skin_.colourFilter.blue};
    for (int i = 0; i < 3; ++i) {
        auto* icon = AddButton(panel, 0, {icons[i], icons[i], icons[i], icons[i]}, {15, 10 + 25 * i, 20, 20});
        icon->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

void OptionsScene::BuildZoom(QWidget* panel) {
    const int w = panel->width();
    AddButton(panel, 2009, skin_.zoom.zoomIn, {w - 106, 5, 16, 16});
    AddButton(panel, 2010, skin_.zoom.zoomOut, {w - 85, 5, 16, 16});
    AddButton(panel, 2011, skin_.zoom.zoomDefault, {w - 64, 5, 54, 17});
    auto* face = new ParvelCheckBox(2012, "Enable face detection/tracking", panel);
    face->setGeometry(15, 27, w - 20, 18);
    face->ApplySkin(skin_);
    auto* locator = new ParvelCheckBox(2013, "Show face locator", panel);
    locator->setGeometry(15, 50, w - 20, 18);
    locator->ApplySkin(skin_);
    locator->SetCheck(true);
    locator->Enable(false);
}

void OptionsScene::BuildEffects(QWidget* panel) {
    const QRect inner = panel->rect().adjusted(5, 5, -5, -5);
    auto* list = new ParvelListView(4000, panel);
    list->setGeometry(inner.adjusted(0, 0, 0, -23));
    const QImage* pictures[] = {skin_.colourFilter.red, nullptr, skin_.zoom.zoomIn.normal, skin_.colourFilter.blue,
                                skin_.playback.start.normal};
    const char* names[] = {"Picture - in - picture", "Snow", "Old movie", "Bubbles", "Fireworks"};
    for (int i = 0; i < 5; ++i) list->AddItem(pictures[i], names[i], i);
    list->SetSelected(0, true);
    list->ApplySkin(skin_);
    AddButton(panel, 4001, skin_.selectEffect.startStop, {inner.left(), inner.bottom() + 1 - 18, 72, 18});
    AddButton(panel, 4002, skin_.selectEffect.options, {inner.left() + 77, inner.bottom() + 1 - 18, 72, 18});
}

void OptionsScene::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FillTexturedWindow(painter, *this, skin_.mainWindow.background, skin_.mainWindow.border);
    // From the tab strip's left edge, 3 pixels above its bottom, to 5 pixels inside.
    const QRect frame(QPoint(5, 12 + 21 - 3), QPoint(width() - 5 - 1, height() - 5 - 1));
    DrawFramePieces(painter, frame, skin_.tabsWindow, 10, 10, 10, 10);
}

}  // namespace lumora::test
