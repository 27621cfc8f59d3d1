// MainWindowLayout: where everything sits in the main window for a video of a given size,
// and which part of the window is its caption band. Plain geometry, no widgets:
//
//   menu buttons   y 36, height 13: File x 10 w 20, Video source x 35 w 63,
//                  Video options x 103 w 38, Skin x 146 w 25
//   preview        at (24, 68), the video's size (320 x 240 while no format is known)
//   window         66 wider and 87 higher than the video
//   Close          (W - 25, 5), Minimize (W - 50, 5), both 20 x 20
//   Options        13 x 78 at x = W - 18, centred on the video's height
//   caption band   the top 30 rows without the rightmost 50 columns (Close and Minimize)
//
// A value type; any thread.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace lumora {

class MainWindowLayout {
public:
    static constexpr QSize kFallbackVideo{320, 240};
    static constexpr int kCaptionHeight = 30;
    static constexpr int kCaptionButtonsWidth = 50;

    // `video` is the frame store's format; a side below 1 counts as no format.
    explicit MainWindowLayout(QSize video);

    QSize Video() const { return video_; }
    QSize Window() const;
    QRect Preview() const;
    // The rectangle of the button with command id `commandId`; empty for any other id.
    QRect Button(int commandId) const;

    // Whether `point` (window coordinates) lies in the caption band of a window of `window`.
    static bool InCaption(QPoint point, QSize window);

private:
    QSize video_;
};

}  // namespace lumora
