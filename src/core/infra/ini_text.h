#pragma once
// The text of one INI file as the profile functions see it, on the raw GBK bytes so that an
// edit keeps every byte it does not touch. Sections and keys compare without regard to the
// case of single-byte letters; only the first section of a name counts, and in it the first
// key of a name. A line ends at "\n"; white space around names and values is not part of
// them; a line starting with ';' is a comment.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quorvane::ini {

// The value of key in section, or nothing when either is missing. Surrounding quotes are kept.
std::optional<std::string_view> findValue(std::string_view text, std::string_view section,
                                          std::string_view key);

// A text with its sections found in one pass, so that reading many keys of a large file costs
// one walk of it plus the lines of the key's own section, not a walk of the file per key. find
// gives exactly what findValue gives.
class Index {
  public:
    explicit Index(std::string text);
    std::optional<std::string_view> find(std::string_view section, std::string_view key) const;
    const std::string& text() const { return text_; }

  private:
    struct Range {
        std::size_t begin, end; // the body: the lines after the header up to the next section
    };
    std::string text_;
    // The first section of each (folded) name; later ones of the same name do not count.
    std::unordered_map<std::string, Range> sections_;
};

// The text with key set to value: an existing key line is rewritten in place; a new key goes
// after the last key of its section (before blank lines and comments that follow it); a new
// section goes at the end. Names and value must not hold line breaks (see validEntry).
std::string setValue(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value);

// False for names and values that would not read back as written, or would add lines of their
// own: empty names, names with surrounding blanks, line breaks or NUL anywhere, '=' in a key,
// a key starting with ';' or '['.
bool validEntry(std::string_view section, std::string_view key, std::string_view value);

} // namespace quorvane::ini
