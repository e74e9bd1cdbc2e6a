// The registry reader of the product survey: textual root names, one-letter
// types and status codes, over a back end per platform.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sysreport {

enum class RegistryRoot { CurrentUser, LocalMachine, Users, CurrentConfig, DynData, ClassesRoot };

// Registry data types as the platform numbers them.
enum RegistryType : std::uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiSz = 7,
    kRegQword = 11,
};

// Platform status codes the reader relies on.
inline constexpr std::int32_t kStatusSuccess = 0;
inline constexpr std::int32_t kStatusNotFound = 2;
inline constexpr std::int32_t kStatusMoreData = 234;
inline constexpr std::int32_t kStatusUnknownRoot = 99;

// One value as stored: its type and raw data (text types in UTF-16LE, with the
// terminating NUL when the writer stored one).
struct RawRegistryValue {
    std::int32_t status = kStatusNotFound;
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
};

// Platform registry: Windows' own, or the text files of a Wine prefix.
class RegistryBackend {
  public:
    virtual ~RegistryBackend() = default;
    // 0 when the key can be opened for reading, else the platform's error code.
    virtual std::int32_t openKey(RegistryRoot root, std::string_view key) = 0;
    // The value of an existing key; status 2 when the key or value is missing.
    virtual RawRegistryValue readValue(RegistryRoot root, std::string_view key,
                                       std::string_view valueName) = 0;
    // Takes in what changed since the last report (a prefix filled meanwhile, a
    // product installed); a live registry has nothing to do.
    virtual void refresh() {}
    // Which registry is read, for the report: "" for the system's own registry.
    virtual std::string sourceDescription() const { return {}; }
};

// Result variant of a read: text, 32-bit integer or truth value.
using RegValue = std::variant<std::string, std::int32_t, bool>;

// Text of a variant: text as it is, integers in plain decimal, "True"/"False".
std::string regValueText(const RegValue& value);

// Parses "HKCU", "hklm", ... (without regard to case).
bool parseRegistryRoot(std::string_view name, RegistryRoot& root);

// Reads initialisation files for names that are not registry roots.
class IniFileReader {
  public:
    virtual ~IniFileReader() = default;
    virtual bool fileExists(const std::string& path) = 0;
    // The entry's text; false when the section or the entry is missing.
    virtual bool readEntry(const std::string& path, std::string_view section,
                           std::string_view entry, std::string& text) = 0;
};

// Plain-file initialisation reader ("[section]" and "entry=value" lines).
std::unique_ptr<IniFileReader> makeIniFileReader();

// QueryRegistry: type letters "S" (text), "D" (32-bit integer), "B" (16-bit truth
// value); any other letter only opens the key. Returns 0, the platform's error
// code, or 99 for a root that is neither a registry root nor an existing file.
class RegistryReader {
  public:
    RegistryReader(RegistryBackend& backend, IniFileReader& ini);

    std::int32_t query(std::string_view rootName, std::string_view key, std::string_view valueName,
                       std::string_view typeLetter, const RegValue& defaultValue, RegValue& value);

    // Status of opening the key alone (0 means it exists).
    std::int32_t existenceTest(std::string_view rootName, std::string_view key);

    // The text of a value, "" when missing.
    std::string text(std::string_view rootName, std::string_view key, std::string_view valueName);

    // Starts a new survey: every report reads the registry as it is now.
    void refresh() { backend_.refresh(); }
    std::string sourceDescription() const { return backend_.sourceDescription(); }

  private:
    std::int32_t queryIniFile(const std::string& path, std::string_view section,
                              std::string_view entry, std::string_view typeLetter,
                              const RegValue& defaultValue, RegValue& value);

    RegistryBackend& backend_;
    IniFileReader& ini_;
};

// The back end of this platform (Windows' registry, or Wine's files on Linux).
std::unique_ptr<RegistryBackend> makePlatformRegistry();

}  // namespace sysreport
