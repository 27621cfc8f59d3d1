// The skin's controls (button, check box, tab strip, slider, scroll bar and list view): each
// one's model, painter and widget, driven by mouse, keys, wheel and screen readers.
#include "control_test_support.h"
#include "skins/check_box_painter.h"
#include "skins/list_view_painter.h"
#include "skins/parvel_button.h"
#include "skins/parvel_check_box.h"
#include "skins/parvel_list_view.h"
#include "skins/parvel_scroll_bar.h"
#include "skins/parvel_simple_tab.h"
#include "skins/parvel_slider.h"
#include "skins/scroll_bar_painter.h"
#include "skins/slider_painter.h"
#include "skins/tab_strip_painter.h"
#include "skins/themed_skin.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QPainter>

#include <limits>
#include <tuple>

namespace lumora {
namespace {

using test::Notes;

// The mouse path and the hover check are driven through ParvelButton below; what the
// widget cannot easily reach is checked on the model.
TEST(ParvelButton, MouseKeysAndScreenReadersClickItAndTheHoverEndsWhenThePointerLeaves) {
    ButtonModel model;
    EXPECT_FALSE(model.ReleaseAt(true).clicked);  // no press before it
    EXPECT_TRUE(model.Press(true));
    EXPECT_FALSE(model.Press(true));  // a second press changes nothing
    model.MouseMove(false);           // pressed outside: the release there is ParvelButton's
    EXPECT_FALSE(model.HoverTick(false)) << "pressed: the hover holds";
    EXPECT_EQ(model.FaceFor(false), ButtonModel::Face::kDisabled);
    model.ReleaseAt(false);

    model.Press(true);
    EXPECT_TRUE(model.Cancel());
    EXPECT_EQ(std::tuple(model.FaceFor(true), model.HoverTimerRunning()),
              std::tuple(ButtonModel::Face::kNormal, false));
    EXPECT_TRUE(model.KeyPress());
    EXPECT_EQ(model.FaceFor(true), ButtonModel::Face::kPressed);
    EXPECT_TRUE(model.KeyRelease().clicked);
    EXPECT_FALSE(model.KeyRelease().clicked);
    model.KeyPress();
    EXPECT_TRUE(model.DropKeyPress());  // the focus moved on: no click
    EXPECT_FALSE(model.KeyRelease().clicked);

    // Mouse clicks notify only when released over the button; keys and screen readers click
    // it too; the hover ends within the check period after the pointer leaves; disabled, it
    // shows its own face and takes no clicks.
    test::Host host;
    // Normal red, over green, pressed blue, disabled grey.
    const QImage faces[] = {test::Solid(20, 20, Qt::red), test::Solid(20, 20, Qt::green), test::Solid(20, 20, Qt::blue),
                            test::Solid(20, 20, Qt::gray)};
    ParvelButton button(2018, host.widget());
    button.setGeometry(10, 10, 20, 20);
    button.SetBitmaps({&faces[0], &faces[1], &faces[2], &faces[3]});
    button.SetText("Close");
    button.show();
    Notes notes;
    test::Record(button, notes);
    EXPECT_EQ(test::PixelOf(button, {10, 10}), QColor(Qt::red));

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(test::PixelOf(button, {10, 10}), QColor(Qt::blue));
    QTest::mouseMove(&button, QPoint(60, 60));
    EXPECT_EQ(std::tuple(button.Model().State(), test::PixelOf(button, {10, 10})),
              std::tuple(ButtonState::kPressedOutside, QColor(Qt::green)));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_TRUE(notes.empty());
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(notes, (Notes{{2018, 0}}));

    EXPECT_EQ(button.focusPolicy(), Qt::TabFocus);
    button.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return button.hasFocus(); }));
    EXPECT_EQ(test::PixelOf(button, {0, 0}), button.palette().color(QPalette::Highlight));
    QTest::keyClick(&button, Qt::Key_Space);
    QTest::keyClick(&button, Qt::Key_Return);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&button);
    ASSERT_TRUE(accessible && accessible->role() == QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Close");
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(notes, (Notes(4, {2018, 0})));

    QCursor::setPos(button.mapToGlobal(QPoint(5, 5)));
    QTest::mouseMove(&button, QPoint(5, 5));
    EXPECT_EQ(button.Model().State(), ButtonState::kOver);
    // The pointer leaves without the button hearing of it.
    QCursor::setPos(host.widget()->mapToGlobal(QPoint(300, 200)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return button.Model().State() == ButtonState::kNormal; },
                                4 * ParvelButton::kHoverCheckMs));
    EXPECT_FALSE(button.Model().HoverTimerRunning());

    // A leave the window system reports ends the hover without waiting.
    QTest::mouseMove(&button, QPoint(5, 5));
    ASSERT_EQ(button.Model().State(), ButtonState::kOver);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_EQ(button.Model().State(), ButtonState::kNormal);

    button.Enable(false);
    EXPECT_EQ(test::PixelOf(button, {10, 10}), QColor(Qt::gray));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(notes.size(), 4u);
}

// The first column, from the left, holding a pixel of the text colour's darkness.
int FirstInkColumn(const QImage& image) {
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y).lightness() < 128) return x;
        }
    }
    return -1;
}

TEST(ParvelCheckBox, TheLabelStartsClearOfTheBoxAndClickingItOrSpaceTogglesAndNotifiesButSetCheckDoesNot) {
    const CheckBoxPainter::Look look{{"", 8, 0, 0, 0}, SkinRgb(0, 0, 0), SkinRgb(255, 255, 255)};
    for (const auto& [height, left] : {std::pair{18, 18}, std::pair{30, 30}, std::pair{12, 12}}) {
        EXPECT_EQ(CheckBoxModel::LabelRect(QRect(0, 0, 200, height)).left(), left);
        QImage canvas = test::Solid(200, height, Qt::red);
        QPainter painter(&canvas);
        CheckBoxPainter::Paint(painter, canvas.rect(), "Hello", look, true);
        painter.end();
        EXPECT_EQ(canvas.pixelColor(0, 0), QColor(Qt::white));  // the background everywhere
        const int ink = FirstInkColumn(canvas);
        EXPECT_TRUE(ink >= left && ink <= left + 2) << height << ": " << ink;
    }

    // The box: clicks on it and Space toggle and notify, SetCheck does not.
    test::Host host;
    const auto skin = CreateDefaultSkin(1.0);
    ParvelCheckBox box(2012, "Enable face detection/tracking", host.widget());
    box.setGeometry(15, 27, 200, 18);
    box.ApplySkin(*skin);
    box.show();
    Notes notes;
    test::Record(box, notes);
    EXPECT_EQ(box.Box().pos(), QPoint(0, 3));
    EXPECT_EQ(box.Box().Bitmaps().normal, skin->checkBox.unchecked.normal);

    QTest::mouseClick(&box.Box(), Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(std::tuple(box.IsChecked(), notes, box.Box().Bitmaps().normal),
              std::tuple(true, Notes{{2012, 0}}, skin->checkBox.checked.normal));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(100, 9));  // the label does nothing
    EXPECT_EQ(notes.size(), 1u);

    box.SetCheck(false);
    EXPECT_TRUE(!box.IsChecked() && box.Box().Bitmaps().normal == skin->checkBox.unchecked.normal && notes.size() == 1);

    // Space toggles it, and screen readers see and change the state.
    box.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return box.hasFocus(); }));
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_EQ(std::tuple(box.IsChecked(), notes), std::tuple(true, Notes{{2012, 0}, {2012, 0}}));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
    ASSERT_TRUE(accessible && accessible->role() == QAccessible::CheckBox);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Enable face detection/tracking");
    EXPECT_TRUE(accessible->state().checkable && accessible->state().checked);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(box.IsChecked() || accessible->state().checked);

    box.resize(200, 30);
    EXPECT_EQ(box.Box().pos(), QPoint(0, 9));
    box.Enable(false);
    EXPECT_FALSE(box.Box().isEnabled());
}

// Clicks, arrows and the strip's size are driven through ParvelSimpleTab below.
TEST(ParvelSimpleTab, TheCurrentTabShowsItsActivePictureAndClicksAndArrowsChangeTabsAndNotifyOnce) {
    const QImage normal = test::Solid(10, 10, Qt::gray);
    const QImage active = test::Solid(30, 7, Qt::red);
    TabStripModel tabs(48, 21);
    tabs.AddTab({&normal, &active, "Filters"});
    tabs.AddTab({&normal, &active, "Effects"});
    EXPECT_EQ(std::vector<int>({tabs.HitTest(47), tabs.HitTest(48), tabs.HitTest(96)}), std::vector<int>({0, 1, -1}));
    EXPECT_TRUE(tabs.Select(1));
    QImage canvas = test::Solid(96, 21, Qt::white);
    QPainter painter(&canvas);
    TabStripPainter::Paint(painter, tabs);
    painter.end();
    // Each tab's picture stretched to the tab.
    const test::Pixel pixels[] = {{0, 0, Qt::gray}, {47, 20, Qt::gray}, {48, 0, Qt::red}, {95, 20, Qt::red}};
    test::ExpectPixels(canvas, pixels);
    tabs.ClearTabs();
    EXPECT_EQ(tabs.GetCurrent(), 1);

    // The strip: clicks and arrows change tabs and notify once.
    test::Host host;
    ParvelSimpleTab strip(2000, 48, 21, host.widget());
    strip.move(5, 12);
    strip.AddTab(&normal, &active, "Filters");
    strip.AddTab(&normal, &active, "Effects");
    EXPECT_EQ(strip.geometry(), QRect(5, 12, 96, 21));
    strip.show();
    Notes notes;
    test::Record(strip, notes);

    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(10, 10));  // already current
    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_EQ(std::tuple(strip.GetCurrent(), test::PixelOf(strip, {60, 10})), std::tuple(1, QColor(Qt::red)));
    strip.resize(200, 21);
    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(150, 10));  // right of the last tab
    EXPECT_EQ(notes, (Notes{{2000, -551}}));

    strip.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return strip.hasFocus(); }));
    QTest::keyClick(&strip, Qt::Key_Right);  // no tab further right
    QTest::keyClick(&strip, Qt::Key_Left);
    EXPECT_EQ(std::tuple(strip.GetCurrent(), notes.size()), std::tuple(0, std::size_t{2}));

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&strip);
    ASSERT_TRUE(accessible && accessible->role() == QAccessible::PageTabList);
    EXPECT_EQ(accessible->text(QAccessible::Value), "Filters");

    strip.ClearTabs();
    EXPECT_EQ(strip.size(), QSize(48, 21));
}

const QSize kSlider(126, 12);  // a ruler from x = 5 to x = 120

SliderModel Range(int minimum, int maximum, int position) {
    SliderModel slider;
    slider.SetRange(minimum, maximum);
    slider.SetPosition(position);
    return slider;
}

TEST(ParvelSlider, ThumbClicksAndTicksMapOntoTheRulerAndMouseKeysWheelAndScreenReadersMoveIt) {
    SliderModel slider = Range(0, 100, 50);
    // A click on the ruler away from the thumb jumps there; above and below it nothing happens.
    EXPECT_TRUE(slider.Press(QPoint(119, 5), kSlider).moved);
    EXPECT_EQ(std::tuple(slider.Position(), slider.Dragging()), std::tuple(100, false));
    slider.SetPosition(50);
    EXPECT_FALSE(slider.Press(QPoint(30, 0), kSlider).moved);
    EXPECT_FALSE(slider.Press(QPoint(30, 10), kSlider).moved);
    EXPECT_EQ(slider.Position(), 50);

    // A press on the thumb starts a drag without moving it; past the ends it stops.
    const SliderModel::PressResult press = slider.Press(slider.ThumbRect(kSlider).center(), kSlider);
    EXPECT_EQ(std::tuple(press.dragging, press.moved, slider.Position()), std::tuple(true, false, 50));
    EXPECT_TRUE(slider.Drag(-40, kSlider));
    EXPECT_EQ(slider.Position(), 0);
    EXPECT_FALSE(slider.Drag(-80, kSlider));
    EXPECT_TRUE(slider.Drag(500, kSlider));
    EXPECT_FALSE(slider.Drag(600, kSlider));
    EXPECT_EQ(slider.Position(), 100);
    slider.Release();
    EXPECT_FALSE(slider.Drag(10, kSlider));
    EXPECT_EQ(slider.PositionFromX(3, QSize(8, 12)), 0);  // no ruler at all

    // Ticks mark every value only when they fit; ranges always hold two values.
    EXPECT_EQ(std::tuple(Range(0, 255, 0).Ticks(kSlider).size(), Range(1, 10, 1).Ticks(kSlider).size()),
              std::tuple(10u, 10u));
    EXPECT_EQ(Range(0, 4, 0).Ticks(kSlider), (std::vector<int>{5, 33, 62, 90, 119}));
    EXPECT_EQ(std::tuple(Range(5, 5, 5).Minimum(), Range(5, 5, 5).Maximum()), std::tuple(5, 6));
    EXPECT_EQ(Range(7, 3, 0).Maximum(), 8);
    const SliderModel top = Range(std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), 0);
    EXPECT_LT(top.Minimum(), top.Maximum());

    QImage canvas = test::Solid(126, 12, Qt::green);
    QPainter painter(&canvas);
    SliderPainter::Paint(
        painter, kSlider, Range(0, 4, 0),
        SliderSkin{SkinRgb(0, 0, 255), SkinRgb(255, 255, 255), SkinRgb(0, 0, 0), SkinRgb(255, 0, 0), nullptr});
    painter.end();
    // The border, a dot (every third pixel from x = 5 on row 8), a tick (rows 3 to 6), the
    // thumb without a picture, and the background between them.
    const test::Pixel pixels[] = {{0, 0, Qt::blue},   {125, 11, Qt::blue}, {32, 8, Qt::black},
                                  {31, 8, Qt::white}, {33, 3, Qt::black},  {33, 6, Qt::black},
                                  {33, 7, Qt::white}, {34, 4, Qt::white},  {6, 6, Qt::red}};
    test::ExpectPixels(canvas, pixels);

    // The widget: mouse, keys, wheel and screen readers move it while enabled.
    test::Host host;
    ParvelSlider widget(host.widget());
    widget.setGeometry(55, 9, 126, 12);
    widget.SetRange(0, 100);
    widget.SetPosition(50);
    widget.show();
    std::vector<int> moves;
    QObject::connect(&widget, &ParvelSlider::scrolled, [&moves](int position) { moves.push_back(position); });

    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(&widget, Qt::LeftButton, {}, widget.Model().ThumbRect(widget.size()).center());
    QTest::mouseMove(&widget, QPoint(62, 5));
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(62, 5));
    EXPECT_EQ(moves, (std::vector<int>{0, 50}));

    widget.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return widget.hasFocus(); }));
    QTest::keyClick(&widget, Qt::Key_Right);
    QTest::keyClick(&widget, Qt::Key_PageDown);
    QTest::keyClick(&widget, Qt::Key_End);
    test::TurnWheel(widget, -2);
    EXPECT_EQ(moves, (std::vector<int>{0, 50, 51, 41, 100, 98}));

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
    ASSERT_TRUE(accessible && accessible->role() == QAccessible::Slider && accessible->valueInterface());
    EXPECT_EQ(accessible->valueInterface()->maximumValue().toInt(), 100);
    accessible->valueInterface()->setCurrentValue(20);
    EXPECT_EQ(widget.GetPosition(), 20);

    widget.Enable(false);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(119, 5));
    EXPECT_EQ(widget.GetPosition(), 20);
}

const QSize kBar(12, 100);  // thumb centre from y = 17 to 82

// The thumb's places at either end are checked by the painter's pixels below.
TEST(ParvelScrollBar, ThumbAndPointerMapOntoTheTrackThePainterFramesItAndArrowsDragAndWheelMoveIt) {
    ScrollBarModel bar;
    bar.SetRange(0, 64);
    bar.SetPosition(32);
    for (const auto& [y, position] : {std::pair{0, 0}, {17, 0}, {49, 32}, {81, 64}, {500, 64}}) {
        EXPECT_EQ(bar.PositionFromY(y, kBar), position) << y;
    }

    bar.SetRange(0, 10);
    bar.SetPosition(5);
    ASSERT_TRUE(bar.Press(bar.ThumbRect(kBar).center(), kBar));
    EXPECT_TRUE(bar.Drag(-50, kBar));
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_FALSE(bar.Drag(-80, kBar));
    EXPECT_TRUE(bar.Drag(400, kBar));
    EXPECT_EQ(bar.Position(), 10);
    bar.Release();
    EXPECT_FALSE(bar.Drag(50, kBar));
    const QSize tiny(12, 30);  // no room for a track
    EXPECT_EQ(std::tuple(bar.PositionFromY(20, tiny), bar.ThumbRect(tiny).top()), std::tuple(0, 13));
    bar.SetRange(0, 3);
    EXPECT_EQ(bar.Position(), 3);
    EXPECT_FALSE(bar.Press(QPoint(6, 50), kBar));  // the track does not page
    EXPECT_EQ(bar.Position(), 3);

    // Bad and empty ranges neither drag nor step.
    bar.SetRange(10, 5);  // the maximum is raised to the minimum
    EXPECT_EQ(std::tuple(bar.Maximum(), bar.Position(), bar.ThumbRect(kBar).top()), std::tuple(10, 10, 13));
    EXPECT_FALSE(bar.Press(bar.ThumbRect(kBar).center(), kBar));
    EXPECT_FALSE(bar.Step(1));
    EXPECT_FALSE(bar.Step(-1));

    bar.SetRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    bar.SetPosition(std::numeric_limits<int>::max());
    EXPECT_EQ(std::tuple(bar.ThumbRect(kBar).top(), bar.PositionFromY(81, kBar)),
              std::tuple(77, std::numeric_limits<int>::max()));
    EXPECT_FALSE(bar.Step(1));

    // The painter frames the track; the thumb falls back to its colour.
    bar.SetRange(0, 64);
    bar.SetPosition(0);
    ScrollBarSkin skin{{}, {}, SkinRgb(0, 0, 255), SkinRgb(255, 255, 255), SkinRgb(255, 0, 0), nullptr};
    QImage canvas = test::Solid(12, 100, Qt::black);
    QPainter painter(&canvas);
    ScrollBarPainter::Paint(painter, kBar, bar, skin);
    const QImage thumb = test::Solid(10, 10, Qt::green);
    skin.thumb = &thumb;
    bar.SetPosition(64);
    ScrollBarPainter::Paint(painter, kBar, bar, skin);
    painter.end();
    // Nothing where the arrows go (they paint themselves), the track's frame and inside, the thumb.
    const test::Pixel pixels[] = {
        {0, 0, Qt::black}, {0, 12, Qt::blue}, {11, 87, Qt::blue}, {5, 50, Qt::white}, {5, 77, Qt::green}};
    test::ExpectPixels(canvas, pixels);

    // The widget: arrows, drags and the wheel move it and notify.
    test::Host host;
    ParvelScrollBar widget(4002, host.widget());
    widget.setGeometry(100, 10, 12, 100);
    widget.SetRange(0, 4);
    widget.SetPosition(0);
    widget.show();
    std::vector<int> moves;
    QObject::connect(&widget, &ParvelScrollBar::scrolled, [&moves](int position) { moves.push_back(position); });
    auto* up = widget.findChild<ParvelButton*>("4003");
    auto* down = widget.findChild<ParvelButton*>("4004");
    ASSERT_TRUE(up && down);

    QTest::mouseClick(up, Qt::LeftButton, {}, QPoint(6, 6));  // at the top already
    QTest::mouseClick(down, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(moves, (std::vector<int>{1}));

    const QPoint grip = widget.Model().ThumbRect(widget.size()).center();
    QTest::mousePress(&widget, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&widget, QPoint(6, 200));
    QTest::mouseMove(&widget, QPoint(6, 300));
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(6, 300));
    EXPECT_EQ(moves, (std::vector<int>{1, 4}));

    test::TurnWheel(widget, 1);
    EXPECT_EQ(moves, (std::vector<int>{1, 4, 3}));
    widget.SetPosition(0);  // set by the owner: no notification
    EXPECT_EQ(moves.size(), 3u);
}

// A tile area of 210 x 100 pixels.
const QSize kClient(224, 102);

// `count` items whose captions are 17 pixels high, or 34 for those marked "long".
ListViewModel ListOf(int count, const std::vector<int>& tall = {}) {
    ListViewModel list;
    for (int i = 0; i < count; ++i) {
        const bool isTall = std::find(tall.begin(), tall.end(), i) != tall.end();
        list.AddItem(nullptr, isTall ? "long" : "short", 100 + i);
    }
    list.ComputeTileSize([](const QString& caption) { return caption == "long" ? 34 : 17; });
    return list;
}

TEST(ParvelListView, TilesGoInRowsShowSelectionAndCurrentnessAndClicksAndTheBarMoveThem) {
    ListViewModel list = ListOf(7);
    EXPECT_EQ(std::tuple(list.TileSize(), list.Columns(kClient), list.RangeFor(kClient).maximum,
                         list.RangeFor(kClient).position),
              std::tuple(QSize(68, 80), 3, 2, 0));

    // The second row shows, cut by the area's bottom (the painter's pixels); the third does not.
    EXPECT_EQ(list.VisibleTiles(kClient).size(), 6u);
    list.ScrollTo(2, kClient);
    EXPECT_EQ(list.FirstVisible(), 6);
    ASSERT_EQ(list.VisibleTiles(kClient).size(), 1u);
    EXPECT_EQ(std::tuple(list.VisibleTiles(kClient)[0].index, list.RangeFor(kClient).position), std::tuple(6, 2));

    // One long caption makes every tile taller; an empty list has no tiles.
    EXPECT_EQ(ListOf(3, {1}).TileSize(), QSize(68, 97));
    ListViewModel empty;
    empty.ComputeTileSize([](const QString&) { return 17; });
    EXPECT_TRUE(empty.TileSize().isNull());
    EXPECT_TRUE(empty.VisibleTiles(kClient).empty());
    EXPECT_EQ(empty.HitTest(QPoint(10, 10), kClient), -1);

    // Hits fall on tiles cut to the area: beyond the last item, in the border below the area and left of it: no tile.
    const std::pair<QPoint, int> hits[] = {{{1, 1}, 0},     {{140, 40}, 2},  {{80, 90}, 4},
                                           {{150, 90}, -1}, {{80, 101}, -1}, {{0, 10}, -1}};
    list = ListOf(5);
    for (const auto& [point, index] : hits) EXPECT_EQ(list.HitTest(point, kClient), index) << point.x();
    EXPECT_FALSE(list.SetSelected(5, true));
    EXPECT_TRUE(list.SetSelected(4, true));
    EXPECT_EQ(std::tuple(list.GetItemValue(4), list.GetItemValue(-1)), std::tuple(104, 0));
    EXPECT_EQ(std::tuple(list.FindItemByValue(102), list.FindItemByValue(7)), std::tuple(2, -1));
    list.SetCurrent(3);
    list.Clear();
    EXPECT_EQ(list.GetCurrent(), 3);  // kept

    // Painted, tiles show selection, currentness and missing pictures.
    list = ListOf(4);
    const QImage picture = test::Solid(20, 20, Qt::blue);
    list.AddItem(&picture, "", 1);
    list.ComputeTileSize([](const QString&) { return 17; });
    list.SetSelected(0, true);
    list.SetSelected(1, true);
    list.SetCurrent(0);
    const ListViewSkin skin{
        SkinRgb(1, 1, 1), SkinRgb(250, 250, 250), SkinRgb(0, 0, 0), SkinRgb(3, 3, 3),   SkinRgb(4, 200, 4),
        SkinRgb(5, 5, 5), SkinRgb(6, 6, 6),       SkinRgb(7, 7, 7), SkinRgb(255, 0, 0), {}};
    QImage canvas = test::Solid(kClient.width(), kClient.height(), Qt::black);
    QPainter painter(&canvas);
    ListViewPainter::Paint(painter, kClient, list, skin);
    painter.end();
    // The current and selected tile has the active border, the selected one its own, the
    // third none. Without a picture the square shows the tile's background; item 4 is
    // stretched to 48 x 48, and the cut row stops at the area.
    const test::Pixel pixels[] = {{0, 0, ToQColor(skin.windowBorder)},
                                  {1, 1, ToQColor(skin.activeBorder)},
                                  {69, 1, ToQColor(skin.selectedBorder)},
                                  {137, 1, ToQColor(skin.background)},
                                  {1 + 9, 1 + 4, ToQColor(skin.selectedImageBorder)},
                                  {137 + 9, 1 + 4, ToQColor(skin.imageBorder)},
                                  {1 + 30, 1 + 30, ToQColor(skin.selectedBackground)},
                                  {137 + 30, 1 + 30, ToQColor(skin.background)},
                                  {69 + 10, 81 + 5, Qt::blue},
                                  {69 + 57, 100, Qt::blue},
                                  {69 + 30, 101, ToQColor(skin.windowBorder)}};
    test::ExpectPixels(canvas, pixels);

    // The view: clicks make tiles current and scrolling follows the bar.
    test::Host host;
    const auto defaultSkin = CreateDefaultSkin(1.0);
    ParvelListView view(4000, host.widget());
    view.setGeometry(10, 10, kClient.width(), kClient.height());
    view.show();
    for (int i = 0; i < 7; ++i) view.AddItem(nullptr, QString("Effect %1").arg(i), i);
    view.ApplySkin(*defaultSkin);
    const QSize tile = view.Model().TileSize();
    ASSERT_EQ(tile.width(), 68);
    // Three rows of tiles, as many of them whole in the 100-pixel area as fit.
    EXPECT_EQ(view.ScrollBar().Model().Maximum(), std::max(3 - std::max(1, 100 / tile.height()), 0));

    Notes notes;
    test::Record(view, notes);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(69 + 30, 20));
    EXPECT_EQ(view.GetCurrent(), 1);
    // A double click is a press, then a double-click press (which is all QTest sends).
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(137 + 30, 20));
    QTest::mouseDClick(&view, Qt::LeftButton, {}, QPoint(137 + 30, 20));
    EXPECT_EQ(std::tuple(view.GetCurrent(), notes), std::tuple(2, Notes{{4000, 1}, {4000, 1}, {4000, 2}}));
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(0, 5));  // the border: no tile
    EXPECT_EQ(notes.size(), 3u);

    test::TurnWheel(view, -1);
    EXPECT_EQ(std::tuple(view.ScrollBar().GetPosition(), view.Model().FirstVisible()), std::tuple(1, 3));
}

}  // namespace
}  // namespace lumora
