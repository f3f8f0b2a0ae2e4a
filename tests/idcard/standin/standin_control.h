#pragma once
// What the stand-in reader libraries share: the folder they were loaded from, the control file
// a test writes there ("sdt-standin.txt", key=value lines) and the call log they append to
// ("sdt-calls.log", one line per call), so that a test can read back what the tool called.
#include <dlfcn.h>

#include <fstream>
#include <optional>
#include <string>

namespace standin {
// Internal to each library: two stand-ins loaded at once keep their own folders and state.
namespace {

// A file in the folder the library was loaded from.
std::string file(const std::string& name) {
    Dl_info info{};
    ::dladdr(reinterpret_cast<void*>(&file), &info);
    const std::string path = info.dli_fname != nullptr ? info.dli_fname : "";
    return path.substr(0, path.find_last_of('/') + 1) + name;
}

// Not every stand-in reads files or numbers from its control file.
[[maybe_unused]] std::string bytesOf(const std::string& name) {
    std::ifstream in(file(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<std::string> value(const std::string& key) {
    std::ifstream in(file("sdt-standin.txt"));
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    return std::nullopt;
}

[[maybe_unused]] long number(const std::string& key, long otherwise) {
    auto v = value(key);
    return v && !v->empty() ? std::stol(*v, nullptr, 0) : otherwise;
}

void log(const std::string& line) {
    std::ofstream(file("sdt-calls.log"), std::ios::app) << line << '\n';
}

// Loading and unloading show in the call log too, so a test sees that nothing was loaded, or
// that a library was let go.
struct LifeLog {
    explicit LifeLog(std::string name) : name_(std::move(name)) { log("load " + name_); }
    ~LifeLog() { log("unload " + name_); }
    std::string name_;
};

} // namespace
} // namespace standin
