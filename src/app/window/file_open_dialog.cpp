#include "app/window/file_open_dialog.h"

#include "tools/file_chooser.h"

#include <QFileDialog>

namespace lumora {

namespace {

FileOpenDialog::Hook& CurrentHook() {
    static FileOpenDialog::Hook hook;
    return hook;
}

}  // namespace

FileOpenDialog::Hook FileOpenDialog::SetHook(Hook hook) { return std::exchange(CurrentHook(), std::move(hook)); }

QString FileOpenDialog::QtFilter(const std::pair<QString, QString>& filter) { return FileChooser::QtFilter(filter); }

QStringList FileOpenDialog::Run(const FileOpenRequest& request) {
    if (CurrentHook()) return CurrentHook()(request);
    QFileDialog dialog(request.owner, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    QStringList filters;
    for (const auto& filter : request.filters) filters << QtFilter(filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

}  // namespace lumora
