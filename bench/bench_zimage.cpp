// Benchmarks of the image operations library. Each operation runs at three frame sizes
// beside its references: OpenCV's equivalent ("OpenCV"), a plain loop ("loop"), and
// memcpy of the output frame ("memcpy", the floor any pixel pass pays).
#include "ratio_table.h"
#include "reference_kernels.h"

#include <lumora/bitmap.h>
#include <lumora/zimage.h>

#include <benchmark/benchmark.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using lumora::Bitmap;
using lumora::bench::RatioTable;
using lumora::bench::ReferenceKernels;

struct FrameSize {
    int width;
    int height;
    std::string name;
};

const FrameSize kSizes[] = {{640, 480, "640x480"}, {1280, 720, "1280x720"}, {1920, 1080, "1920x1080"}};

std::unique_ptr<Bitmap> NoiseFrame(int width, int height, std::uint32_t seed) {
    auto frame = Bitmap::Create(width, height);
    std::uint32_t state = seed;
    for (std::size_t i = 0; i < frame->size_bytes(); ++i) {
        state = state * 1664525u + 1013904223u;
        frame->data()[i] = static_cast<std::uint8_t>(state >> 24);
    }
    return frame;
}

// Smooth content, as a camera gives: what the JPEG benchmarks encode and decode.
std::unique_ptr<Bitmap> GradientFrame(int width, int height) {
    auto frame = Bitmap::Create(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = frame->row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(x * 255 / width);
            p[1] = static_cast<std::uint8_t>(y * 255 / height);
            p[2] = static_cast<std::uint8_t>((x + y) & 0xFF);
        }
    }
    return frame;
}

cv::Mat AsMat(Bitmap& frame) {
    return cv::Mat(frame.height(), frame.width(), CV_8UC3, frame.data(), frame.stride());
}

// A folder for the file benchmarks, removed at exit.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() / ("lumora-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

ScratchFolder& Scratch() {
    static ScratchFolder folder;
    return folder;
}

using Body = std::function<void()>;
using Setup = std::function<Body(const FrameSize&)>;

// Registers "<group>/<impl>/<size>" for every size. `setup` runs once per size outside the
// timing and returns the timed body; `bytes` is the output frame size for throughput.
void Register(const std::string& group, const std::string& impl, const Setup& setup) {
    for (const FrameSize& size : kSizes) {
        const std::string name = group + "/" + impl + "/" + size.name;
        benchmark::RegisterBenchmark(name.c_str(), [setup, size](benchmark::State& state) {
            const Body body = setup(size);
            for (auto _ : state) body();
            state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                                    ZImage_CalcImageSize(size.width, size.height, 24));
        })->Unit(benchmark::kMicrosecond)->UseRealTime();
    }
}

// memcpy of one output frame: the floor of every group.
void RegisterMemcpy(const std::string& group) {
    Register(group, "memcpy", [](const FrameSize& size) -> Body {
        auto from = NoiseFrame(size.width, size.height, 1);
        auto to = NoiseFrame(size.width, size.height, 2);
        return [from = std::shared_ptr<Bitmap>(std::move(from)), to = std::shared_ptr<Bitmap>(std::move(to))] {
            std::memcpy(to->data(), from->data(), to->size_bytes());
            benchmark::ClobberMemory();
        };
    });
}

// Source and target frames shared by a benchmark body.
struct Frames {
    std::shared_ptr<Bitmap> src;
    std::shared_ptr<Bitmap> dst;
};

Frames MakeFrames(int src_width, int src_height, int dst_width, int dst_height) {
    return {NoiseFrame(src_width, src_height, 3), NoiseFrame(dst_width, dst_height, 4)};
}

void RegisterResize() {
    const std::string group = "ZImage_Resize";
    const auto frames = [](const FrameSize& s) { return MakeFrames(s.width / 2, s.height / 2, s.width, s.height); };
    Register(group, "lumora", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f] {
            ZImage_Resize(f.dst->data(), f.dst->width(), f.dst->height(), f.src->data(), f.src->width(), f.src->height());
        };
    });
    Register(group, "OpenCV", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f, src = AsMat(*f.src), dst = AsMat(*f.dst)]() mutable {
            cv::resize(src, dst, dst.size(), 0, 0, cv::INTER_LINEAR);
        };
    });
    Register(group, "loop", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f] {
            ReferenceKernels::Resize(f.dst->data(), f.dst->width(), f.dst->height(), f.src->data(), f.src->width(),
                                     f.src->height());
        };
    });
    RegisterMemcpy(group);
}

// The zoom's use: a frame-sized window out of a twice enlarged picture.
void RegisterComposition() {
    const std::string group = "ZImage_Composition";
    const auto frames = [](const FrameSize& s) { return MakeFrames(s.width * 2, s.height * 2, s.width, s.height); };
    Register(group, "lumora", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f, x = -s.width / 2, y = -s.height / 2] {
            ZImage_Composition(f.dst->data(), f.dst->width(), f.dst->height(), f.src->data(), f.src->width(),
                               f.src->height(), x, y);
        };
    });
    Register(group, "OpenCV", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        const cv::Mat window = AsMat(*f.src)(cv::Rect(s.width / 2, s.height / 2, s.width, s.height));
        return [f, window, dst = AsMat(*f.dst)]() mutable { window.copyTo(dst); };
    });
    Register(group, "loop", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f, x = -s.width / 2, y = -s.height / 2] {
            ReferenceKernels::Compose(f.dst->data(), f.dst->width(), f.dst->height(), f.src->data(), f.src->width(),
                                      f.src->height(), x, y);
        };
    });
    RegisterMemcpy(group);
}

void RegisterFill() {
    const std::string group = "ZImage_Fill";
    const auto frames = [](const FrameSize& s) { return MakeFrames(1, 1, s.width, s.height); };
    Register(group, "lumora", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f, s] { ZImage_Fill(f.dst->data(), s.width, s.height, s.width, s.height, 0, 0, 16, 0); };
    });
    Register(group, "OpenCV", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f, dst = AsMat(*f.dst)]() mutable { dst.setTo(cv::Scalar(0, 0, 16)); };
    });
    Register(group, "loop", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f, s] { ReferenceKernels::Fill(f.dst->data(), s.width, s.height, s.width, s.height, 0, 0, 16); };
    });
    RegisterMemcpy(group);
}

void RegisterColorFilter() {
    const std::string group = "ZImage_ColorFilter";
    const auto frames = [](const FrameSize& s) { return MakeFrames(1, 1, s.width, s.height); };
    // Levels that neither keep nor saturate everything: the values keep changing between
    // runs but never collapse to a fixed point within a benchmark.
    constexpr int kRed = 200, kGreen = 100, kBlue = 150;
    Register(group, "lumora", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f, s] { ZImage_ColorFilter(f.dst->data(), s.width, s.height, s.width, s.height, 0, 0, kRed, kGreen, kBlue); };
    });
    Register(group, "OpenCV", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        cv::Mat table(1, 256, CV_8UC3);
        for (int v = 0; v < 256; ++v) {
            table.at<cv::Vec3b>(0, v) = cv::Vec3b(cv::saturate_cast<uchar>(v * kBlue / 128),
                                                  cv::saturate_cast<uchar>(v * kGreen / 128),
                                                  cv::saturate_cast<uchar>(v * kRed / 128));
        }
        return [f, table, frame = AsMat(*f.dst)]() mutable { cv::LUT(frame, table, frame); };
    });
    Register(group, "loop", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f, s] { ReferenceKernels::ColorFilter(f.dst->data(), s.width, s.height, kRed, kGreen, kBlue); };
    });
    RegisterMemcpy(group);
}

// The face locator's outline: a rectangle around the middle of the frame.
void RegisterDrawRect() {
    const std::string group = "ZImage_DrawRect";
    const auto frames = [](const FrameSize& s) { return MakeFrames(1, 1, s.width, s.height); };
    Register(group, "lumora", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f, s] {
            ZImage_DrawRect(f.dst->data(), s.width, s.height, s.width / 4, s.height * 3 / 4, s.width * 3 / 4,
                            s.height / 4, 65280);
        };
    });
    Register(group, "OpenCV", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f, s, frame = AsMat(*f.dst)]() mutable {
            cv::rectangle(frame, cv::Point(s.width / 4, s.height / 4), cv::Point(s.width * 3 / 4 - 1, s.height * 3 / 4 - 1),
                          cv::Scalar(0, 255, 0), 1, cv::LINE_8);
        };
    });
    Register(group, "loop", [frames](const FrameSize& s) -> Body {
        const Frames f = frames(s);
        return [f, s] {
            ReferenceKernels::DrawRect(f.dst->data(), s.width, s.height, s.width / 4, s.height * 3 / 4, s.width * 3 / 4,
                                       s.height / 4, 65280);
        };
    });
    RegisterMemcpy(group);
}

// JPEG snapshots: the library (upright, through a temporary file renamed into place)
// against OpenCV's and Qt's plain file writers at the same quality.
void RegisterSaveJpeg() {
    const std::string group = "ZImage_SaveJpeg2";
    Register(group, "lumora", [](const FrameSize& s) -> Body {
        std::shared_ptr<Bitmap> frame = GradientFrame(s.width, s.height);
        const std::string path = Scratch().file("save-lumora-" + s.name + ".jpg");
        return [frame, path] { ZImage_SaveJpeg2(path.c_str(), frame->data(), frame->width(), frame->height()); };
    });
    Register(group, "OpenCV", [](const FrameSize& s) -> Body {
        std::shared_ptr<Bitmap> frame = GradientFrame(s.width, s.height);
        const std::string path = Scratch().file("save-opencv-" + s.name + ".jpg");
        return [frame, path, mat = AsMat(*frame)] { cv::imwrite(path, mat, {cv::IMWRITE_JPEG_QUALITY, 90}); };
    });
    Register(group, "Qt", [](const FrameSize& s) -> Body {
        std::shared_ptr<Bitmap> frame = GradientFrame(s.width, s.height);
        const QImage image = QImage(frame->data(), s.width, s.height, frame->stride(), QImage::Format_BGR888).copy();
        const QString path = QString::fromStdString(Scratch().file("save-qt-" + s.name + ".jpg"));
        return [image, path] {
            QImageWriter writer(path, "jpeg");
            writer.setQuality(90);
            writer.write(image);
        };
    });
    RegisterMemcpy(group);
}

// Decoding a JPEG file of the frame size.
void RegisterLoad() {
    const std::string group = "ZImage_LoadImageToBitmap";
    const auto prepare = [](const FrameSize& s) {
        std::shared_ptr<Bitmap> frame = GradientFrame(s.width, s.height);
        const std::string path = Scratch().file("load-" + s.name + ".jpg");
        ZImage_SaveJpeg2(path.c_str(), frame->data(), s.width, s.height);
        return path;
    };
    Register(group, "lumora", [prepare](const FrameSize& s) -> Body {
        return [path = prepare(s)] {
            ZImageSize size{};
            benchmark::DoNotOptimize(ZImage_LoadImageToBitmap(path.c_str(), &size));
        };
    });
    Register(group, "OpenCV", [prepare](const FrameSize& s) -> Body {
        return [path = prepare(s)] { benchmark::DoNotOptimize(cv::imread(path, cv::IMREAD_COLOR).data); };
    });
    Register(group, "Qt", [prepare](const FrameSize& s) -> Body {
        return [path = QString::fromStdString(prepare(s))] { benchmark::DoNotOptimize(QImageReader(path).read().bits()); };
    });
    RegisterMemcpy(group);
}

const bool registered = [] {
    RegisterResize();
    RegisterComposition();
    RegisterFill();
    RegisterColorFilter();
    RegisterDrawRect();
    RegisterSaveJpeg();
    RegisterLoad();

    RatioTable& table = RatioTable::Shared();
    table.SetLimit("ZImage_Resize", "memcpy", 3.0);
    table.SetLimit("ZImage_ColorFilter", "memcpy", 3.0);
    for (const char* group : {"ZImage_Resize", "ZImage_Composition", "ZImage_Fill", "ZImage_ColorFilter",
                              "ZImage_DrawRect", "ZImage_SaveJpeg2", "ZImage_LoadImageToBitmap"}) {
        table.SetLimit(group, "OpenCV", 1.2);
    }
    return true;
}();

}  // namespace
