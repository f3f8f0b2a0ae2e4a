#include "platform/shared_library.h"

#include <dlfcn.h>
#include <utility>

namespace quorvane::platform {
namespace {

// dlerror() keeps one message per thread; it is read right after the call that failed.
std::string lastLoaderError() {
    const char* text = ::dlerror();
    return text != nullptr ? std::string(text) : std::string("unknown error");
}

} // namespace

SharedLibrary::~SharedLibrary() {
    close();
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_)),
      error_(std::move(other.error_)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
        path_ = std::move(other.path_);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool SharedLibrary::open(const std::string& path) {
    close();
    path_ = path;
    error_.clear();
    // dlopen searches LD_LIBRARY_PATH, the cache and the system folders only for a bare name;
    // a name with a slash is taken as a file.
    if (path.find('/') == std::string::npos) {
        error_ = "not a path to a file: " + path;
        return false;
    }
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        error_ = "cannot load " + path + ": " + lastLoaderError();
        return false;
    }
    return true;
}

void* SharedLibrary::symbol(const char* name) {
    if (handle_ == nullptr) {
        error_ = std::string("no library loaded to take ") + name + " from";
        return nullptr;
    }
    ::dlerror();
    void* address = ::dlsym(handle_, name);
    if (address == nullptr) {
        error_ = std::string("missing function ") + name + " in " + path_;
        return nullptr;
    }
    return address;
}

void SharedLibrary::close() {
    if (handle_ != nullptr)
        ::dlclose(handle_);
    handle_ = nullptr;
}

} // namespace quorvane::platform
