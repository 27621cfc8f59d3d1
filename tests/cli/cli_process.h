// The programs of the build (lumora-cli, lumora-vcam) run as a user runs them — with the
// test devices and the offscreen platform — for the end-to-end tests, which read what they
// print and send them signals.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <string>

namespace lumora::test {

struct ToolRun {
    int exitCode = -1;  // -1: it did not end in time (it was killed) or it crashed
    std::string out;
    std::string err;
};

class ToolProcess {
public:
    // `program`: a file name in the program folder.
    explicit ToolProcess(const std::string& program, const QString& testDevices = {});
    ~ToolProcess();  // kills the program if it still runs

    void SetEnvironment(const QString& name, const QString& value);
    bool Start(const QStringList& arguments);
    // Waits until the program has written `text` to stderr; false when it ended or
    // `timeoutMs` passed first.
    bool WaitForError(const std::string& text, int timeoutMs);
    // Sends `signal` and starts the clock Wait() measures from.
    void Signal(int signal);
    // Waits up to `timeoutMs` for the end (kills the program after that).
    ToolRun Wait(int timeoutMs);
    // Milliseconds from Signal() to the end that Wait() saw.
    qint64 MillisecondsToEnd() const { return toEnd_; }

private:
    void Collect();

    QString program_;
    QProcess process_;
    std::string out_;
    std::string err_;
    QElapsedTimer sinceSignal_;
    qint64 toEnd_ = -1;
};

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

// Runs `program` to its end.
ToolRun RunTool(const std::string& program, const QStringList& arguments, const QString& testDevices = {},
                int timeoutMs = 60000);

}  // namespace lumora::test
