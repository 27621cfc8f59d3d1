// The media a user plays: clips in the common formats, made at test time, each played
// through the source graph as fast as possible and in real time, and compared with what
// GStreamer's own decoder makes of the same file: every frame, the size, the way up and
// the colours. Also what becomes of files that are cut short, cannot be decoded or need a
// decoder that is not installed.
#include "source_graph_fixture.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include <cmath>
#include <map>

namespace lumora {
namespace {

using test::BgrPicture;
using test::SourceGraphTest;

constexpr int kFrames = 10;
constexpr double kRate = 30.0;

struct Clip {
    const char* name;
    const char* extension;
    int width;
    int height;
    std::string encoder;             // gst-launch syntax, or "ffmpeg:" and ffmpeg's output options
    std::vector<const char*> needs;  // elements (or "ffmpeg:<encoder>") without which it is skipped
    bool turned = false;             // an MP4 whose track says: turn a quarter clockwise
    double rate = kRate;
};

const std::vector<Clip>& Clips() {
    const std::string h264 = "x264enc ! h264parse ! mp4mux";
    static const std::vector<Clip> clips = {
        {"H264Mp4", ".mp4", 640, 480, "videoconvert ! video/x-raw,format=I420 ! " + h264, {"x264enc"}},
        {"H264Mp4Odd", ".mp4", 721, 481, "videoconvert ! video/x-raw,format=Y444 ! " + h264, {"x264enc"}},
        {"H264Avi", ".avi", 640, 480, "videoconvert ! video/x-raw,format=I420 ! x264enc ! avimux", {"x264enc"}},
        {"HevcMkv", ".mkv", 640, 480, "ffmpeg:-c:v libx265 -x265-params log-level=error", {"ffmpeg:libx265"}},
        {"Mjpeg420Avi", ".avi", 640, 480, "videoconvert ! video/x-raw,format=I420 ! jpegenc ! avimux", {}},
        {"Mjpeg422AviOdd", ".avi", 721, 481, "videoconvert ! video/x-raw,format=Y42B ! jpegenc ! avimux", {}},
        {"HuffyuvAvi", ".avi", 640, 480, "videoconvert ! avenc_huffyuv ! avimux", {"avenc_huffyuv"}},
        {"Vp8Webm", ".webm", 721, 481, "videoconvert ! vp8enc deadline=1 ! webmmux", {"vp8enc"}},
        {"Vp9Webm", ".webm", 640, 480, "videoconvert ! vp9enc deadline=1 cpu-used=8 ! webmmux", {"vp9enc"}},
        {"TheoraOgg", ".ogv", 721, 481, "videoconvert ! theoraenc ! oggmux", {"theoraenc"}},
        {"RawAvi", ".avi", 721, 481, "videoconvert ! video/x-raw,format=BGR ! avimux", {}},
        {"TurnedMp4", ".mp4", 640, 480, "videoconvert ! video/x-raw,format=I420 ! " + h264, {"x264enc"}, true},
        {"Gif", ".gif", 640, 480, "ffmpeg:-c:v gif", {"ffmpeg:gif"}, false, 10.0},
    };
    return clips;
}

// The first element (or "ffmpeg:<encoder>") the clip needs that is not installed; empty when none.
std::string MissingNeed(const Clip& clip) {
    for (const std::string need : clip.needs) {
        const bool ffmpeg = need.rfind("ffmpeg:", 0) == 0;
        const std::string probe = "ffmpeg -hide_banner -encoders 2>/dev/null | grep -qw " + need.substr(ffmpeg ? 7 : 0);
        if (ffmpeg ? std::system(probe.c_str()) != 0 : !test::HaveElement(need.c_str())) return need;
    }
    return "";
}

// The track header's matrix says how a player turns the picture: a quarter clockwise.
bool TurnTrack(const std::string& path) {
    std::vector<unsigned char> bytes = test::ReadFileBytes(path);
    const std::size_t tkhd = test::FindTag(bytes, "tkhd");
    constexpr std::size_t kMatrix = 44;  // after the tag: version, times, ids, layer, volume
    if (tkhd == std::string::npos || tkhd + kMatrix + 36 > bytes.size() || bytes[tkhd + 4] != 0) return false;
    const std::uint32_t matrix[9] = {0, 0x10000, 0, 0xFFFF0000, 0, 0, 0, 0, 0x40000000};
    for (int i = 0; i < 9; ++i) {
        for (int b = 0; b < 4; ++b)
            bytes[tkhd + kMatrix + i * 4 + b] = static_cast<unsigned char>(matrix[i] >> (24 - 8 * b));
    }
    test::WriteFileText(path, std::string(bytes.begin(), bytes.end()));
    return true;
}

bool MakeWithFfmpeg(const std::string& path, const Clip& clip) {
    const std::string command = "ffmpeg -v error -y -f lavfi -i smptebars=size=" + std::to_string(clip.width) + "x" +
                                std::to_string(clip.height) + ":rate=" + std::to_string(static_cast<int>(clip.rate)) +
                                " -frames:v " + std::to_string(kFrames) + " " + clip.encoder.substr(7) + " '" + path +
                                "'";
    return std::system(command.c_str()) == 0;
}

// Each clip is made once per process, the first time a test asks for it.
std::string ClipFile(const Clip& clip) {
    static test::TempDir dir;
    static std::map<std::string, std::string> made;
    if (const auto found = made.find(clip.name); found != made.end()) return found->second;
    const std::string path = dir.file(std::string(clip.name) + clip.extension);
    const bool ok =
        clip.encoder.rfind("ffmpeg:", 0) == 0
            ? MakeWithFfmpeg(path, clip)
            : test::MakeClip(path, clip.width, clip.height, kFrames, clip.encoder) && (!clip.turned || TurnTrack(path));
    return made[clip.name] = ok ? path : std::string();
}

// What GStreamer's own decoder gives, in 24-bit BGR: the first and the last frame and the
// count. (GStreamer's GIF reader never ends; its pixbuf decoder gives the first frame.)
struct Reference {
    BgrPicture first;
    BgrPicture last;
    int frames = 0;
};

BgrPicture PictureOf(GstSample* sample) {
    GstVideoInfo info;
    GstVideoFrame frame;
    gst_video_info_from_caps(&info, gst_sample_get_caps(sample));
    if (!gst_video_frame_map(&frame, &info, gst_sample_get_buffer(sample), GST_MAP_READ)) return {};
    const BgrPicture picture = test::Packed(static_cast<const unsigned char*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)),
                                            GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info),
                                            GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0));
    gst_video_frame_unmap(&frame);
    return picture;
}

Reference DecodeReference(const std::string& path, bool gif) {
    Reference reference;
    // videoflip turns the picture as the file's orientation tag says.
    const std::string line =
        "filesrc location=\"" + path + "\" ! " + (gif ? "gdkpixbufdec" : "decodebin") +
        " ! videoflip video-direction=auto ! videoconvert ! video/x-raw,format=BGR ! appsink name=sink "
        "sync=false";
    const test::PipelinePtr pipeline(gst_parse_launch(line.c_str(), nullptr));
    if (!pipeline) return reference;
    const test::ElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    while (GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink.get()), 10 * GST_SECOND)) {
        reference.last = PictureOf(sample);
        if (reference.frames++ == 0) reference.first = reference.last;
        gst_sample_unref(sample);
    }
    return reference;
}

// The mean difference of two pictures of one size, per byte; infinite for different sizes.
double MeanDifference(const BgrPicture& a, const BgrPicture& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return INFINITY;
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) sum += std::abs(a.pixels[i] - b.pixels[i]);
    return sum / static_cast<double>(a.pixels.size());
}

struct Playback {
    const Clip* clip;
    bool realTime;
};

void PrintTo(const Playback& playback, std::ostream* out) {
    *out << playback.clip->name << (playback.realTime ? " in real time" : " as fast as possible");
}

class SourceGraphMedia : public SourceGraphTest, public ::testing::WithParamInterface<Playback> {};

TEST_P(SourceGraphMedia, PlaysEveryFrameUprightInTheDecodersColours) {
    const Clip& clip = *GetParam().clip;
    if (const std::string missing = MissingNeed(clip); !missing.empty()) GTEST_SKIP() << missing << " is missing";
    const std::string path = ClipFile(clip);
    ASSERT_FALSE(path.empty()) << "the clip could not be made";
    const bool gif = std::string(clip.name) == "Gif";
    Reference reference = DecodeReference(path, gif);
    ASSERT_FALSE(reference.first.pixels.empty());
    const QSize upright = clip.turned ? QSize(clip.height, clip.width) : QSize(clip.width, clip.height);

    graph_.SetRealTime(GetParam().realTime);
    ASSERT_TRUE(graph_.SelectVideoFile(path)) << ::testing::PrintToString(MessageTexts());
    const ZImageBitmapInfoHeader format = store_.Format(store_.WaitLock());
    EXPECT_EQ(QSize(format.biWidth, format.biHeight), upright);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(PlayToEnd(std::chrono::seconds(20)));
    const double played = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    EXPECT_EQ(graph_.GrabberFrames().buffers, static_cast<std::uint64_t>(kFrames));
    const std::vector<double> times = preview_.Times();
    ASSERT_EQ(times.size(), static_cast<std::size_t>(kFrames));
    for (std::size_t i = 1; i < times.size(); ++i) EXPECT_GT(times[i], times[i - 1]) << i;
    const double length = (kFrames - 1) / clip.rate;
    EXPECT_NEAR(times.back(), length, 0.01);
    EXPECT_TRUE(!GetParam().realTime || played > 0.8 * length) << played;

    // Of the upright size (a picture of another size differs infinitely). videoconvert's integer path runs about two
    // levels darker than the exact conversion the grabber does itself, 1.5 on average; a swapped channel or a turned
    // picture costs tens.
    EXPECT_LT(MeanDifference(preview_.First(), reference.first), 2.0);
    if (!gif) {
        EXPECT_EQ(reference.frames, kFrames);
        EXPECT_LT(MeanDifference(preview_.Last(), reference.last), 2.0);
    }
    EXPECT_TRUE(messages_.Messages().empty()) << ::testing::PrintToString(MessageTexts());
}

// Each clip is played once, every other one in real time: the decoding is the same either
// way, only the clock differs (Megamind plays in real time from start to end as well).
std::vector<Playback> AllPlaybacks() {
    std::vector<Playback> playbacks;
    for (const Clip& clip : Clips()) playbacks.push_back({&clip, playbacks.size() % 2 == 1});
    return playbacks;
}

INSTANTIATE_TEST_SUITE_P(Clips, SourceGraphMedia, ::testing::ValuesIn(AllPlaybacks()),
                         [](const ::testing::TestParamInfo<Playback>& info) {
                             return std::string(info.param.clip->name) + (info.param.realTime ? "RealTime" : "Fast");
                         });

// An animated picture is read frame by frame; a seek starts over and skips to the frame
// shown at that time.
TEST_F(SourceGraphTest, AGifSeeksToTheFrameShownAtTheTime) {
    const Clip& gif = Clips().back();
    if (const std::string missing = MissingNeed(gif); !missing.empty()) GTEST_SKIP() << missing << " is missing";
    const std::string path = ClipFile(gif);
    ASSERT_FALSE(path.empty());
    graph_.SetRealTime(false);
    ASSERT_TRUE(graph_.SelectVideoFile(path));
    ASSERT_TRUE(graph_.SetCurrentPosition(5'500'000));  // 0.55 s: the sixth frame's time
    ASSERT_TRUE(PlayToEnd(std::chrono::seconds(10)));
    std::vector<double> times = preview_.Times();
    times.erase(times.begin(), std::find_if(times.begin(), times.end(), [](double time) { return time > 0; }));
    const std::vector<double> expected = {0.55, 0.6, 0.7, 0.8, 0.9};
    ASSERT_EQ(times.size(), expected.size()) << ::testing::PrintToString(times);
    for (std::size_t i = 0; i < times.size(); ++i) EXPECT_NEAR(times[i], expected[i], 1e-6) << i;
}

class SourceGraphDamagedMedia : public SourceGraphTest {
protected:
    // Either the file plays to its end with at least one frame and no message, or it fails
    // with one message; never a played file without a frame.
    void ExpectFramesOrOneMessage(const std::string& path) {
        messages_.Clear();
        graph_.SetRealTime(false);
        if (graph_.SelectVideoFile(path)) {
            EXPECT_TRUE(PlayToEnd(std::chrono::seconds(10)));
            EXPECT_GT(graph_.GrabberFrames().buffers, 0u);
            EXPECT_TRUE(messages_.Messages().empty()) << ::testing::PrintToString(MessageTexts());
        } else {
            ASSERT_EQ(messages_.Messages().size(), 1u) << ::testing::PrintToString(MessageTexts());
            EXPECT_EQ(messages_.Messages()[0].flags, 0x30u);
            EXPECT_EQ(graph_.Pipeline(), nullptr);
        }
    }

    test::TempDir dir_;
};

// An MP4 cut off is muxed with its index in front (as a download's is), so that the part
// left holds frames to play.
TEST_F(SourceGraphDamagedMedia, AFileCutShortPlaysWhatItHoldsOneNoDecoderTakesFailsAndAMissingDecoderIsNamed) {
    for (const auto& [name, encoder] : std::vector<std::pair<const char*, std::string>>{
             {"cut.ogv", "videoconvert ! theoraenc ! oggmux"},
             {"cut.mp4", "videoconvert ! video/x-raw,format=I420 ! x264enc ! h264parse ! mp4mux faststart=true"},
             {"cut.avi", "videoconvert ! video/x-raw,format=I420 ! jpegenc ! avimux"},
             {"cut.webm", "videoconvert ! vp8enc ! webmmux"}}) {
        SCOPED_TRACE(name);
        const std::string path = dir_.file(name);
        ASSERT_TRUE(test::MakeClip(path, 320, 240, 30, encoder));
        const std::vector<unsigned char> bytes = test::ReadFileBytes(path);
        test::WriteFileText(path, std::string(bytes.begin(), bytes.begin() + bytes.size() / 10));
        ExpectFramesOrOneMessage(path);
    }

    // Lossless JPEG in AVI: avidemux hands it on as MJPEG, and the JPEG decoder refuses
    // every frame.
    if (test::HaveElement("avenc_ljpeg")) {
        const std::string path = dir_.file("lossless.avi");
        ASSERT_TRUE(test::MakeClip(path, 320, 240, 10, "videoconvert ! avenc_ljpeg ! avimux"));
        ExpectFramesOrOneMessage(path);
        ASSERT_EQ(messages_.Messages().size(), 1u);
        EXPECT_NE(messages_.Messages()[0].text.find("no picture that can be decoded"), std::string::npos)
            << messages_.Messages()[0].text;
    }

    messages_.Clear();
    const std::string path = dir_.file("h264.mp4");
    ASSERT_TRUE(
        test::MakeClip(path, 320, 240, 5, "videoconvert ! video/x-raw,format=I420 ! x264enc ! h264parse ! mp4mux"));
    // Every H.264 decoder out of decodebin's reach, as if none were installed.
    const test::CapsPtr h264 = test::Caps("video/x-h264");
    GList* decoders = gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_DECODER, GST_RANK_NONE);
    GList* hidden = gst_element_factory_list_filter(decoders, h264.get(), GST_PAD_SINK, FALSE);
    std::vector<std::pair<GstPluginFeature*, guint>> ranks;
    for (GList* item = hidden; item; item = item->next) {
        ranks.emplace_back(GST_PLUGIN_FEATURE(item->data), gst_plugin_feature_get_rank(GST_PLUGIN_FEATURE(item->data)));
        gst_plugin_feature_set_rank(ranks.back().first, GST_RANK_NONE);
    }
    EXPECT_FALSE(graph_.SelectVideoFile(path));
    for (const auto& [feature, rank] : ranks) gst_plugin_feature_set_rank(feature, rank);
    gst_plugin_feature_list_free(hidden);
    gst_plugin_feature_list_free(decoders);

    ASSERT_EQ(messages_.Messages().size(), 1u) << ::testing::PrintToString(MessageTexts());
    const std::string& text = messages_.Messages()[0].text;
    EXPECT_EQ(text.rfind("Couldn't build GStreamer filters sequence!", 0), 0u) << text;
    const std::size_t named = text.find("Missing GStreamer plug-in: H.264");
    EXPECT_NE(named, std::string::npos) << text;
    EXPECT_NE(text.find("decoder.", named), std::string::npos) << text;
}

}  // namespace
}  // namespace lumora
