// The options window itself (docking, size, resizing, tabs) and its two effect lists.
#include "options/effect_menu.h"
#include "options_window_fixture.h"

#include <QAction>
#include <QContextMenuEvent>

namespace lumora::test {
namespace {

QStringList Captions(const ParvelListView& list) {
    QStringList captions;
    for (const ListViewModel::Item& item : list.Model().Items()) captions << item.caption;
    return captions;
}

// An animation of the test's own: what Start answers, how often it started and showed its
// options dialog (which "accepts").
class TestAnimation final : public Effect {
public:
    explicit TestAnimation(std::int32_t first)
            : Effect("Test animation", "00000000-0000-0000-0000-00000000a11e", 3), answer(first) {}
    std::int32_t Start() override { return ++starts, answer; }
    bool ProcessFrame(std::uint8_t*, std::int32_t, std::int32_t, double) override { return true; }
    bool ShowOptions() override { return ++dialogs, true; }
    bool IsConfigurable() override { return true; }

    std::int32_t answer;
    int starts = 0;
    int dialogs = 0;
};

class WindowTest : public OptionsWindowTest {
protected:
    SelectEffectPanel& Animations() { return options_->Effects().Animations(); }
    SelectEffectPanel& Filters() { return options_->Filters().Effects(); }
    // A double click on tile `row` of `panel`'s list, its page shown first.
    void DoubleClick(SelectEffectPanel& panel, int row) {
        ShowTab(&panel == &Animations() ? 1 : 0);
        auto& list = const_cast<ParvelListView&>(panel.List());
        const QPoint at = list.Model().VisibleTiles(list.size()).at(static_cast<std::size_t>(row)).rect.center();
        QTest::mouseClick(&list, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(&list, Qt::LeftButton, Qt::NoModifier, at);
    }
    void ShowTab(int tab) {
        if (options_->Tabs().GetCurrent() != tab)
            QTest::mouseClick(&options_->Tabs(), Qt::LeftButton, {}, QPoint(tab * OptionsWindow::kTabWidth + 10, 10));
    }
    static bool Marked(const SelectEffectPanel& panel, int row) {
        return panel.List().Model().Items().at(static_cast<std::size_t>(row)).selected;
    }
};

TEST_F(WindowTest, DocksSwitchesTabsResizesOnlyFromRightAndBottomAndListsTheBundledEffects) {
    Build();
    EXPECT_EQ(std::tuple(options_->isVisible(), options_->pos()), std::tuple(true, QPoint(500, 80)));
    main_.move(40, 60);
    EXPECT_EQ(options_->pos(), QPoint(440, 60));
    options_->Toggle();
    const bool hidden = !options_->isVisible();
    main_.move(10, 10);
    options_->Toggle();
    EXPECT_EQ(std::tuple(hidden, options_->pos()), std::tuple(true, QPoint(410, 10)));

    // The tabs switch the pages, and the tab survives hiding.
    const auto pages = [this] { return std::tuple(options_->Filters().isVisible(), options_->Effects().isVisible()); };
    EXPECT_EQ(pages(), std::tuple(true, false));
    ShowTab(1);
    EXPECT_EQ(pages(), std::tuple(false, true));
    options_->Toggle();
    options_->Toggle();
    const bool kept = options_->Effects().isVisible();
    Click(*options_->findChild<ParvelButton*>(QString::number(OptionsWindow::kCloseId), Qt::FindDirectChildrenOnly));
    EXPECT_EQ(std::tuple(kept, options_->isVisible()), std::tuple(true, false));
    options_->Toggle();
    ShowTab(0);

    const auto drag = [this](QPoint from, QPoint by) {
        QTest::mousePress(options_.get(), Qt::LeftButton, {}, from);
        QTest::mouseMove(options_.get(), from + by);
        QTest::mouseRelease(options_.get(), Qt::LeftButton, {}, from + by);
    };
    const QSize size = options_->size();
    const QSize page = options_->Filters().size();
    const int listHeight = Filters().height();
    drag(QPoint(1, 200), QPoint(-61, 0));
    EXPECT_EQ(options_->size(), size);
    drag(QPoint(size.width() - 1, size.height() - 1), QPoint(40, 30));
    // The list takes the height gained.
    EXPECT_EQ(std::tuple(options_->size(), options_->Filters().size(), Filters().height()),
              std::tuple(size + QSize(40, 30), page + QSize(40, 30), listHeight + 30));

    // The bundled filters and animations are listed.
    QStringList filters{"Picture - in - picture"};
    QStringList animations;
    for (const Effect* effect : chain_->Effects())
        if (effect->id > chain_->pipEffectId()) (effect->layer == 3 ? animations : filters) << effect->name;
    ASSERT_TRUE(!animations.isEmpty() && filters.size() > 1);
    EXPECT_EQ(Captions(Filters().List()), filters);
    EXPECT_EQ(Captions(Animations().List()), animations);

    // An animation runs from a double click and stops from the context menu.
    DoubleClick(Animations(), 0);
    EXPECT_EQ(std::tuple(Marked(Animations(), 0), chain_->IsEffectActive(Animations().List().GetItemValue(0))),
              std::tuple(true, true));
    EXPECT_EQ(Animations().findChild<ParvelButton*>("4001")->accessibleName(), "Stop effect");
    QStringList shown;
    auto previous = EffectMenu::SetHook([&shown](QMenu& menu, QPoint) {
        for (const QAction* action : menu.actions()) shown << action->text();
        return EffectMenu::kStartStop;
    });
    auto& list = const_cast<ParvelListView&>(Animations().List());
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), list.mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(&list, &menu);
    EffectMenu::SetHook(std::move(previous));
    EXPECT_EQ(std::tuple(Marked(Animations(), 0), chain_->IsEffectActive(Animations().List().GetItemValue(0))),
              std::tuple(false, false));
    EXPECT_EQ(std::tuple(shown.size(), shown.value(0), shown.value(1).startsWith("Options...")),
              std::tuple(2, "Stop", true));
}

TEST_F(WindowTest, WithoutPlugInsOrCascadeOnlyThePictureInPictureIsListedAndFaceTrackingFails) {
    TempDir folder;
    Build(folder.path().string() + "/");
    EXPECT_EQ(Captions(Filters().List()), QStringList{"Picture - in - picture"});
    EXPECT_TRUE(Captions(Animations().List()).isEmpty());
    for (const char* button : {"4001", "4002"})
        EXPECT_FALSE(Animations().findChild<ParvelButton*>(button)->isEnabled());

    // Without a camera to choose, its start is cancelled: no mark, no message.
    DoubleClick(Filters(), 0);
    EXPECT_EQ(
        std::tuple(chain_->IsEffectActive(chain_->pipEffectId()), Marked(Filters(), 0), messages_.Messages().size()),
        std::tuple(false, false, 0u));

    // Without the face cascade face tracking says so and leaves its box unchecked.
    ParvelCheckBox& face = Find<ParvelCheckBox>("2012");
    Click(face.Box());
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(std::tie(messages_.Messages()[0].text, messages_.Messages()[0].flags),
              std::tuple(ZoomPanel::kFaceFailedText, 0x30u));
    EXPECT_EQ(std::tuple(face.IsChecked(), Find<ParvelCheckBox>("2013").isEnabled(), ZoomText()),
              std::tuple(false, false, "Zoom: x1.00"));
}

// A failed start is reported; options of an effect that is off change its settings and
// start nothing, of a running one start it again.
TEST_F(WindowTest, AFailedStartIsReportedAndOptionsRestartOnlyARunningEffect) {
    TempDir folder;
    TestAnimation effect(kEffectFailed);
    Build(folder.path().string() + "/", [&effect](EffectChain& chain) { chain.RegisterEffect(&effect, nullptr); });
    ASSERT_EQ(Captions(Animations().List()), QStringList{"Test animation"});
    DoubleClick(Animations(), 0);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(std::tuple(messages_.Messages()[0].text, messages_.Messages()[0].flags, Marked(Animations(), 0)),
              std::tuple(SelectEffectPanel::kStartFailedText, 0x30u, false));
    ParvelButton& options = *Animations().findChild<ParvelButton*>("4002");
    const int starts = effect.starts;
    Click(options);
    EXPECT_EQ(std::tuple(effect.dialogs, effect.starts), std::tuple(1, starts));

    effect.answer = kEffectStarted;
    const EffectId id = Animations().List().GetItemValue(0);
    EXPECT_TRUE(Animations().Toggle(id));
    EXPECT_TRUE(Marked(Animations(), 0));
    Click(options);
    EXPECT_EQ(std::tuple(effect.dialogs, effect.starts, chain_->IsEffectActive(id)), std::tuple(2, starts + 2, true));
    chain_->UnloadEffects();
}

}  // namespace
}  // namespace lumora::test
