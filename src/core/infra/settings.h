#pragma once
// INI settings with the semantics of the Windows profile functions: sections and keys match
// without regard to case, a missing file or key gives the default, integers read as the
// profile reader does, files are GBK on disk and UTF-8 here, writing a key keeps every other
// line of the file (comments, unknown keys, order) and replaces the file atomically. Reads of
// an unchanged file cost a look-up; writes of one file by several processes never lose a key.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

inline constexpr std::string_view kConfigIni = ".\\config.ini";
inline constexpr std::string_view kStaticIni = ".\\config\\static.ini";
inline constexpr std::string_view kOptionsIni = ".\\options.ini";

class Settings {
public:
    // programDir: the directory relative names resolve against.
    explicit Settings(std::string programDir);

    const std::string& programDir() const { return programDir_; }

    // A name whose second character is ':' (at least three characters) or that starts with
    // '/' is used unchanged; any other name is joined to the program directory. Backslashes
    // become '/'.
    std::string resolve(std::string_view name) const;

    // Leading white space, an optional sign and decimal digits, as the profile reader reads
    // them; a missing key or text without digits gives def.
    int readInt(std::string_view section, std::string_view key, int def,
                std::string_view file = kConfigIni) const;
    // At most bufferSize - 1 bytes of the GBK value, returned as UTF-8.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view def = {}, std::size_t bufferSize = 128,
                           std::string_view file = kConfigIni) const;
    // The value read with a 10240-byte buffer, split at ';', empty items dropped.
    std::vector<std::string> readList(std::string_view section, std::string_view key,
                                      std::string_view file = kConfigIni) const;
    // Writes the value (UTF-8, stored as GBK). On failure prints the failure line on standard
    // output and returns false.
    bool writeString(std::string_view section, std::string_view key, std::string_view value,
                     std::string_view file = kConfigIni) const;
    bool writeInt(std::string_view section, std::string_view key, long long value,
                  std::string_view file = kConfigIni) const;

    // What keeps the file from being read as it should (it exists but cannot be read, or is
    // not GBK text), as a message for the person; nothing when it reads fine or is missing.
    std::optional<std::string> fileProblem(std::string_view file = kConfigIni) const;

  private:
    std::string programDir_;
};

// Values read once at program start and used as defaults by later reads.
struct StartupValues {
    long long logFileMaxSizeMiB = 15360;
    int commonDevAdminPort = 65534;
    int mcastDevAdminPort = 3366;
};
StartupValues readStartupValues(const Settings& settings);

} // namespace quorvane
