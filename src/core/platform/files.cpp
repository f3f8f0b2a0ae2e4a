#include "platform/files.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::platform {
namespace {

std::string parentOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// A symbolic link is kept: the file it points to is replaced, not the link.
std::string followLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char buf[PATH_MAX];
    if (::realpath(path.c_str(), buf) == nullptr)
        return path;
    return buf;
}

constexpr const char* kTemporaryInfix = ".tmp";

FileStamp stampOf(const struct stat& st) {
    FileStamp s;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.modifiedNs = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    s.changedNs = st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
    return s;
}

// target + ".tmp" + pid + "-" + counter, as createTemporary names them.
bool isTemporaryOf(const std::string& name, const std::string& targetName) {
    const std::string prefix = targetName + kTemporaryInfix;
    if (name.compare(0, prefix.size(), prefix) != 0)
        return false;
    std::string_view rest = std::string_view(name).substr(prefix.size());
    std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == rest.size())
        return false;
    for (std::size_t i = 0; i < rest.size(); ++i)
        if (i != dash && (rest[i] < '0' || rest[i] > '9'))
            return false;
    return true;
}

// A fresh temporary file beside target. It is created with 0666 so that the process umask
// applies as it does to any new file; reading the umask instead would mean setting it, which
// races with every other thread that creates a file at the same moment.
int createTemporary(const std::string& target, std::string& temp) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = target + kTemporaryInfix + std::to_string(::getpid()) + "-" +
               std::to_string(counter.fetch_add(1));
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

AppendFile::AppendFile(const std::string& path)
    : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0666)) {}

std::FILE* openAppendStream(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* f = ::fdopen(fd, "a");
    if (!f)
        ::close(fd);
    return f;
}

AppendFile::~AppendFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool AppendFile::write(std::string_view bytes) {
    return fd_ >= 0 && writeAll(fd_, bytes);
}

bool replaceFile(const std::string& path, std::string_view bytes, AtLink atLink) {
    const std::string target = atLink == AtLink::WriteThrough ? followLink(path) : path;
    std::string temp;
    int fd = createTemporary(target, temp);
    if (fd < 0)
        return false;

    // A file that exists keeps its permissions.
    struct stat old {};
    bool ok = ::stat(target.c_str(), &old) != 0 || ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself is only durable once the directory is flushed.
    int dir = ::open(parentOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    FileStamp stamp;
    int errorCode = 0;
    return readWholeFile(path, stamp, errorCode);
}

std::optional<std::string> readWholeFile(const std::string& path, FileStamp& stamp,
                                         int& errorCode) {
    // Without blocking: a FIFO in a file's place must not hang the reader in open().
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        errorCode = errno;
        return std::nullopt;
    }
    struct stat st {};
    const int refused = ::fstat(fd, &st) != 0  ? errno
                        : S_ISDIR(st.st_mode)  ? EISDIR
                        : !S_ISREG(st.st_mode) ? kNotARegularFile
                        : static_cast<std::size_t>(st.st_size) > kMaxWholeFileBytes ? EFBIG
                                                                                    : 0;
    if (refused != 0) {
        errorCode = refused;
        ::close(fd);
        return std::nullopt;
    }
    stamp = stampOf(st);
    std::string out;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            errorCode = errno;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        if (out.size() + static_cast<std::size_t>(n) > kMaxWholeFileBytes) {
            errorCode = EFBIG; // it grew while it was read
            ::close(fd);
            return std::nullopt;
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return out;
}

std::string readErrorText(int errorCode) {
    if (errorCode == kNotARegularFile)
        return "不是普通文件";
    if (errorCode == EFBIG)
        return "文件大于" + std::to_string(kMaxWholeFileBytes >> 20) + "MiB";
    return std::strerror(errorCode);
}

std::optional<FileStamp> fileStamp(const std::string& path, int& errorCode) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        errorCode = errno;
        return std::nullopt;
    }
    return stampOf(st);
}

void removeStaleTemporaries(const std::string& path) {
    const std::string target = followLink(path);
    const std::string dir = parentOf(target);
    const auto slash = target.find_last_of('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return;
    while (dirent* e = ::readdir(d)) {
        if (isTemporaryOf(e->d_name, name))
            ::unlinkat(::dirfd(d), e->d_name, 0);
    }
    ::closedir(d);
}

DirectoryLock::DirectoryLock(const std::string& directory) {
    fd_ = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    int r;
    while ((r = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (r != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

DirectoryLock::~DirectoryLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing the last descriptor releases the lock
}

std::string parentDirectory(const std::string& path) {
    return parentOf(path);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool makeDirectories(const std::string& path) {
    if (path.empty())
        return false;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t slash = path.find('/', pos);
        if (slash == std::string::npos)
            slash = path.size();
        const std::string partial = path.substr(0, slash);
        pos = slash + 1;
        if (partial.empty())
            continue;
        if (::mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool moveFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
    if (errno != EXDEV)
        return false;
    // Another file system: copy into place atomically, then drop the original.
    auto bytes = readWholeFile(from);
    return bytes && replaceFile(to, *bytes) && removeFile(from);
}

std::string executableDirectory() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return currentDirectory();
    return parentOf(std::string(buf, static_cast<std::size_t>(n)));
}

std::string environment(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

bool changeDirectory(const std::string& path) {
    return ::chdir(path.c_str()) == 0;
}

std::string currentDirectory() {
    char buf[PATH_MAX];
    if (::getcwd(buf, sizeof buf) == nullptr)
        return ".";
    return buf;
}

} // namespace quorvane::platform
