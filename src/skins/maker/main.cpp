// lumora-skin-maker: writes the skins shipped with Lumora (drawn from their themes in
// code) as skin folders under the given root, for the build to place beside the program.
//
//   lumora-skin-maker <skins-root>
//
// Exits with 1 when a folder cannot be written, 2 on a usage error.
#include "skins/skin_theme.h"
#include "skins/themed_skin_writer.h"

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: lumora-skin-maker <skins-root>\n";
        return 2;
    }
    // Drawing text needs fonts, not a screen.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const std::filesystem::path root = argv[1];
    const struct {
        const char* folder;
        lumora::SkinTheme theme;
    } skins[] = {{"Dark", lumora::SkinTheme::Dark()}, {"HighContrast", lumora::SkinTheme::HighContrast()}};
    for (const auto& skin : skins) {
        if (!lumora::ThemedSkinWriter::Write(skin.theme, root / skin.folder)) {
            std::cerr << "lumora-skin-maker: cannot write " << (root / skin.folder).string() << "\n";
            return 1;
        }
    }
    return 0;
}
