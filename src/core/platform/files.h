#pragma once
// File-system calls. Whole files are replaced atomically: written to a temporary file in the
// same directory, flushed, and renamed over the old one.
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::platform {

// A symbolic link at path is replaced by the file (a link planted in a program directory must
// not send a result elsewhere, and a dangling one never creates its target); settings files,
// which a site may link on purpose, are written through it.
enum class AtLink { Replace, WriteThrough };
bool replaceFile(const std::string& path, std::string_view bytes, AtLink atLink = AtLink::Replace);
std::optional<std::string> readWholeFile(const std::string& path);

// What tells one version of a file from another: a replaced file is a new inode, an edited one
// has a new size or change time.
struct FileStamp {
    unsigned long long device = 0, inode = 0;
    long long size = 0;
    long long modifiedNs = 0; // since the epoch
    long long changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
// Whole-file reads take regular files of at most this size: a link to a device or a FIFO in a
// settings or input file's place is refused (kNotARegularFile), a larger file too (EFBIG).
inline constexpr std::size_t kMaxWholeFileBytes = std::size_t(64) << 20;
inline constexpr int kNotARegularFile = 1000;
// The file's contents and the stamp of the version that was read; nothing with errorCode set
// (ENOENT for a missing file) when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path, FileStamp& stamp, int& errorCode);
// Why a whole-file read failed, for a person: the two refusals above, or the system's text.
std::string readErrorText(int errorCode);
// The stamp of the file as it is now; nothing with errorCode set when it cannot be examined.
std::optional<FileStamp> fileStamp(const std::string& path, int& errorCode);
// The temporary files a replaceFile of path left behind when its writer was killed. Only to be
// called while no other replaceFile of path can run (under a DirectoryLock held by every
// writer of it).
void removeStaleTemporaries(const std::string& path);

// An exclusive lock on a directory, shared by every process that takes it, held until the
// object goes. Writers of one file take the lock of its directory around read-change-write.
class DirectoryLock {
  public:
    explicit DirectoryLock(const std::string& directory);
    ~DirectoryLock();
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;
    bool locked() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};
std::string parentDirectory(const std::string& path);
bool fileExists(const std::string& path);
bool makeDirectories(const std::string& path);
bool removeFile(const std::string& path);
// Renames from over to in one step (the old file at to is replaced); across file systems the
// bytes are copied with replaceFile and from is removed.
bool moveFile(const std::string& from, const std::string& to);
std::string executableDirectory();
std::string environment(const char* name);
bool changeDirectory(const std::string& path);
std::string currentDirectory();

// A file that grows line by line (a daily log): opened for appending, created when missing;
// each write goes to the file at once, so a crash keeps every line written before it. A
// symbolic link at path is not followed: the file is then not opened.
class AppendFile {
  public:
    explicit AppendFile(const std::string& path);
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    bool write(std::string_view bytes);

  private:
    int fd_ = -1;
};

// The same for a stdio stream (the tool log); null when path cannot be opened or is a link.
std::FILE* openAppendStream(const std::string& path);

} // namespace quorvane::platform
