// Where recordings go when the user names no file: the "Lumora" folder in the user's
// videos folder ($XDG_VIDEOS_DIR/Lumora/, from the environment or the XDG user-dirs file),
// with default names video000.avi ... video999.avi.
//
// Thread: any (reads the environment and the file system; Qt's standard paths are only read).
#pragma once

#include <string>

namespace lumora {

// The recording folder with a trailing "/".
std::string RecordingFolder();

// The first of `folder`video000.avi ... video999.avi that cannot be opened for reading;
// the folder is created first when it is missing. Empty when all 1000 exist (or the folder
// cannot be made). `folder` ends with "/".
std::string NextRecordingFileName(const std::string& folder);

// The same in the recording folder.
std::string NextRecordingFileName();

}  // namespace lumora
