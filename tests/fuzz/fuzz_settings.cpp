// Arbitrary bytes as the contents of an INI file: every read must stay inside the text, the
// index gives what the line walk gives, and writing a key must read back as written whatever
// surrounds it.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "infra/codepage.h"
#include "infra/ini_text.h"
#include "infra/settings.h"

using namespace quorvane;

namespace {

const std::string& scratchHome() {
    // Never destroyed, so that the exit handler can still read it.
    static const std::string* dir = [] {
        auto p = std::filesystem::temp_directory_path() /
                 ("quorvane-fuzz-settings-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(*dir, ec);
        });
        return new std::string(p.string());
    }();
    return *dir;
}

// A name taken from the input: the text of its first line, when it is a name the settings
// functions could be given (GBK that converts both ways).
std::string nameFromInput(std::string_view text, std::size_t skipLines) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < skipLines && pos < text.size(); ++i) {
        std::size_t nl = text.find('\n', pos);
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
    }
    std::size_t nl = text.find('\n', pos);
    std::string_view line =
        text.substr(pos, (nl == std::string_view::npos ? text.size() : nl) - pos);
    if (!line.empty() && (line.front() == '['))
        line.remove_prefix(1);
    if (!line.empty() && (line.back() == ']'))
        line.remove_suffix(1);
    line = line.substr(0, 32);
    std::string name(line);
    return toGbk(fromGbk(name)) == name ? name : std::string("k");
}

void checkRoundTrip(std::string_view text, const std::string& section, const std::string& key) {
    if (!ini::validEntry(section, key, "v1"))
        return;
    std::string edited = ini::setValue(text, section, key, "v1");
    auto value = ini::findValue(edited, section, key);
    if (!value || *value != "v1")
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::string names[][2] = {
        {"net", "common-dev-admin-port"},
        {"common", "title"},
        {"db", "xstr"},
        {nameFromInput(text, 0), nameFromInput(text, 1)},
        {nameFromInput(text, 1), nameFromInput(text, 2)},
    };
    // The index that reads use finds what the line walk finds, for every name.
    const ini::Index index{std::string(text)};
    for (const auto& n : names) {
        if (index.find(n[0], n[1]) != ini::findValue(text, n[0], n[1]))
            std::abort();
        checkRoundTrip(text, n[0], n[1]);
    }

    const std::string& home = scratchHome();
    {
        std::ofstream out(home + "/config.ini", std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    Settings settings(home);
    for (const auto& n : names) {
        std::string s = fromGbk(n[0]), k = fromGbk(n[1]);
        settings.readInt(s, k, 7);
        settings.readString(s, k, "default", 5);
        settings.readString(s, k, {}, 1024);
        settings.readList(s, k);
    }
    return 0;
}
