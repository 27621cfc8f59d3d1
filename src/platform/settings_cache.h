// The last settings document this process parsed, so that reading an unchanged file
// costs one stat() instead of a parse.
//
// It holds one file's document with the stamp the file had when it was read (see
// FileStamp) and keeps that file open: while it is open, no other file can get its inode,
// so a stamp that matches the file at the path again really is the same file, unchanged.
// A lookup compares the stamp with the file as it is now; the caller takes that stamp
// (FileStamp::Of) just before asking. Nothing is ever answered from memory without that
// comparison, so writes by other processes, by hand or by us are all seen at once.
//
// One per process (Shared), used by every SettingsStore. Any thread may call any
// function; the document handed out is immutable and stays valid as long as the caller
// holds it.
#pragma once

#include "platform/atomic_file.h"
#include "platform/reg_document.h"

#include <filesystem>
#include <memory>
#include <mutex>

namespace lumora {

class SettingsCache {
public:
    static SettingsCache& Shared();

    // The document of `file` when `now` still describes the file it was read from.
    std::shared_ptr<const RegDocument> Find(const std::filesystem::path& file, const FileStamp& now) const;
    // Remembers `document` as the contents of `file` as it was opened in `opened`,
    // replacing whatever was kept before.
    void Keep(const std::filesystem::path& file, AtomicFile::OpenedFile opened,
              std::shared_ptr<const RegDocument> document);
    // Drops what is kept for `file` (nothing happens for another file).
    void Forget(const std::filesystem::path& file);

private:
    mutable std::mutex mutex_;
    std::filesystem::path file_;
    AtomicFile::OpenedFile opened_;
    std::shared_ptr<const RegDocument> document_;
};

}  // namespace lumora
