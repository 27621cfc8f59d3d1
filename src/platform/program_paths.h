// Where Lumora's files are. The program folder holds the executables and their read-only
// data (plug-ins, skins/, images/, facedetect.xml), in the build tree as when installed.
#pragma once

#include <string>

namespace lumora {

// The folder of the running executable with a trailing "/", from /proc/self/exe;
// "./" when it cannot be read.
std::string ProgramFolder();

}  // namespace lumora
