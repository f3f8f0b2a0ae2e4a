#include "infra/ini_text.h"

#include <cstddef>
#include <vector>

namespace quorvane::ini {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool isLeadByte(char c) {
    return static_cast<unsigned char>(c) >= 0x81;
}

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case-insensitive for single-byte letters only: the second byte of a double-byte character
// may fall in the letter range and must compare exactly.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isLeadByte(a[i])) {
            if (a[i] != b[i])
                return false;
            if (i + 1 < a.size()) {
                ++i;
                if (a[i] != b[i])
                    return false;
            }
        } else if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The form in which two names compare equal exactly when sameName says so: single-byte letters
// in lower case, double-byte characters as they are.
std::string foldName(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (isLeadByte(out[i]))
            ++i;
        else
            out[i] = foldAscii(out[i]);
    }
    return out;
}

// The last ']' that is a character of its own, not the second byte of a GBK pair.
std::size_t lastCloseBracket(std::string_view s) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (isLeadByte(s[i])) {
            ++i;
        } else if (s[i] == ']') {
            found = i;
        }
    }
    return found;
}

enum class Kind { Blank, Comment, Section, Key };

struct Line {
    std::size_t begin = 0;      // first byte of the line
    std::size_t contentEnd = 0; // before "\r\n" or "\n"
    std::size_t next = 0;       // first byte of the following line
    bool terminated = false;    // ends with "\n" (the last line of a file may not)
    Kind kind = Kind::Blank;
    std::string_view name;  // section or key name
    std::string_view value; // key value
};

// The line that starts at pos (pos < text.size()).
Line readLine(std::string_view text, std::size_t pos) {
    Line line;
    line.begin = pos;
    std::size_t nl = text.find('\n', pos);
    line.next = nl == std::string_view::npos ? text.size() : nl + 1;
    line.contentEnd = nl == std::string_view::npos ? text.size() : nl;
    line.terminated = nl != std::string_view::npos;
    if (line.contentEnd > pos && text[line.contentEnd - 1] == '\r')
        --line.contentEnd;
    std::string_view t = trim(text.substr(pos, line.contentEnd - pos));
    std::size_t close = t.empty() || t[0] != '[' ? std::string_view::npos : lastCloseBracket(t);
    if (t.empty()) {
        line.kind = Kind::Blank;
    } else if (t[0] == ';') {
        line.kind = Kind::Comment;
    } else if (close != std::string_view::npos) {
        line.kind = Kind::Section;
        line.name = trim(t.substr(1, close - 1));
    } else {
        line.kind = Kind::Key;
        std::size_t eq = t.find('=');
        line.name = trim(t.substr(0, eq));
        line.value = eq == std::string_view::npos ? std::string_view() : trim(t.substr(eq + 1));
    }
    return line;
}

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    for (std::size_t pos = 0; pos < text.size();) {
        lines.push_back(readLine(text, pos));
        pos = lines.back().next;
    }
    return lines;
}

struct Place {
    std::size_t section = std::string_view::npos;   // index of the section line
    std::size_t key = std::string_view::npos;       // index of the key line
    std::size_t lastEntry = std::string_view::npos; // last key line of the section, or its header
};

Place locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Place place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        if (place.section == std::string_view::npos) {
            if (l.kind == Kind::Section && sameName(l.name, section)) {
                place.section = i;
                place.lastEntry = i;
            }
            continue;
        }
        if (l.kind == Kind::Section)
            break;
        if (l.kind != Kind::Key)
            continue;
        place.lastEntry = i;
        if (sameName(l.name, key)) {
            place.key = i;
            break;
        }
    }
    return place;
}

std::string_view lineEnd(std::string_view text) {
    std::size_t nl = text.find('\n');
    if (nl != std::string_view::npos && (nl == 0 || text[nl - 1] != '\r'))
        return "\n";
    return "\r\n";
}

} // namespace

std::optional<std::string_view> findValue(std::string_view text, std::string_view section,
                                          std::string_view key) {
    auto lines = splitLines(text);
    Place place = locate(lines, section, key);
    if (place.key == std::string_view::npos)
        return std::nullopt;
    return lines[place.key].value;
}

Index::Index(std::string text) : text_(std::move(text)) {
    const std::string_view all = text_;
    Range* current = nullptr; // the body being read, when its section is the first of its name
    for (std::size_t pos = 0; pos < all.size();) {
        Line l = readLine(all, pos);
        if (l.kind == Kind::Section) {
            if (current)
                current->end = pos;
            auto [it, first] = sections_.emplace(foldName(l.name), Range{l.next, all.size()});
            current = first ? &it->second : nullptr;
        }
        pos = l.next;
    }
}

std::optional<std::string_view> Index::find(std::string_view section, std::string_view key) const {
    auto it = sections_.find(foldName(section));
    if (it == sections_.end())
        return std::nullopt;
    // Only the section's own lines are read: a large file costs nothing for the keys of
    // other sections.
    const std::string_view all = text_;
    for (std::size_t pos = it->second.begin; pos < it->second.end;) {
        Line l = readLine(all, pos);
        if (l.kind == Kind::Key && sameName(l.name, key))
            return l.value;
        pos = l.next;
    }
    return std::nullopt;
}

std::string setValue(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value) {
    auto lines = splitLines(text);
    Place place = locate(lines, section, key);
    const std::string_view eol = lineEnd(text);
    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 8);

    if (place.key != std::string_view::npos) {
        const Line& l = lines[place.key];
        out.append(text.substr(0, l.begin));
        out.append(l.name).append("=").append(value);
        out.append(text.substr(l.contentEnd));
        return out;
    }
    if (place.section != std::string_view::npos) {
        const Line& l = lines[place.lastEntry];
        out.append(text.substr(0, l.next));
        if (!l.terminated)
            out.append(eol);
        out.append(key).append("=").append(value).append(eol);
        out.append(text.substr(l.next));
        return out;
    }
    out.append(text);
    if (!text.empty() && text.back() != '\n')
        out.append(eol);
    out.append("[").append(section).append("]").append(eol);
    out.append(key).append("=").append(value).append(eol);
    return out;
}

bool validEntry(std::string_view section, std::string_view key, std::string_view value) {
    auto hasBreak = [](std::string_view s) {
        return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
    };
    if (section.empty() || key.empty())
        return false;
    if (trim(section).size() != section.size() || trim(key).size() != key.size())
        return false;
    if (hasBreak(section) || hasBreak(key) || hasBreak(value))
        return false;
    if (key.find('=') != std::string_view::npos)
        return false;
    return key.front() != ';' && key.front() != '[';
}

} // namespace quorvane::ini
