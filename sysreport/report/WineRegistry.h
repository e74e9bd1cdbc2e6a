// The registry of a Wine prefix, read from its text files: system.reg holds the
// local machine, user.reg the current user.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "Registry.h"

namespace sysreport {

// The keys and values of one registry file. Names are kept in lower case for
// look-ups without regard to case.
class WineRegistryFile {
  public:
    // Parses the text of a file; lines it cannot read are passed over.
    static WineRegistryFile parse(std::string_view text);
    // Reads a file; a missing file, or anything but a regular file (a FIFO or a
    // device would block the read), gives an empty registry.
    static WineRegistryFile load(const std::string& path);

    // A key exists when it or any key below it is listed.
    bool hasKey(std::string_view key) const;
    // The value of a listed key; status 2 when missing.
    RawRegistryValue value(std::string_view key, std::string_view valueName) const;

    // Every listed key (parents included) and the values of each, names in lower case.
    const std::set<std::string>& keys() const { return keys_; }
    const std::map<std::string, std::map<std::string, RawRegistryValue>>& values() const {
        return values_;
    }

  private:
    std::set<std::string> keys_;  // every listed key and all its parents
    std::map<std::string, std::map<std::string, RawRegistryValue>> values_;
};

// Normalised key path: lower case, without empty components ("A\\B\\" -> "a\\b").
std::string normalisedKeyPath(std::string_view key);

// The text of a quoted Wine string with its escapes resolved, up to the closing
// quote; `end` receives the position after the closing quote.
std::u16string unescapeWineString(std::string_view text, std::size_t start, char closing,
                                  std::size_t& end);

// Back end over a prefix folder; an empty or missing folder means no keys at all.
// The files are read again on every refresh.
class WineRegistryBackend : public RegistryBackend {
  public:
    explicit WineRegistryBackend(std::string prefixFolder);
    WineRegistryBackend(WineRegistryFile machine, WineRegistryFile user);

    std::int32_t openKey(RegistryRoot root, std::string_view key) override;
    RawRegistryValue readValue(RegistryRoot root, std::string_view key,
                               std::string_view valueName) override;
    void refresh() override;
    // "Wine prefix <folder>", or that none was found there.
    std::string sourceDescription() const override;

  private:
    const WineRegistryFile* fileFor(RegistryRoot root, std::string& key) const;

    std::string prefixFolder_;
    bool prefixFound_ = false;
    WineRegistryFile machine_;
    WineRegistryFile user_;
};

// $WINEPREFIX, else ~/.wine.
std::string defaultWinePrefix();

}  // namespace sysreport
