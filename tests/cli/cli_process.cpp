#include "cli_process.h"

#include "test_support.h"

#include <QProcessEnvironment>

#include <csignal>

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
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished();
    }
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
    ToolRun run;
    const bool ended = process_.waitForFinished(timeoutMs);
    if (sinceSignal_.isValid()) toEnd_ = sinceSignal_.elapsed();
    if (!ended) {
        process_.kill();
        process_.waitForFinished();
    }
    Collect();
    run.out = out_;
    run.err = ended ? err_ : err_ + "\n(timed out)";
    run.exitCode = ended && process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    return run;
}

ToolRun RunTool(const std::string& program, const QStringList& arguments, const QString& testDevices, int timeoutMs) {
    ToolProcess process(program, testDevices);
    if (!process.Start(arguments)) return {};
    return process.Wait(timeoutMs);
}

}  // namespace lumora::test
