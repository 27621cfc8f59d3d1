// An options window over a chain of its own, docked to a plain window that stands in for
// the main window, with the built-in skin applied and every message box taken.
#pragma once

#include "config_dir_fixture.h"
#include "effects/all_builtin_effects.h"
#include "effects/effect_chain.h"
#include "effects/face_tracking_effect.h"
#include "options/options_window.h"
#include "platform/message_recorder.h"
#include "skins/parvel_button.h"
#include "skins/parvel_check_box.h"
#include "skins/parvel_slider.h"
#include "skins/skin_manager.h"
#include "test_support.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace lumora::test {

class OptionsWindowTest : public ConfigDirTest {
protected:
    // The chain of `programFolder` (the build's, with the bundled plug-ins, by default);
    // `before` registers effects of the test's own before the window lists them.
    void Build(const std::string& programFolder = ProgramDir(), const std::function<void(EffectChain&)>& before = {}) {
        // The face cascade is looked for in that folder too, not beside the test.
        chain_ = std::make_unique<EffectChain>(programFolder, [programFolder] {
            BuiltinEffects effects = CreateAllBuiltinEffects();
            effects.faceTracking = MakeOwnedEffect<FaceTrackingEffect>(programFolder + kFaceCascadeFileName);
            return effects;
        });
        chain_->LoadEffects();
        if (before) before(*chain_);
        main_.setWindowFlag(Qt::FramelessWindowHint);  // as the main window is
        main_.setGeometry(100, 80, 400, 300);
        main_.show();
        options_ = std::make_unique<OptionsWindow>(*chain_, main_);
        skins_.SetProgramFolder(programFolder);
        skins_.RegisterSkinWindow(options_.get());
        skins_.LoadAllSkins();
        skins_.ApplySkin(0);
        options_->UpdateEnabling({SourceKind::kCaptureDevice, false});
        options_->Toggle();
    }
    void TearDown() override {
        options_.reset();
        if (chain_) chain_->UnloadEffects();
        ConfigDirTest::TearDown();
    }

    // The control named `name` of the window, or of `in`.
    template <class Control>
    Control& Find(const QString& name, const QWidget* in = nullptr) const {
        auto* control = (in ? in : options_.get())->findChild<Control*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return *control;
    }
    // Button `id` of the Filters page's panels.
    ParvelButton& Button(int id) const { return Find<ParvelButton>(QString::number(id), &options_->Filters()); }
    static void Click(QWidget& control) { QTest::mouseClick(&control, Qt::LeftButton); }
    void Press(int id, int times = 1) const {
        for (int i = 0; i < times; ++i) Click(Button(id));
    }
    QString ZoomText() const { return options_->Filters().Zoom().ZoomText(); }

    QWidget main_;
    SkinManager skins_;
    MessageRecorder messages_;
    std::unique_ptr<EffectChain> chain_;
    std::unique_ptr<OptionsWindow> options_;
};

}  // namespace lumora::test
