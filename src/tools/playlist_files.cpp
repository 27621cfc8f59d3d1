#include "tools/playlist_files.h"

#include "tools/file_chooser.h"

namespace lumora {

namespace {

std::vector<std::pair<QString, QString>> FiltersOf(PlaylistFiles::FilterSet set) {
    if (set == PlaylistFiles::FilterSet::kPlaylist) {
        return {{"Playlist (*.pls)", "*.pls"}, {"All Files (*.*)", "*.*;"}};
    }
    return {{"Video Files (*.avi; *.mpg; *.mpeg; *.dat; *.m1v; *.mp2)", "*.avi; *.mpg; *.mpeg; *.dat; *.m1v; *.mp2"},
            {"Windows Media Files (*.asf; *.wmv; *.wma)", "*.asf; *.wmv; *.wma"},
            {"Quick Time Movies (*.qt; *.mov)", "*.qt; *.mov"},
            {"Playlist (*.pls)", "*.pls"},
            {"All Files (*.*)", "*.*;"}};
}

}  // namespace

bool PlaylistFiles::OpenFiles(Playlist& playlist, FilterSet filters, bool replace, QWidget* owner) {
    return AddChosen(playlist,
                     FileChooser::Run({owner, FileChoice::Mode::kOpenMany, "Open File...", FiltersOf(filters), {}}),
                     replace);
}

bool PlaylistFiles::AddChosen(Playlist& playlist, const QStringList& files, bool replace) {
    if (files.isEmpty()) return false;
    if (replace) playlist.Clear();
    for (const QString& file : files) {
        const std::string path = file.toStdString();
        if (Playlist::IsPlaylistFile(path)) {
            playlist.LoadPls(path);
        } else {
            playlist.AddFile(path);
        }
    }
    playlist.Select(0);
    return true;
}

bool PlaylistFiles::SaveAs(const Playlist& playlist, QWidget* owner) {
    const QStringList chosen = FileChooser::Run({owner,
                                                 FileChoice::Mode::kSave,
                                                 "Save Playlist...",
                                                 {{"Playlist (*.pls)", "*.pls"}, {"All Files (*.*)", "*.*;"}},
                                                 {}});
    return !chosen.isEmpty() && playlist.SavePls(chosen.front().toStdString());
}

}  // namespace lumora
