#include "app/window/file_open_dialog.h"

#include <QFileDialog>

namespace lumora {

namespace {

FileOpenDialog::Hook& CurrentHook() {
    static FileOpenDialog::Hook hook;
    return hook;
}

}  // namespace

FileOpenDialog::Hook FileOpenDialog::SetHook(Hook hook) { return std::exchange(CurrentHook(), std::move(hook)); }

QString FileOpenDialog::QtFilter(const std::pair<QString, QString>& filter) {
    QStringList patterns;
    for (QString pattern : filter.second.split(';', Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        if (pattern == "*.*") pattern = "*";  // names without a dot are files too
        if (!pattern.isEmpty()) patterns << pattern;
    }
    QString name = filter.first;
    const qsizetype open = name.lastIndexOf('(');
    if (open > 0) name = name.left(open).trimmed();
    return name + " (" + patterns.join(' ') + ")";
}

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
