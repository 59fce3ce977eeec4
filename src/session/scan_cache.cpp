#include "session/scan_cache.h"

namespace mt {

void ScanCache::Begin() {
    Forget();
    active_ = true;
}

void ScanCache::End() {
    active_ = false;
    Forget();
}

FileInfo ScanCache::Stat(const std::string& path) {
    if (!active_) return target_.Stat(path);
    Facts& facts = facts_[path];
    if (!facts.info) facts.info = target_.Stat(path);
    return *facts.info;
}

std::optional<Bytes> ScanCache::GetAttribute(const std::string& path, const std::string& name) {
    if (!active_) return target_.GetAttribute(path, name);
    auto& attributes = facts_[path].attributes;
    auto it = attributes.find(name);
    if (it == attributes.end())
        it = attributes.emplace(name, target_.GetAttribute(path, name)).first;
    return it->second;
}

std::optional<Bytes> ScanCache::NativeFinderInfo(const std::string& path) {
    if (!active_) return target_.NativeFinderInfo(path);
    Facts& facts = facts_[path];
    if (!facts.finderInfo) facts.finderInfo = target_.NativeFinderInfo(path);
    return *facts.finderInfo;
}

std::optional<Bytes> ScanCache::NativeResourceFork(const std::string& path) {
    if (!active_) return target_.NativeResourceFork(path);
    Facts& facts = facts_[path];
    if (!facts.resourceFork) facts.resourceFork = target_.NativeResourceFork(path);
    return *facts.resourceFork;
}

FileError ScanCache::CreateFolder(const std::string& path) {
    Forget();
    return target_.CreateFolder(path);
}

FileError ScanCache::Rename(const std::string& from, const std::string& to) {
    Forget();
    return target_.Rename(from, to);
}

std::unique_ptr<WritableFile> ScanCache::CreateNew(const std::string& path, FileError* error) {
    Forget();
    return target_.CreateNew(path, error);
}

FileError ScanCache::Remove(const std::string& path) {
    Forget();
    return target_.Remove(path);
}

FileError ScanCache::SetAttribute(const std::string& path, const std::string& name,
                                  const Bytes& value) {
    Forget();
    return target_.SetAttribute(path, name, value);
}

}  // namespace mt
