// PrivatePipeWire: a PipeWire daemon and a WirePlumber session manager of the test's own,
// under a private XDG_RUNTIME_DIR inside dbus-run-session, so tests publish and consume
// PipeWire nodes without touching the user's desktop. While the object lives, this
// process's XDG_RUNTIME_DIR points at the private folder (PIPEWIRE_REMOTE and
// PIPEWIRE_RUNTIME_DIR are removed), so every PipeWire client made in the test finds it.
//
// The daemon is kept running by a small shell loop: KillDaemon() kills it as a crash would
// and holds the loop; Restart() lets it start the daemon (and the session manager) again.
// Destruction stops everything (the whole process group, forcibly after two seconds) and
// removes the folder, also when a test fails half-way.
#pragma once

#include "scoped_env.h"

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>

namespace lumora::test {

class PrivatePipeWire {
public:
    // Empty when pipewire, wireplumber, dbus-run-session and GStreamer's pipewiresrc are all
    // there; otherwise what is missing (for GTEST_SKIP).
    static std::string Missing();

    PrivatePipeWire();
    ~PrivatePipeWire();
    PrivatePipeWire(const PrivatePipeWire&) = delete;
    PrivatePipeWire& operator=(const PrivatePipeWire&) = delete;

    // False (with the daemon's log in `why`) when the daemon's socket did not come up in
    // time after the start or a restart.
    bool Running(std::string* why = nullptr) const;

    void KillDaemon();
    void Restart();

private:
    std::filesystem::path dir_;
    std::unique_ptr<ScopedEnv> runtimeEnv_;
    ScopedEnv remote_{"PIPEWIRE_REMOTE", nullptr};
    ScopedEnv runtimeDirEnv_{"PIPEWIRE_RUNTIME_DIR", nullptr};
    pid_t group_ = -1;
};

}  // namespace lumora::test
