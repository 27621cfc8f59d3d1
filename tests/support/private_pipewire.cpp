#include "private_pipewire.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace lumora::test {
namespace {

using namespace std::chrono_literals;

// Runs inside dbus-run-session, in the private folder. Each round starts the daemon, waits
// for its socket, starts the session manager and waits for the daemon to end; "hold" keeps
// the next round back, "stop" ends the loop.
constexpr char kScript[] = R"(
trap 'kill $p $w 2>/dev/null; exit 0' TERM
while [ ! -e stop ]; do
  pipewire >>pipewire.log 2>&1 & p=$!; echo $p > pipewire.pid
  i=0; while [ ! -S pipewire-0 ] && [ $i -lt 100 ]; do sleep 0.05; i=$((i+1)); done
  XDG_STATE_HOME="$PWD/state" wireplumber >>wireplumber.log 2>&1 & w=$!
  wait $p; kill $w 2>/dev/null; wait $w
  rm -f pipewire-0 pipewire-0.lock pipewire-0-manager pipewire-0-manager.lock
  while [ -e hold ]; do sleep 0.05; done
done
)";

void Touch(const std::filesystem::path& path) { std::ofstream(path).put('\n'); }

}  // namespace

std::string PrivatePipeWire::Missing() {
    const std::pair<const char*, const char*> needs[] = {
        {"command -v pipewire", "pipewire"},
        {"command -v wireplumber", "wireplumber"},
        {"command -v dbus-run-session", "dbus-run-session"},
        {"gst-inspect-1.0 pipewiresrc", "pipewiresrc (gstreamer1.0-pipewire)"}};
    std::string missing;
    for (const auto& [command, name] : needs) {
        if (std::system((std::string(command) + " >/dev/null 2>&1").c_str()) == 0) continue;
        missing += std::string(missing.empty() ? "" : ", ") + name;
    }
    return missing.empty() ? missing : "not installed (scripts/setup installs them): " + missing;
}

PrivatePipeWire::PrivatePipeWire() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumora-pipewire-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return;
    dir_ = pattern;
    runtimeEnv_ = std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", dir_.c_str());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    const std::string command = "cd '" + dir_.string() + "' || exit 1\n" + kScript;
    const char* argv[] = {"dbus-run-session", "--", "sh", "-c", command.c_str(), nullptr};
    pid_t child = -1;
    if (posix_spawnp(&child, argv[0], nullptr, &attributes, const_cast<char**>(argv), environ) == 0) group_ = child;
    posix_spawnattr_destroy(&attributes);
}

PrivatePipeWire::~PrivatePipeWire() {
    if (group_ > 0) {
        Touch(dir_ / "stop");
        std::filesystem::remove(dir_ / "hold");
        ::kill(-group_, SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        bool ended = false;
        while (!(ended = ::waitpid(group_, nullptr, WNOHANG) != 0) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(20ms);
        }
        ::kill(-group_, SIGKILL);  // the shell after two seconds, or a daemon that outlived it
        if (!ended) ::waitpid(group_, nullptr, 0);
    }
    std::error_code ignored;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

void PrivatePipeWire::KillDaemon() {
    Touch(dir_ / "hold");
    std::ifstream file(dir_ / "pipewire.pid");
    pid_t daemon = 0;
    if (file >> daemon && daemon > 0) ::kill(daemon, SIGKILL);
}

void PrivatePipeWire::Restart() { std::filesystem::remove(dir_ / "hold"); }

bool PrivatePipeWire::Running(std::string* why) const {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (group_ > 0 && std::chrono::steady_clock::now() < deadline) {
        if (std::filesystem::is_socket(dir_ / "pipewire-0")) return true;
        std::this_thread::sleep_for(20ms);
    }
    if (why) {
        std::ostringstream log;
        log << std::ifstream(dir_ / "pipewire.log").rdbuf();
        *why = "the private PipeWire daemon did not start:\n" + log.str();
    }
    return false;
}

}  // namespace lumora::test
