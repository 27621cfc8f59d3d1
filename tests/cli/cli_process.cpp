#include "cli_process.h"

#include "test_support.h"

#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <sys/prctl.h>

namespace lumora::test {

ToolProcess::ToolProcess(const std::string& program, const QString& testDevices)
    : program_(QString::fromStdString(ProgramDir() + program)) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LUMORA_TEST_DEVICES", testDevices);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // A test that dies or is killed must not leave its program running (a virtual camera
    // writing into a packet file fills the disk).
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process_.setProcessEnvironment(environment);
    process_.setReadChannel(QProcess::StandardError);  // what WaitForError waits for
}

ToolProcess::~ToolProcess() {
    if (process_.state() != QProcess::NotRunning) Wait(0);  // kills it
}

void ToolProcess::SetEnvironment(const QString& name, const QString& value) {
    QProcessEnvironment environment = process_.processEnvironment();
    environment.insert(name, value);
    process_.setProcessEnvironment(environment);
}

bool ToolProcess::Start(const QStringList& arguments) {
    process_.start(program_, arguments);
    return process_.waitForStarted();
}

void ToolProcess::Collect() {
    out_ += process_.readAllStandardOutput().toStdString();
    err_ += process_.readAllStandardError().toStdString();
}

bool ToolProcess::WaitForError(const std::string& text, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        Collect();
        if (err_.find(text) != std::string::npos) return true;
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || process_.state() == QProcess::NotRunning) return false;
        process_.waitForReadyRead(static_cast<int>(left));
    }
}

void ToolProcess::Signal(int signal) {
    sinceSignal_.start();
    // Never kill(0, ...): that would signal the test's own process group.
    const auto pid = static_cast<pid_t>(process_.processId());
    if (pid > 0 && process_.state() == QProcess::Running) ::kill(pid, signal);
}

ToolRun ToolProcess::Wait(int timeoutMs) {
    const bool ended = process_.waitForFinished(timeoutMs);
    if (sinceSignal_.isValid()) toEnd_ = sinceSignal_.elapsed();
    if (!ended) {
        process_.kill();
        process_.waitForFinished();
    }
    Collect();
    return {ended && process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1, out_,
            ended ? err_ : err_ + "\n(timed out)"};
}

ToolRun RunTool(const std::string& program, const QStringList& arguments, const QString& testDevices, int timeoutMs) {
    ToolProcess process(program, testDevices);
    return process.Start(arguments) ? process.Wait(timeoutMs) : ToolRun{};
}

Packets ReadPackets(const std::string& path, bool keepPayloads) {
    const std::vector<unsigned char> bytes = ReadFileBytes(path);
    Packets file;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto header = FramePacket::ParseHeader(bytes.data() + at, bytes.size() - at);
        file.wellFormed = header && bytes.size() - at >= FramePacket::kHeaderSize + header->payloadSize;
        if (!file.wellFormed) break;
        file.headers.push_back(*header);
        const auto* payload = bytes.data() + at + FramePacket::kHeaderSize;
        if (keepPayloads) file.payloads.emplace_back(payload, payload + header->payloadSize);
        at += FramePacket::kHeaderSize + header->payloadSize;
    }
    return file;
}

std::optional<std::pair<int, int>> Summary(const std::string& err) {
    const QRegularExpression line("done: (\\d+) frames in .* (\\d+) dropped");
    const QRegularExpressionMatch match = line.match(QString::fromStdString(err));
    return match.hasMatch() ? std::optional(std::pair(match.captured(1).toInt(), match.captured(2).toInt()))
                            : std::nullopt;
}

bool HaveFfprobe() { return std::system("command -v ffprobe >/dev/null 2>&1") == 0; }

std::optional<Probe> Ffprobe(const std::string& path) {
    const std::string command =
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=codec_name,width,height,nb_read_frames -of csv=p=0 '" +
        path + "'";
    std::FILE* output = popen(command.c_str(), "r");
    if (output == nullptr) return std::nullopt;
    char codec[64] = {};
    Probe probe;
    const int read = std::fscanf(output, "%63[^,],%d,%d,%d", codec, &probe.width, &probe.height, &probe.frames);
    pclose(output);
    probe.codec = codec;
    return read == 4 ? std::optional<Probe>(probe) : std::nullopt;
}

}  // namespace lumora::test
