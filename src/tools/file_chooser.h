// FileChooser: the common file dialogs of the tool windows (open one or several files,
// save a file, choose a folder), with the program's own titles and filter pairs (name,
// patterns, the first selected). Tests put in a hook that answers for the user.
//
// Thread: user-interface thread.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

namespace lumora {

struct FileChoice {
    enum class Mode { kOpenOne, kOpenMany, kSave, kFolder };

    QWidget* owner = nullptr;
    Mode mode = Mode::kOpenOne;
    QString title;
    std::vector<std::pair<QString, QString>> filters;  // name, patterns ("*.avi; *.mpg")
    QString start;                                     // a file or folder to start from
};

class FileChooser {
public:
    using Hook = std::function<QStringList(const FileChoice&)>;
    static Hook SetHook(Hook hook);

    // The chosen paths (absolute); empty when cancelled. A save dialog asks before
    // replacing an existing file.
    static QStringList Run(const FileChoice& choice);

    // A filter pair the way QFileDialog takes it: "Video Files (*.avi *.mpg)"; "*.*" is "*".
    static QString QtFilter(const std::pair<QString, QString>& filter);
};

}  // namespace lumora
