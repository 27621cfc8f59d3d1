// The command numbers of the main window: its buttons, its menus' items and the commands
// other windows send it. They keep their numbers, which other parts of Lumora rely on.
#pragma once

namespace lumora::cmd {

// Sources (the SourceId of the Video source menu); device i of the list is 1003 + i.
inline constexpr int kVideoFile = 1000;
inline constexpr int kDesktop = 1001;
inline constexpr int kImageFile = 1002;
inline constexpr int kFirstCaptureDevice = 1003;

// Playback, sent by the options window's playback panel.
inline constexpr int kPlaybackStart = 2001;
inline constexpr int kPlaybackStop = 2002;
inline constexpr int kPlaybackSeek = 2003;

// The seven buttons.
inline constexpr int kOptionsButton = 2004;
inline constexpr int kFileButton = 2014;
inline constexpr int kSourceButton = 2015;
inline constexpr int kVideoOptionsButton = 2016;
inline constexpr int kSkinButton = 2017;
inline constexpr int kClose = 2018;  // also "Exit"
inline constexpr int kMinimize = 2019;

// Recording, posted by the recording dialog; the File menu's tools.
inline constexpr int kStartRecording = 2020;
inline constexpr int kStopRecording = 2021;
inline constexpr int kVideos = 2023;
inline constexpr int kPhotos = 2024;

// The Video options menu.
inline constexpr int kPreferences = 3000;
inline constexpr int kVideoOption1 = 3001;
inline constexpr int kVideoOption2 = 3002;

// Commands that act on the running source.
inline constexpr int kFirstSourceCommand = 3100;
inline constexpr int kLastSourceCommand = 3110;

// The Skin menu; skin i of the skin manager is 3501 + i.
inline constexpr int kSkinEditor = 3500;
inline constexpr int kFirstSkin = 3501;

}  // namespace lumora::cmd
