#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/file_system.h"
#include "platform/mount_table.h"

#if defined(__unix__) || defined(__APPLE__)
#define MT_POSIX 1
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#elif defined(__APPLE__)
#include <sys/mount.h>
#include <sys/xattr.h>
#endif
#endif

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace mt {

FileError ErrorFromSystem(int errnum) {
    FileError e;
    if (errnum == 0) return e;
    e.message = std::strerror(errnum);
    switch (errnum) {
        case ENOENT: e.code = kFileNotFoundCode; break;
        case EACCES:
        case EPERM:
        case EROFS: e.code = kAccessDeniedCode; break;
        case ENOMEM: e.code = kOutOfMemoryCode; break;
        case EBUSY:
        case ETXTBSY: e.code = kFileInUseCode; break;
        case ENAMETOOLONG:
        case EINVAL:
        case EILSEQ: e.code = kInvalidNameCode; break;
        case EEXIST:
        case ENOTEMPTY: e.code = kFileExistsCode; break;
        default: e.code = kOtherErrorBase + errnum; break;
    }
    return e;
}

std::optional<Bytes> ReadWholeFile(FileSystem& fs, const std::string& path) {
    FileError error;
    auto file = fs.OpenRead(path, &error);
    if (!file) return std::nullopt;
    Bytes data;
    uint64_t length = file->Length();
    data.resize(static_cast<size_t>(length));
    size_t got = length ? file->ReadAt(0, data.data(), data.size()) : 0;
    data.resize(got);
    return data;
}

namespace {

#ifdef MT_POSIX

class PosixReadableFile : public ReadableFile {
public:
    PosixReadableFile(int fd, uint64_t length) : fd_(fd), length_(length) {}
    ~PosixReadableFile() override { ::close(fd_); }
    uint64_t Length() const override { return length_; }
    size_t ReadAt(uint64_t position, char* buffer, size_t count) override {
        size_t done = 0;
        while (done < count) {
            ssize_t n =
                ::pread(fd_, buffer + done, count - done, static_cast<off_t>(position + done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        return done;
    }

private:
    int fd_;
    uint64_t length_;
};

class PosixWritableFile : public WritableFile {
public:
    explicit PosixWritableFile(int fd) : fd_(fd) {}
    ~PosixWritableFile() override {
        if (fd_ >= 0) ::close(fd_);
    }
    FileError Write(const char* data, size_t count) override {
        while (count > 0) {
            ssize_t n = ::write(fd_, data, count);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return ErrorFromSystem(errno);
            if (n == 0) return ErrorFromSystem(ENOSPC);
            data += n;
            count -= static_cast<size_t>(n);
        }
        return {};
    }
    FileError Finish() override {
        FileError result;
        if (::fsync(fd_) != 0 && errno != EINVAL) result = ErrorFromSystem(errno);
        if (::close(fd_) != 0 && result.ok()) result = ErrorFromSystem(errno);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

class PosixFileSystem : public FileSystem {
public:
    FileInfo Stat(const std::string& path) override {
        FileInfo info;
#if defined(__linux__) && defined(STATX_BTIME)
        struct statx sx;
        if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME,
                    &sx) != 0) {
            return info;
        }
        info.exists = true;
        info.isSymlink = S_ISLNK(sx.stx_mode);
        info.isFolder = S_ISDIR(sx.stx_mode);
        info.size = S_ISREG(sx.stx_mode) ? sx.stx_size : 0;
        info.device = static_cast<uint64_t>(makedev(sx.stx_dev_major, sx.stx_dev_minor));
        const auto& t = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_mtime;
        info.created = TimePoint(std::chrono::duration_cast<TimePoint::duration>(
            std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec)));
#else
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0) return info;
        info.exists = true;
        info.isSymlink = S_ISLNK(st.st_mode);
        info.isFolder = S_ISDIR(st.st_mode);
        info.size = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
        info.device = static_cast<uint64_t>(st.st_dev);
#if defined(__APPLE__)
        info.created = TimePoint(std::chrono::duration_cast<TimePoint::duration>(
            std::chrono::seconds(st.st_birthtimespec.tv_sec)));
#else
        info.created = TimePoint(
            std::chrono::duration_cast<TimePoint::duration>(std::chrono::seconds(st.st_mtime)));
#endif
#endif
        return info;
    }

    std::vector<DirEntry> List(const std::string& folder) override {
        std::vector<DirEntry> entries;
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return entries;
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            ::close(fd);
            return entries;
        }
        while (struct dirent* d = ::readdir(dir)) {
            if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0) continue;
            DirEntry e;
            e.name = d->d_name;
            unsigned char type = d->d_type;
            if (type == DT_UNKNOWN) {
                struct stat st;
                if (::fstatat(fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                    type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
                }
            }
            e.isFolder = type == DT_DIR;
            e.isSymlink = type == DT_LNK;
            entries.push_back(std::move(e));
        }
        ::closedir(dir);
        // Directory order differs between file systems; sorted names give every listing
        // of the same folder the same order.
        std::sort(entries.begin(), entries.end(),
                  [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
        return entries;
    }

    FileError CreateFolder(const std::string& path) override {
        if (::mkdir(path.c_str(), 0777) != 0) return ErrorFromSystem(errno);
        return {};
    }

    FileError Rename(const std::string& from, const std::string& to) override {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            return {};
        }
        if (errno != EINVAL && errno != ENOSYS) return ErrorFromSystem(errno);
            // The file system does not know RENAME_NOREPLACE: fall back to link and unlink,
            // which also refuses to replace, for files.
#elif defined(__APPLE__) && defined(RENAME_EXCL)
        if (::renamex_np(from.c_str(), to.c_str(), RENAME_EXCL) == 0) return {};
        if (errno != ENOTSUP) return ErrorFromSystem(errno);
#endif
        struct stat st;
        if (::lstat(to.c_str(), &st) == 0) return ErrorFromSystem(EEXIST);
        if (::lstat(from.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            if (::link(from.c_str(), to.c_str()) == 0) {
                if (::unlink(from.c_str()) != 0) {
                    int err = errno;
                    ::unlink(to.c_str());
                    return ErrorFromSystem(err);
                }
                return {};
            }
            if (errno == EEXIST) return ErrorFromSystem(EEXIST);
        }
        if (::rename(from.c_str(), to.c_str()) != 0) return ErrorFromSystem(errno);
        return {};
    }

    std::unique_ptr<ReadableFile> OpenRead(const std::string& path, FileError* error) override {
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            if (error) *error = ErrorFromSystem(errno);
            return nullptr;
        }
        struct stat st;
        if (::fstat(fd, &st) != 0) {
            if (error) *error = ErrorFromSystem(errno);
            ::close(fd);
            return nullptr;
        }
        if (!S_ISREG(st.st_mode)) {
            if (error) *error = ErrorFromSystem(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixReadableFile>(fd, static_cast<uint64_t>(st.st_size));
    }

    std::unique_ptr<WritableFile> CreateNew(const std::string& path, FileError* error) override {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (error) *error = ErrorFromSystem(errno);
            return nullptr;
        }
        return std::make_unique<PosixWritableFile>(fd);
    }

    FileError Remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0) return ErrorFromSystem(errno);
        return {};
    }

    std::vector<std::string> ListAttributes(const std::string& path) override {
        std::vector<std::string> names;
#if defined(__linux__) || defined(__APPLE__)
        std::string buffer(4096, '\0');
        for (int attempt = 0; attempt < 4; ++attempt) {
#if defined(__linux__)
            ssize_t n = ::llistxattr(path.c_str(), buffer.data(), buffer.size());
#else
            ssize_t n = ::listxattr(path.c_str(), buffer.data(), buffer.size(), XATTR_NOFOLLOW);
#endif
            if (n >= 0) {
                buffer.resize(static_cast<size_t>(n));
                size_t start = 0;
                while (start < buffer.size()) {
                    size_t end = buffer.find('\0', start);
                    if (end == std::string::npos) end = buffer.size();
                    if (end > start) names.push_back(buffer.substr(start, end - start));
                    start = end + 1;
                }
                return names;
            }
            if (errno != ERANGE) return names;
            buffer.resize(buffer.size() * 16);
        }
#else
        (void)path;
#endif
        return names;
    }

    std::optional<Bytes> GetAttribute(const std::string& path, const std::string& name) override {
#if defined(__linux__) || defined(__APPLE__)
#if defined(__linux__)
        ssize_t size = ::lgetxattr(path.c_str(), name.c_str(), nullptr, 0);
#else
        ssize_t size = ::getxattr(path.c_str(), name.c_str(), nullptr, 0, 0, XATTR_NOFOLLOW);
#endif
        if (size < 0) return std::nullopt;
        Bytes value(static_cast<size_t>(size), '\0');
#if defined(__linux__)
        ssize_t n = ::lgetxattr(path.c_str(), name.c_str(), value.data(), value.size());
#else
        ssize_t n =
            ::getxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0, XATTR_NOFOLLOW);
#endif
        if (n < 0) return std::nullopt;
        value.resize(static_cast<size_t>(n));
        return value;
#else
        (void)path;
        (void)name;
        return std::nullopt;
#endif
    }

    FileError SetAttribute(const std::string& path, const std::string& name,
                           const Bytes& value) override {
#if defined(__linux__)
        if (::lsetxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0) != 0) {
            return ErrorFromSystem(errno);
        }
        return {};
#elif defined(__APPLE__)
        if (::setxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0, XATTR_NOFOLLOW) !=
            0) {
            return ErrorFromSystem(errno);
        }
        return {};
#else
        (void)path;
        (void)name;
        (void)value;
        return ErrorFromSystem(ENOTSUP);
#endif
    }

    std::optional<Bytes> NativeFinderInfo(const std::string& path) override {
#if defined(__APPLE__)
        return GetAttribute(path, "com.apple.FinderInfo");
#else
        (void)path;
        return std::nullopt;
#endif
    }

    std::optional<Bytes> NativeResourceFork(const std::string& path) override {
#if defined(__APPLE__)
        return ReadWholeFile(*this, path + "/..namedfork/rsrc");
#else
        (void)path;
        return std::nullopt;
#endif
    }

    std::optional<std::string> Resolve(const std::string& path) override {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (!resolved) return std::nullopt;
        std::string result(resolved);
        ::free(resolved);
        return result;
    }

    std::vector<MountEntry> MountTable() override {
#if defined(__linux__)
        auto readAll = [](const char* path) {
            std::ifstream in(path);
            return std::string(std::istreambuf_iterator<char>(in), {});
        };
        auto entries = ParseMountInfo(readAll("/proc/self/mountinfo"));
        if (!entries.empty()) return entries;
        return ParseMounts(readAll("/proc/self/mounts"));
#elif defined(__APPLE__)
        // The volumes a user sees are those mounted in /Volumes.
        std::vector<MountEntry> entries;
        struct statfs* mounts = nullptr;
        const int count = ::getmntinfo(&mounts, MNT_NOWAIT);
        for (int i = 0; i < count; ++i) {
            std::string mountPoint = mounts[i].f_mntonname;
            if (mountPoint.rfind("/Volumes/", 0) != 0) continue;
            entries.push_back({mounts[i].f_mntfromname, mountPoint, mounts[i].f_fstypename});
        }
        return entries;
#else
        return {};
#endif
    }
};

#else  // Portable fallback through std::filesystem (Windows).

namespace fs = std::filesystem;

std::string Utf8(const fs::path& path) {
    auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

FileError FromErrorCode(const std::error_code& ec) {
    if (!ec) return {};
    if (ec == std::errc::no_such_file_or_directory) return ErrorFromSystem(ENOENT);
    if (ec == std::errc::permission_denied) return ErrorFromSystem(EACCES);
    if (ec == std::errc::file_exists) return ErrorFromSystem(EEXIST);
    FileError e;
    e.code = kOtherErrorBase + ec.value();
    e.message = ec.message();
    return e;
}

class StreamReadableFile : public ReadableFile {
public:
    StreamReadableFile(std::ifstream in, uint64_t length) : in_(std::move(in)), length_(length) {}
    uint64_t Length() const override { return length_; }
    size_t ReadAt(uint64_t position, char* buffer, size_t count) override {
        if (position >= length_) return 0;
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(position));
        in_.read(buffer, static_cast<std::streamsize>(count));
        return static_cast<size_t>(in_.gcount());
    }

private:
    std::ifstream in_;
    uint64_t length_;
};

class StreamWritableFile : public WritableFile {
public:
    explicit StreamWritableFile(std::ofstream out) : out_(std::move(out)) {}
    FileError Write(const char* data, size_t count) override {
        out_.write(data, static_cast<std::streamsize>(count));
        return out_ ? FileError{} : ErrorFromSystem(EIO);
    }
    FileError Finish() override {
        out_.close();
        return out_ ? FileError{} : ErrorFromSystem(EIO);
    }

private:
    std::ofstream out_;
};

class PortableFileSystem : public FileSystem {
public:
    FileInfo Stat(const std::string& path) override {
        FileInfo info;
        std::error_code ec;
        auto status = fs::symlink_status(fs::u8path(path), ec);
        if (ec || !fs::exists(status)) return info;
        info.exists = true;
        info.isSymlink = fs::is_symlink(status);
        info.isFolder = fs::is_directory(status);
        if (fs::is_regular_file(status)) info.size = fs::file_size(fs::u8path(path), ec);
        return info;
    }
    std::vector<DirEntry> List(const std::string& folder) override {
        std::vector<DirEntry> entries;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(fs::u8path(folder), ec)) {
            DirEntry entry;
            entry.name = Utf8(e.path().filename());
            entry.isSymlink = e.is_symlink(ec);
            entry.isFolder = e.is_directory(ec) && !entry.isSymlink;
            entries.push_back(std::move(entry));
        }
        std::sort(entries.begin(), entries.end(),
                  [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
        return entries;
    }
    FileError CreateFolder(const std::string& path) override {
        std::error_code ec;
        if (!fs::create_directory(fs::u8path(path), ec) && !ec) return ErrorFromSystem(EEXIST);
        return FromErrorCode(ec);
    }
    FileError Rename(const std::string& from, const std::string& to) override {
        if (Stat(to).exists) return ErrorFromSystem(EEXIST);
        std::error_code ec;
        fs::rename(fs::u8path(from), fs::u8path(to), ec);
        return FromErrorCode(ec);
    }
    std::unique_ptr<ReadableFile> OpenRead(const std::string& path, FileError* error) override {
        std::error_code ec;
        auto size = fs::file_size(fs::u8path(path), ec);
        std::ifstream in(fs::u8path(path), std::ios::binary);
        if (ec || !in) {
            if (error) *error = ErrorFromSystem(ENOENT);
            return nullptr;
        }
        return std::make_unique<StreamReadableFile>(std::move(in), size);
    }
    std::unique_ptr<WritableFile> CreateNew(const std::string& path, FileError* error) override {
        if (Stat(path).exists) {
            if (error) *error = ErrorFromSystem(EEXIST);
            return nullptr;
        }
        std::ofstream out(fs::u8path(path), std::ios::binary);
        if (!out) {
            if (error) *error = ErrorFromSystem(EACCES);
            return nullptr;
        }
        return std::make_unique<StreamWritableFile>(std::move(out));
    }
    FileError Remove(const std::string& path) override {
        std::error_code ec;
        fs::remove(fs::u8path(path), ec);
        return FromErrorCode(ec);
    }
    std::vector<std::string> ListAttributes(const std::string&) override { return {}; }
    std::optional<Bytes> GetAttribute(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    FileError SetAttribute(const std::string&, const std::string&, const Bytes&) override {
        return ErrorFromSystem(ENOSYS);
    }
    std::optional<Bytes> NativeFinderInfo(const std::string&) override { return std::nullopt; }
    std::optional<Bytes> NativeResourceFork(const std::string&) override { return std::nullopt; }
    std::optional<std::string> Resolve(const std::string& path) override {
        std::error_code ec;
        auto resolved = fs::canonical(fs::u8path(path), ec);
        if (ec) return std::nullopt;
        return Utf8(resolved);
    }
    std::vector<MountEntry> MountTable() override {
        std::vector<MountEntry> entries;
#if defined(_WIN32)
        // Every drive letter in use, with the name of its file system ("NTFS", "exFAT").
        const DWORD drives = ::GetLogicalDrives();
        for (int letter = 0; letter < 26; ++letter) {
            if (!(drives & (DWORD(1) << letter))) continue;
            const std::string root = std::string(1, static_cast<char>('A' + letter)) + ":\\";
            char type[MAX_PATH + 1] = {};
            if (!::GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, type,
                                         sizeof type)) {
                continue;
            }
            entries.push_back({root, std::string(1, static_cast<char>('A' + letter)) + ":/", type});
        }
#endif
        return entries;
    }
};

#endif

}  // namespace

FileSystem& RealFileSystem() {
#ifdef MT_POSIX
    static PosixFileSystem instance;
#else
    static PortableFileSystem instance;
#endif
    return instance;
}

}  // namespace mt
