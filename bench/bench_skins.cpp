// Benchmarks of the skins: loading every skin at start-up (the built-in one drawn in code
// and the shipped ones read from the program folder) beside decoding the shipped skins'
// picture files alone ("decode", what reading them costs at the least), and painting the
// main window's chrome around a 640 x 480 preview beside filling the same image
// ("fill"). Both also at a device pixel ratio of 2.
#include "ratio_table.h"

#include "platform/program_paths.h"
#include "skins/main_window_chrome.h"
#include "skins/skin_drawing.h"
#include "skins/skin_manager.h"
#include "skins/themed_skin.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using lumora::bench::RatioTable;

void Register(const std::string& name, std::function<void()> body) {
    benchmark::RegisterBenchmark(name.c_str(),
                                 [body](benchmark::State& state) {
                                     for (auto _ : state) body();
                                 })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

// The picture files of the skins shipped in the program folder, for `ratio`.
std::vector<std::string> ShippedPictures(qreal ratio) {
    std::vector<std::string> files;
    std::error_code error;
    const std::string root = lumora::ProgramFolder() + "skins";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
        const std::string name = entry.path().filename().string();
        const bool sharp = name.find("@2x") != std::string::npos;
        if (entry.path().extension() == ".png" && sharp == (ratio > 1)) files.push_back(entry.path().string());
    }
    return files;
}

void RegisterStartup(qreal ratio, const std::string& size) {
    Register("SkinStartup/lumora/" + size, [ratio] {
        lumora::SkinManager manager;
        manager.SetProgramFolder(lumora::ProgramFolder());
        manager.SetDevicePixelRatio(ratio);
        manager.LoadAllSkins();
        benchmark::DoNotOptimize(manager.Count());
    });
    auto files = std::make_shared<std::vector<std::string>>();
    Register("SkinStartup/decode/" + size, [ratio, files] {
        if (files->empty()) *files = ShippedPictures(ratio);
        for (const std::string& file : *files)
            benchmark::DoNotOptimize(QImageReader(QString::fromStdString(file)).read());
    });
}

void RegisterChrome(qreal ratio, const std::string& size) {
    const QSize video(640, 480);
    const QSize window = lumora::MainWindowChrome::WindowSize(video);
    auto canvas = std::make_shared<QImage>();
    auto skin = std::make_shared<std::unique_ptr<lumora::Skin>>();
    const auto prepare = [=] {
        if (!canvas->isNull()) return;
        *skin = lumora::CreateDefaultSkin(ratio);
        *canvas = QImage(window * ratio, QImage::Format_RGB32);
        canvas->setDevicePixelRatio(ratio);
    };
    Register("ChromePaint/lumora/" + size, [=] {
        prepare();
        QPainter painter(canvas.get());
        lumora::MainWindowChrome::Paint(painter, QRect(QPoint(0, 0), window), lumora::RoundedWindowRegion(window),
                                        lumora::MainWindowChrome::PreviewRect(video), **skin);
    });
    Register("ChromePaint/fill/" + size, [=] {
        prepare();
        canvas->fill(Qt::gray);
    });
}

const bool registered = [] {
    RegisterStartup(1.0, "3skins");
    RegisterStartup(2.0, "3skins@2x");
    RegisterChrome(1.0, "640x480");
    RegisterChrome(2.0, "640x480@2x");
    RatioTable& table = RatioTable::Shared();
    table.SetLimit("SkinStartup", "decode", 2.5);
    table.SetLimit("ChromePaint", "fill", 15.0);
    return true;
}();

}  // namespace
