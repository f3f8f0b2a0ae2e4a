#include "test_paths.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace quorvane::test {
namespace fs = std::filesystem;

namespace {
// This process's own scratch root, removed with everything in it when the process ends.
const fs::path& scratchRoot() {
    static const struct Root {
        fs::path path = fs::temp_directory_path() / ("quorvane-test-" + std::to_string(::getpid()));
        Root() {
            fs::remove_all(path);
            fs::create_directories(path);
        }
        ~Root() {
            std::error_code ec;
            fs::remove_all(path, ec);
        }
    } root;
    return root.path;
}
int counter = 0;
} // namespace

std::string binDir() {
    return QUORVANE_BIN_DIR;
}
std::string sourceDir() {
    return QUORVANE_SOURCE_DIR;
}

std::string scratchDir(const std::string& name) {
    auto p = scratchRoot() / (name + "-" + std::to_string(++counter));
    fs::remove_all(p);
    fs::create_directories(p);
    return p.string();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string hex(const std::string& bytes) {
    static const char* d = "0123456789ABCDEF";
    std::string s;
    for (unsigned char c : bytes)
        s += std::string(s.empty() ? "" : " ") + d[c >> 4] + d[c & 15];
    return s;
}

std::string unhex(const std::string& text) {
    std::string s, digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits),
                 [](unsigned char c) { return std::isxdigit(c); });
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        s.push_back(static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return s;
}

} // namespace quorvane::test
