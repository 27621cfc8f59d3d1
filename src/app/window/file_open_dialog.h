// FileOpenDialog: the open-file dialog the menus ask for a picture or video files. The
// request keeps the program's own title and filter pairs (name, patterns); the dialog
// shows them the way Qt reads filters (patterns apart by blanks, "*.*" as "*").
//
// Tests put in a hook that answers for the user. Thread: user-interface thread.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

namespace lumora {

struct FileOpenRequest {
    QWidget* owner = nullptr;
    QString title;
    std::vector<std::pair<QString, QString>> filters;  // name, patterns; the first is selected
    bool multiple = false;                             // several files may be chosen
};

class FileOpenDialog {
public:
    using Hook = std::function<QStringList(const FileOpenRequest&)>;
    static Hook SetHook(Hook hook);

    // The chosen existing files, full paths; empty when cancelled.
    static QStringList Run(const FileOpenRequest& request);

    // A filter pair the way QFileDialog takes it: "Image Files (*.bmp *.jpg)".
    static QString QtFilter(const std::pair<QString, QString>& filter);
};

}  // namespace lumora
