#include "platform/settings_cache.h"

namespace lumora {

SettingsCache& SettingsCache::Shared() {
    static SettingsCache cache;
    return cache;
}

std::shared_ptr<const RegDocument> SettingsCache::Find(const std::filesystem::path& file, const FileStamp& now) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!document_ || file != file_ || now != opened_.stamp) return nullptr;
    return document_;
}

void SettingsCache::Keep(const std::filesystem::path& file, AtomicFile::OpenedFile opened,
                         std::shared_ptr<const RegDocument> document) {
    // The old descriptor and document are let go outside the lock.
    AtomicFile::OpenedFile previousFile;
    std::shared_ptr<const RegDocument> previousDocument;
    const std::lock_guard<std::mutex> lock(mutex_);
    previousFile = std::exchange(opened_, std::move(opened));
    previousDocument = std::exchange(document_, std::move(document));
    file_ = file;
}

void SettingsCache::Forget(const std::filesystem::path& file) {
    AtomicFile::OpenedFile previousFile;
    std::shared_ptr<const RegDocument> previousDocument;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (file != file_) return;
    previousFile = std::exchange(opened_, {});
    previousDocument = std::exchange(document_, nullptr);
    file_.clear();
}

}  // namespace lumora
