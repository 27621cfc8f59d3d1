#include "app/preferences_dialog.h"

#include "app/preferences.h"

#include <lumora/registry.h>

#include <QCheckBox>

namespace lumora {
namespace {

const DialogTemplate kPreferencesTemplate{"Preferences", 214, 68};

bool ReadFlag(const char* name) { return ReadRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, name, 0) != 0; }

void WriteFlag(const char* name, bool on) { WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, name, on ? 1 : 0); }

}  // namespace

PreferencesDialog::PreferencesDialog(AutostartEntry autostart, QWidget* parent)
        : TemplateDialog(kPreferencesTemplate, parent), autostart_(std::move(autostart)) {
    rememberLastSource_ =
        AddCheckBox(kIdRememberLastSource, {6, 6, 203, 10}, "Remember last source used when launching Lumora");
    rememberFilterSettings_ = AddCheckBox(kIdRememberFilterSettings, {6, 18, 193, 10},
                                          "Remember my filters/effects settings between sessions");
    startAtLogin_ = AddCheckBox(kIdStartAtLogin, {6, 30, 194, 10}, "Automatically launch Lumora at login");
    AddDefaultPushButton(kIdOk, {51, 48, 50, 14}, "OK");
    AddPushButton(kIdCancel, {111, 48, 50, 14}, "Cancel");

    rememberLastSource_->setChecked(ReadFlag(reg::kRememberLastSource));
    rememberFilterSettings_->setChecked(ReadFlag(reg::kRememberFilterSettings));
    startAtLogin_->setChecked(autostart_.IsEnabled());
}

void PreferencesDialog::ShowModal(QWidget* owner) {
    PreferencesDialog dialog(AutostartEntry::ForThisProgram(), owner);
    dialog.exec();
}

void PreferencesDialog::OnCommand(int id) {
    if (id == kIdOk) Save();
    TemplateDialog::OnCommand(id);
}

void PreferencesDialog::Save() const {
    WriteFlag(reg::kRememberLastSource, rememberLastSource_->isChecked());
    WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceType, kSourceNone);
    WriteRegString(HKEY_LOCAL_MACHINE, kLumoraKey, reg::kLastSourceId, "");
    WriteFlag(reg::kRememberFilterSettings, rememberFilterSettings_->isChecked());
    // Replaced in one step when it stays on, so there is no moment without an entry.
    if (!startAtLogin_->isChecked() || !autostart_.Enable()) autostart_.Disable();
}

}  // namespace lumora
