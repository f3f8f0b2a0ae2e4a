#pragma once
// The text commands and fingerprint templates a controller received, and the reader and door
// settings its text commands gave it.
#include <map>
#include <string>
#include <vector>

namespace quorvane::sim {

struct TextState {
    std::vector<std::string> received;           // GBK, in arrival order
    std::map<std::string, std::string> settings; // dirN, doorN, delayN: the last value of each
    std::vector<std::string> templates;          // hex of each 498-byte template, in order
};

} // namespace quorvane::sim
