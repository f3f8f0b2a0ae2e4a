#pragma once
// File-system calls. Whole files are replaced atomically: written to a temporary file in the
// same directory, flushed, and renamed over the old one.
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::platform {

bool replaceFile(const std::string& path, std::string_view bytes);
std::optional<std::string> readWholeFile(const std::string& path);
bool fileExists(const std::string& path);
bool makeDirectories(const std::string& path);
bool removeFile(const std::string& path);
std::string executableDirectory();
std::string environment(const char* name);
bool changeDirectory(const std::string& path);
std::string currentDirectory();

// A file that grows line by line (a daily log): opened for appending, created when missing;
// each write goes to the file at once, so a crash keeps every line written before it.
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

} // namespace quorvane::platform
