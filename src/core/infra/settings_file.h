#pragma once
// One settings file as the readers see it: its text indexed once per version on disk, so that
// a key read costs a look-up, not a read and decode of the whole file. A version is re-read
// when the file's stamp changes, and also while the file is so fresh that a replacement within
// the same clock tick could carry an equal stamp.
#include <memory>
#include <optional>
#include <string>

#include "infra/ini_text.h"

namespace quorvane {

struct SettingsFileVersion {
    bool exists = false;
    // Why the file is not usable as it should be ("" when it is): unreadable, or not GBK.
    std::string problem;
    std::shared_ptr<const ini::Index> index; // null when the file could not be read
};

// The current version of the file at path (process-wide, safe from any thread).
SettingsFileVersion settingsFileVersion(const std::string& path);
// Forgets what is known of path; the next read reads it again.
void forgetSettingsFile(const std::string& path);

} // namespace quorvane
