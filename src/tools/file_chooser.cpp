#include "tools/file_chooser.h"

#include <QFileDialog>

namespace lumora {

namespace {

FileChooser::Hook& CurrentHook() {
    static FileChooser::Hook hook;
    return hook;
}

}  // namespace

QString FileChooser::QtFilter(const std::pair<QString, QString>& filter) {
    QStringList patterns;
    for (QString pattern : filter.second.split(';', Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        if (pattern == "*.*") pattern = "*";
        if (!pattern.isEmpty()) patterns << pattern;
    }
    QString name = filter.first;
    const qsizetype open = name.lastIndexOf('(');
    if (open > 0) name = name.left(open).trimmed();
    return name + " (" + patterns.join(' ') + ")";
}

namespace {

QFileDialog::FileMode FileModeOf(FileChoice::Mode mode) {
    switch (mode) {
        case FileChoice::Mode::kOpenMany: return QFileDialog::ExistingFiles;
        case FileChoice::Mode::kSave: return QFileDialog::AnyFile;
        case FileChoice::Mode::kFolder: return QFileDialog::Directory;
        case FileChoice::Mode::kOpenOne: break;
    }
    return QFileDialog::ExistingFile;
}

}  // namespace

FileChooser::Hook FileChooser::SetHook(Hook hook) { return std::exchange(CurrentHook(), std::move(hook)); }

QStringList FileChooser::Run(const FileChoice& choice) {
    if (CurrentHook()) return CurrentHook()(choice);
    QFileDialog dialog(choice.owner, choice.title, choice.start);
    dialog.setFileMode(FileModeOf(choice.mode));
    dialog.setAcceptMode(choice.mode == FileChoice::Mode::kSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (choice.mode == FileChoice::Mode::kFolder) dialog.setOption(QFileDialog::ShowDirsOnly);
    QStringList filters;
    for (const auto& filter : choice.filters) filters << QtFilter(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.front());
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

}  // namespace lumora
