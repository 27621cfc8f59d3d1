// Skin folders written by the tests: a skin.ini from text and pictures of one colour.
#pragma once

#include "control_test_support.h"
#include "test_support.h"

#include <QColor>
#include <QImage>

#include <filesystem>
#include <string>

namespace lumora::test {

class SkinFolders {
public:
    // The folder `name` under the temporary skins root, created with `ini` as its skin.ini.
    std::filesystem::path Add(const std::string& name, const std::string& ini) {
        const std::filesystem::path folder = root() / name;
        std::filesystem::create_directories(folder);
        WriteFileText((folder / "skin.ini").string(), ini);
        return folder;
    }

    // A width x height picture of one colour, in the format of the file's extension.
    static void WritePicture(const std::filesystem::path& file, int width, int height, QColor colour) {
        Solid(width, height, colour).save(QString::fromStdString(file.string()));
    }

    // The program folder whose skins/ folder holds the skins (with a trailing "/").
    std::string programFolder() const { return dir_.path().string() + "/"; }
    std::filesystem::path root() const { return dir_.path() / "skins"; }

private:
    TempDir dir_;
};

}  // namespace lumora::test
