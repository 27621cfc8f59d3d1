// Whole-file reads, and whole-file replacement that a crash cannot tear.
//
// Replace writes the new contents to a temporary file in the same folder, flushes it to
// the disk, renames it over the target and flushes the folder. Whatever moment the
// process or the machine stops at, the target holds either its old or its new contents
// in full; at worst a stray temporary file (".<name>.<unique>.tmp") remains after a crash.
// An existing target keeps its permission bits; a new one gets 0666 less the umask. When
// the target is a symbolic link, the file it points to is replaced and the link stays.
//
// Read takes only regular files: it never waits on a FIFO or a device at the path.
//
// The functions keep no state; any thread may call them. They do not serialise writers:
// two concurrent Replace calls on one file both succeed and the last rename wins, so a
// read-modify-write needs a lock around it (see FileLock). Neither function throws
// anything but std::bad_alloc.
#pragma once

#include "platform/file_descriptor.h"
#include "platform/file_stamp.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lumora {

class AtomicFile {
public:
    enum class ReadStatus {
        kOk,          // `bytes` holds the whole file
        kMissing,     // no file of that name
        kBusy,        // a passing shortage (descriptors, memory, interrupted): try again later
        kUnreadable,  // the file is there but cannot be read (permissions, not a regular
                      // file, I/O error)
    };
    // A file kept open for reading, with its stamp.
    struct OpenedFile {
        FileDescriptor descriptor;
        FileStamp stamp;
    };
    struct ReadResult {
        ReadStatus status = ReadStatus::kMissing;
        std::string bytes;
        // With kOk: the file read, still open. Its stamp was taken before reading, so a
        // change during the read shows as a different stamp afterwards.
        OpenedFile file;
    };

    static ReadResult Read(const std::filesystem::path& file);

    // True once the new contents are in place. On false the target is untouched and no
    // temporary file remains. The folder must exist. When `reopened` is given and the
    // replace succeeds, it receives the new file opened for reading, unless another writer
    // has replaced it in the meantime (it stays empty then).
    static bool Replace(const std::filesystem::path& file, std::string_view contents,
                        std::optional<OpenedFile>* reopened = nullptr);
};

}  // namespace lumora
