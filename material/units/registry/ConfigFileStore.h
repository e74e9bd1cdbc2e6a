#pragma once
// Settings kept in plain files: one folder per program, one file per key.
//
// A key file is text with LF line ends. Its first line is "KTSETTINGS 1"; every further
// line holds one value as
//     <type> <data> <value name>
// where <type> is the decimal type number (1 text, 3 binary), <data> the value's bytes as
// lower-case hex pairs ("-" when there are none) and the value name runs to the end of
// the line. A file that breaks this format reads as a key without values. Every change
// rewrites the whole file through a temporary file and a rename, so a reader never sees
// a half-written key.

#include <filesystem>
#include <optional>

#include "SettingsStore.h"

namespace material {

class ConfigFileStore : public SettingsStore {
  public:
    // Keys become files directly inside `folder`, which is created on the first write.
    explicit ConfigFileStore(std::filesystem::path folder);

    std::unique_ptr<SettingsKey> openKey(const std::string& keyName) override;
    std::unique_ptr<SettingsKey> createKey(const std::string& keyName) override;

  private:
    std::optional<std::filesystem::path> keyFile(const std::string& keyName) const;

    std::filesystem::path folder_;
};

// The browser's settings folder: "korvex-material" inside $XDG_CONFIG_HOME (when it is an
// absolute path) or else inside $HOME/.config; nothing when neither is known.
std::optional<std::filesystem::path> userSettingsFolder();

}  // namespace material
