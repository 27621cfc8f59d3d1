// The PipeWire client library set up once per process, and whether a PipeWire daemon
// answers for this user now (the socket in $PIPEWIRE_RUNTIME_DIR or $XDG_RUNTIME_DIR, or
// $PIPEWIRE_REMOTE).
// Plain functions; any thread.
#pragma once

#include <string>

namespace lumora {

// Initialises libpipewire the first time; later calls do nothing.
void InitPipeWireLibrary();

// Connects to the daemon and disconnects at once. False, with the reason in `error`, when
// nothing answers.
bool PipeWireDaemonReachable(std::string* error = nullptr);

}  // namespace lumora
