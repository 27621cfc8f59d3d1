// The options window itself (docking, size, resizing, tabs) and its two effect lists.
#include "options/effect_menu.h"
#include "options_window_fixture.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>

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
        if (options_->Tabs().GetCurrent() != tab) {
            QTest::mouseClick(&options_->Tabs(), Qt::LeftButton, {}, QPoint(tab * OptionsWindow::kTabWidth + 10, 10));
        }
    }
    static bool Marked(const SelectEffectPanel& panel, int row) {
        return panel.List().Model().Items().at(static_cast<std::size_t>(row)).selected;
    }
};

TEST_F(WindowTest, DocksSwitchesTabsAndResizesOnlyFromRightAndBottom) {
    Build();
    EXPECT_TRUE(options_->isVisible());
    EXPECT_EQ(options_->pos(), QPoint(500, 80));
    main_.move(40, 60);
    EXPECT_EQ(options_->pos(), QPoint(440, 60));
    options_->Toggle();
    EXPECT_FALSE(options_->isVisible());
    main_.move(10, 10);
    options_->Toggle();
    EXPECT_EQ(options_->pos(), QPoint(410, 10));

    // The tabs switch the pages, and the tab survives hiding.
    EXPECT_TRUE(options_->Filters().isVisible());
    EXPECT_FALSE(options_->Effects().isVisible());
    ShowTab(1);
    EXPECT_FALSE(options_->Filters().isVisible());
    EXPECT_TRUE(options_->Effects().isVisible());
    options_->Toggle();
    options_->Toggle();
    EXPECT_TRUE(options_->Effects().isVisible());
    Click(*options_->findChild<ParvelButton*>(QString::number(OptionsWindow::kCloseId), Qt::FindDirectChildrenOnly));
    EXPECT_FALSE(options_->isVisible());
    options_->Toggle();
    ShowTab(0);

    // Filters page 228 x 314 (30 + 103 + 73 + 93 + 3 gaps), plus the tabs and margins.
    EXPECT_EQ(options_->size(), QSize(248, 362));

    const QSize pages = options_->Filters().size();
    QTest::mousePress(options_.get(), Qt::LeftButton, {}, QPoint(1, 200));
    QTest::mouseMove(options_.get(), QPoint(-60, 200));
    QTest::mouseRelease(options_.get(), Qt::LeftButton, {}, QPoint(-60, 200));
    EXPECT_EQ(options_->size(), QSize(248, 362));

    const QPoint corner(247, 361);
    QTest::mousePress(options_.get(), Qt::LeftButton, {}, corner);
    QTest::mouseMove(options_.get(), corner + QPoint(40, 30));
    QTest::mouseRelease(options_.get(), Qt::LeftButton, {}, corner + QPoint(40, 30));
    EXPECT_EQ(options_->size(), QSize(288, 392));
    EXPECT_EQ(options_->Filters().size(), pages + QSize(40, 30));
    EXPECT_EQ(Filters().height(), 93 + 30);  // the list takes the height gained
}

TEST_F(WindowTest, ListsTheBundledFiltersAndAnimations) {
    Build();
    QStringList filters{"Picture - in - picture"};
    QStringList animations;
    for (const Effect* effect : chain_->Effects()) {
        if (effect->id > chain_->pipEffectId()) (effect->layer == 3 ? animations : filters) << effect->name;
    }
    ASSERT_FALSE(animations.isEmpty());
    ASSERT_GT(filters.size(), 1);
    EXPECT_EQ(Captions(Filters().List()), filters);
    EXPECT_EQ(Captions(Animations().List()), animations);

    // An animation runs from a double click and stops from the context menu.
    DoubleClick(Animations(), 0);
    EXPECT_TRUE(Marked(Animations(), 0));
    EXPECT_TRUE(chain_->IsEffectActive(Animations().List().GetItemValue(0)));
    EXPECT_EQ(Animations().findChild<ParvelButton*>("4001")->accessibleName(), "Stop effect");
    QStringList shown;
    auto previous = EffectMenu::SetHook([&shown](QMenu& menu, QPoint) {
        for (const QAction* action : menu.actions()) shown << action->text() + (action->isEnabled() ? "" : " (off)");
        return EffectMenu::kStartStop;
    });
    auto& list = const_cast<ParvelListView&>(Animations().List());
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), list.mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(&list, &menu);
    EffectMenu::SetHook(std::move(previous));
    EXPECT_FALSE(Marked(Animations(), 0));
    EXPECT_FALSE(chain_->IsEffectActive(Animations().List().GetItemValue(0)));
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0], "Stop");
    EXPECT_TRUE(shown[1].startsWith("Options..."));
}

TEST_F(WindowTest, WithoutPlugInsOrCascadeOnlyThePictureInPictureIsListedAndFaceTrackingFails) {
    TempDir folder;
    Build(folder.path().string() + "/");
    EXPECT_EQ(Captions(Filters().List()), QStringList{"Picture - in - picture"});
    EXPECT_TRUE(Captions(Animations().List()).isEmpty());
    EXPECT_FALSE(Animations().findChild<ParvelButton*>("4001")->isEnabled());
    EXPECT_FALSE(Animations().findChild<ParvelButton*>("4002")->isEnabled());

    // Without a camera to choose, its start is cancelled: no mark, no message.
    DoubleClick(Filters(), 0);
    EXPECT_FALSE(chain_->IsEffectActive(chain_->pipEffectId()));
    EXPECT_FALSE(Marked(Filters(), 0));
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_FALSE(Filters().Toggle(chain_->pipEffectId()));

    // Without the face cascade face tracking says so and leaves its box unchecked.
    ParvelCheckBox& face = Find<ParvelCheckBox>("2012");
    Click(face.Box());
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].text, ZoomPanel::kFaceFailedText);
    EXPECT_EQ(messages_.Messages()[0].flags, 0x30u);
    EXPECT_FALSE(face.IsChecked());
    EXPECT_FALSE(Find<ParvelCheckBox>("2013").isEnabled());
    EXPECT_EQ(ZoomText(), "Zoom: x1.00");
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
    EXPECT_EQ(messages_.Messages()[0].text, SelectEffectPanel::kStartFailedText);
    EXPECT_EQ(messages_.Messages()[0].flags, 0x30u);
    EXPECT_FALSE(Marked(Animations(), 0));
    ParvelButton& options = *Animations().findChild<ParvelButton*>("4002");
    const int starts = effect.starts;
    Click(options);
    EXPECT_EQ(effect.dialogs, 1);
    EXPECT_EQ(effect.starts, starts);

    effect.answer = kEffectStarted;
    const EffectId id = Animations().List().GetItemValue(0);
    EXPECT_TRUE(Animations().Toggle(id));
    EXPECT_TRUE(Marked(Animations(), 0));
    Click(options);
    EXPECT_EQ(effect.dialogs, 2);
    EXPECT_EQ(effect.starts, starts + 2);
    EXPECT_TRUE(chain_->IsEffectActive(id));
    chain_->UnloadEffects();
}

// Screenshots of the options window with each tab under every shipped skin, written to the
// build's skin-gallery/ folder (options-<skin>-filters.png, options-<skin>-effects.png)
// for people to look at. Checks only that they are made.
TEST_F(WindowTest, ShootsBothTabsUnderEverySkin) {
    Build();
    QDir().mkpath(LUMORA_SKIN_GALLERY_DIR);
    ASSERT_GE(skins_.Count(), 2);
    ParvelSimpleTab& tabs = options_->Tabs();
    for (int index = 0; index < skins_.Count(); ++index) {
        skins_.ApplySkin(index);
        const QString name = skins_.Get(index)->name;
        for (const auto& [tab, page] : {std::pair{0, "filters"}, std::pair{1, "effects"}}) {
            if (tabs.GetCurrent() != tab) QTest::keyClick(&tabs, tab == 0 ? Qt::Key_Left : Qt::Key_Right);
            const QString file = QString(LUMORA_SKIN_GALLERY_DIR "/options-%1-%2.png").arg(name, page);
            EXPECT_TRUE(options_->grab().save(file)) << file.toStdString();
        }
    }
}

}  // namespace
}  // namespace lumora::test
