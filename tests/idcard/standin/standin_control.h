#pragma once
// What the stand-in reader libraries share: the folder they were loaded from, the control file
// a test writes there ("sdt-standin.txt", key=value lines) and the call log they append to
// ("sdt-calls.log", one line per call), so that a test can read back what the tool called.
#include <dlfcn.h>

#include <fstream>
#include <map>
#include <string>

namespace standin {
// Internal to each library: two stand-ins loaded at once keep their own folders and state.
namespace {

std::string ownFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&ownFolder), &info) == 0 || info.dli_fname == nullptr)
        return ".";
    std::string path = info.dli_fname;
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::map<std::string, std::string> control() {
    std::map<std::string, std::string> values;
    std::ifstream in(ownFolder() + "/sdt-standin.txt");
    std::string line;
    while (std::getline(in, line)) {
        auto eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

long number(const std::map<std::string, std::string>& c, const std::string& key, long def) {
    auto it = c.find(key);
    return it == c.end() || it->second.empty() ? def : std::stol(it->second, nullptr, 0);
}

[[maybe_unused]] std::string bytesOf(const std::string& name) {
    std::ifstream in(ownFolder() + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void log(const std::string& line) {
    std::ofstream(ownFolder() + "/sdt-calls.log", std::ios::app) << line << '\n';
}

// Loading and unloading show in the call log too, so a test sees that nothing was loaded, or
// that a library was let go.
struct LifeLog {
    explicit LifeLog(const char* name) : name_(name) { log(std::string("load ") + name_); }
    ~LifeLog() { log(std::string("unload ") + name_); }
    const char* name_;
};

} // namespace
} // namespace standin
