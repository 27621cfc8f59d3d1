// Two windows put together from the skinned controls for the gallery: the main window's
// chrome around a preview, and the options window with its tabs, panels and controls,
// laid out as the program lays them out. They only paint; nothing is connected.
#pragma once

#include "skins/parvel_button.h"
#include "skins/parvel_check_box.h"
#include "skins/parvel_list_view.h"
#include "skins/parvel_simple_tab.h"
#include "skins/parvel_slider.h"
#include "skins/skin.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace lumora::test {

class MainWindowScene : public QWidget {
public:
    MainWindowScene(const Skin& skin, QSize video);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void AddButton(int id, const ButtonBitmaps& bitmaps, QRect rect);

    const Skin& skin_;
    QSize video_;
    std::vector<std::unique_ptr<ParvelButton>> buttons_;
};

// A panel of the options window: its frame pieces around its controls.
class PanelScene : public QWidget {
public:
    PanelScene(const FramePieces& frame, QWidget* parent) : QWidget(parent), frame_(frame) {}

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FramePieces frame_;
};

class OptionsScene : public QWidget {
public:
    explicit OptionsScene(const Skin& skin);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PanelScene* AddPanel(const FramePieces& frame, QRect rect);
    ParvelButton* AddButton(QWidget* parent, int id, const ButtonBitmaps& bitmaps, QRect rect);
    ParvelSlider* AddSlider(QWidget* parent, QRect rect, int minimum, int maximum, int position);
    void BuildPlayback(QWidget* panel);
    void BuildColourFilter(QWidget* panel);
    void BuildZoom(QWidget* panel);
    void BuildEffects(QWidget* panel);

    const Skin& skin_;
    ParvelSimpleTab tabs_;
    QWidget page_;
};

}  // namespace lumora::test
