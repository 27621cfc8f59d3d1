// The user's base folders, after the XDG base directory rules: a variable counts only
// when it holds an absolute path. Every call reads the environment afresh; any thread may
// call them. An empty path means there is no such folder to be found.
#pragma once

#include <filesystem>

namespace lumora {

// $HOME, else the password database's home folder.
std::filesystem::path HomeFolder();

// $XDG_CONFIG_HOME, else ~/.config.
std::filesystem::path ConfigHome();

// $XDG_DATA_HOME, else ~/.local/share.
std::filesystem::path DataHome();

// $XDG_RUNTIME_DIR; empty when it is unset (the rules name no fallback).
std::filesystem::path RuntimeFolder();

}  // namespace lumora
