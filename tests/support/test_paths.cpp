#include "test_paths.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace quorvane::test {
namespace fs = std::filesystem;

namespace {
struct ScratchRoot {
    fs::path root;
    ScratchRoot() {
        root = fs::temp_directory_path() / ("quorvane-test-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
    }
    ~ScratchRoot() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};
ScratchRoot& scratchRoot() {
    static ScratchRoot r;
    return r;
}
int counter = 0;
} // namespace

std::string binDir() { return QUORVANE_BIN_DIR; }
std::string sourceDir() { return QUORVANE_SOURCE_DIR; }

std::string scratchDir(const std::string& name) {
    auto p = scratchRoot().root / (name + "-" + std::to_string(++counter));
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
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string hex(const std::string& bytes) {
    static const char* d = "0123456789ABCDEF";
    std::string s;
    for (unsigned char c : bytes) {
        if (!s.empty()) s.push_back(' ');
        s.push_back(d[c >> 4]);
        s.push_back(d[c & 15]);
    }
    return s;
}

std::string unhex(const std::string& text) {
    std::string s, digits;
    for (char c : text)
        if (std::isxdigit(static_cast<unsigned char>(c))) digits.push_back(c);
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        s.push_back(static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return s;
}

} // namespace quorvane::test
