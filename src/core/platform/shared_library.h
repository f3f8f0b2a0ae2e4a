#pragma once
// A dynamic library loaded from one exact file and unloaded when the object goes. Only a path
// that names a file is loaded: the system's library search path is never consulted, so a
// library of the same name elsewhere on the machine is not picked up in its place.
#include <string>

namespace quorvane::platform {

class SharedLibrary {
  public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Loads the file at path, which must hold a '/' (an absolute path or one relative to the
    // current directory). False with error() saying why when it cannot be loaded.
    bool open(const std::string& path);
    // The address of an exported symbol, or nullptr with error() saying which was missing.
    void* symbol(const char* name);
    // Unloads the library; addresses taken from it are invalid afterwards.
    void close();

    bool isOpen() const { return handle_ != nullptr; }
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }

  private:
    void* handle_ = nullptr;
    std::string path_;
    std::string error_;
};

} // namespace quorvane::platform
