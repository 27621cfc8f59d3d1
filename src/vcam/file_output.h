// FileOutput: a file created (or emptied) for writing, whose every failure keeps the
// system's reason, so a tool can say which file it could not write and why — a full disk,
// /dev/full or a folder it may not write to — instead of reporting success.
//
// Write retries short writes and interrupted calls until all bytes are out. After the
// first failure nothing more is written and Failure() holds the strerror text.
// Ownership: owns the descriptor; closes it on Close() or destruction. One thread.
#pragma once

#include <cstddef>
#include <string>

namespace lumora {

class FileOutput {
public:
    // Creates `path` or empties it (a FIFO or a device is opened as it is).
    explicit FileOutput(const std::string& path);
    ~FileOutput();
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    bool Ok() const { return fd_ >= 0 && failure_.empty(); }
    const std::string& Path() const { return path_; }
    // The system's text for the first failure (opening, writing or closing); "" while none.
    const std::string& Failure() const { return failure_; }

    bool Write(const void* data, std::size_t size);
    // Closes the file; false when closing (or anything before) failed.
    bool Close();

private:
    bool Fail(int error);

    std::string path_;
    int fd_ = -1;
    std::string failure_;
};

}  // namespace lumora
