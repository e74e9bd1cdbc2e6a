#include "CommandLine.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <set>
#include <system_error>

#include "CleanDocument.h"
#include "PurgeDocument.h"
#include "Storage.h"

namespace spcli {
namespace {

namespace fs = std::filesystem;

constexpr char kUsage[] =
    "usage: studypurge [--all | --products LIST] [--dry-run] [--compact] [--recursive] [--json] "
    "PATH...\n";

constexpr char kHelp[] =
    "Removes the stored data of analysis products from PLANDRY documents.\n"
    "\n"
    "  --all             remove the data of all five products\n"
    "  --products LIST   a comma-separated choice of simulation, quiklet, motion,\n"
    "                    flow, sustainability\n"
    "  --dry-run         open read-only and report what would be removed\n"
    "  --compact         rewrite each cleaned document without its freed space\n"
    "  --recursive       search folders in their sub-folders too\n"
    "  --json            one JSON object per document instead of text lines\n"
    "  --help            show this text\n"
    "  --version         show the version\n"
    "\n"
    "A PATH that is a folder is searched for *.pldprt and *.pldasm files.\n"
    "Exit code: 0 when every document was cleaned or had nothing to remove, 1 when any\n"
    "was refused, 2 for a usage error.\n";

constexpr char kVersion[] = "studypurge version 2012, korvex-tools " KT_VERSION "\n";

// Options of the toolkit that take a value in the next argument.
const std::set<std::string> kToolkitOptionsWithValue = {
    "-platform",        "-style",        "-stylesheet",  "-display",
    "-qwindowgeometry", "-qwindowtitle", "-qwindowicon", "-geometry",
    "-session",         "-name",         "-title",       "-platformpluginpath",
    "-platformtheme"};

bool setProduct(const std::string& name, purge::ProductSelection& s) {
    if (name == "simulation") {
        s.simulation = true;
    } else if (name == "quiklet") {
        s.simulationQuiklet = true;
    } else if (name == "motion") {
        s.motion = true;
    } else if (name == "flow") {
        s.flow = true;
    } else if (name == "sustainability") {
        s.sustainability = true;
    } else {
        return false;
    }
    return true;
}

bool parseProducts(const std::string& list, purge::ProductSelection& s, std::string& error) {
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = list.find(',', from);
        const std::string name = list.substr(from, comma - from);
        if (!setProduct(name, s)) {
            error = name.empty() ? "--products: an empty product name in \"" + list + "\""
                                 : "--products: unknown product \"" + name +
                                       "\" (simulation, quiklet, motion, flow, sustainability)";
            return false;
        }
        if (comma == std::string::npos) {
            return true;
        }
        from = comma + 1;
    }
}

bool parseOption(const std::vector<std::string>& args, std::size_t& i, Options& o,
                 std::string& error) {
    const std::string& arg = args[i];
    if (arg == "--all") {
        o.products = {true, true, true, true, true};
    } else if (arg == "--dry-run") {
        o.dryRun = true;
    } else if (arg == "--compact") {
        o.compact = true;
    } else if (arg == "--recursive") {
        o.recursive = true;
    } else if (arg == "--json") {
        o.json = true;
    } else if (arg == "--help") {
        o.help = true;
    } else if (arg == "--version") {
        o.version = true;
    } else if (arg == "--products" || arg.rfind("--products=", 0) == 0) {
        std::string list;
        if (arg == "--products") {
            if (i + 1 >= args.size()) {
                error = "--products needs a list of products";
                return false;
            }
            list = args[++i];
        } else {
            list = arg.substr(std::string("--products=").size());
        }
        return parseProducts(list, o.products, error);
    } else {
        error = "unknown option " + arg;
        return false;
    }
    return true;
}

bool anyProduct(const purge::ProductSelection& s) {
    return s.simulation || s.simulationQuiklet || s.flow || s.motion || s.sustainability;
}

fs::path toPath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string toUtf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool isDocumentName(const fs::path& path) {
    std::string extension = toUtf8(path.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return extension == ".pldprt" || extension == ".pldasm";
}

template <typename Iterator>
void collect(Iterator it, std::vector<std::string>& found) {
    std::error_code error;
    for (; it != Iterator(); it.increment(error)) {
        if (error) {
            break;
        }
        std::error_code ignored;
        if (it->is_regular_file(ignored) && isDocumentName(it->path())) {
            found.push_back(toUtf8(it->path()));
        }
    }
}

// JSON string with quotes; text that is no valid UTF-8 is mended first.
std::string jsonString(const std::string& text) {
    const std::string valid = purge::Utf16ToUtf8(purge::Utf8ToUtf16(text));
    std::string out = "\"";
    for (const char c : valid) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static const char digits[] = "0123456789abcdef";
            out += "\\u00";
            out += digits[u >> 4];
            out += digits[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

const char* outcomeName(purge::CleanOutcome outcome) {
    switch (outcome) {
        case purge::CleanOutcome::Cleaned:
            return "cleaned";
        case purge::CleanOutcome::Unchanged:
            return "unchanged";
        case purge::CleanOutcome::Refused:
            return "refused";
        case purge::CleanOutcome::Failed:
            break;
    }
    return "failed";
}

std::string itemList(const purge::CleanResult& r) {
    std::string out;
    for (const auto& item : r.removed) {
        out += (out.empty() ? "" : ", ") + item.path;
    }
    return out;
}

std::string textLine(const std::string& path, const purge::CleanResult& r, bool dryRun) {
    const std::string freed = std::to_string(r.bytesFreed) + " bytes";
    switch (r.outcome) {
        case purge::CleanOutcome::Cleaned: {
            if (dryRun) {
                return path + ": would remove " + itemList(r) + "; " + freed + " would be freed";
            }
            std::string line = path + ": cleaned: removed " + itemList(r) + "; " + freed + " freed";
            if (r.compacted) {
                line += "; compacted from " + std::to_string(r.sizeBefore) + " to " +
                        std::to_string(r.sizeAfter) + " bytes";
            }
            return line;
        }
        case purge::CleanOutcome::Unchanged:
            return path + ": unchanged: nothing to remove";
        case purge::CleanOutcome::Refused:
        case purge::CleanOutcome::Failed:
            break;
    }
    std::string line = path + ": " + outcomeName(r.outcome) + ": " + r.reason;
    if (!r.removed.empty()) {
        line += " (removed " + itemList(r) + ")";
    }
    return line;
}

std::string jsonLine(const std::string& path, const purge::CleanResult& r, bool dryRun) {
    std::string items;
    for (const auto& item : r.removed) {
        items += std::string(items.empty() ? "" : ",") + "{\"item\":" + jsonString(item.path) +
                 ",\"bytes\":" + std::to_string(item.bytes) + "}";
    }
    std::string line = "{\"path\":" + jsonString(path) + ",\"outcome\":\"" +
                       outcomeName(r.outcome) + "\",\"dryRun\":" + (dryRun ? "true" : "false") +
                       ",\"removed\":[" + items +
                       "],\"bytesFreed\":" + std::to_string(r.bytesFreed);
    if (!r.reason.empty()) {
        line += ",\"reason\":" + jsonString(r.reason);
    }
    if (r.compacted) {
        line += ",\"sizeBefore\":" + std::to_string(r.sizeBefore) +
                ",\"sizeAfter\":" + std::to_string(r.sizeAfter);
    }
    return line + "}";
}

struct Totals {
    int cleaned = 0;
    int unchanged = 0;
    int refused = 0;
    std::uint64_t bytesFreed = 0;

    void add(const purge::CleanResult& r) {
        bytesFreed += r.bytesFreed;
        if (r.outcome == purge::CleanOutcome::Cleaned) {
            ++cleaned;
        } else if (r.outcome == purge::CleanOutcome::Unchanged) {
            ++unchanged;
        } else {
            ++refused;
        }
    }
    std::string text(bool dryRun) const {
        return std::string(dryRun ? "would clean " : "cleaned ") + std::to_string(cleaned) +
               ", unchanged " + std::to_string(unchanged) + ", refused " + std::to_string(refused) +
               "; " + std::to_string(bytesFreed) +
               (dryRun ? " bytes would be freed" : " bytes freed");
    }
    std::string json(bool dryRun) const {
        return "{\"summary\":{\"dryRun\":" + std::string(dryRun ? "true" : "false") +
               ",\"cleaned\":" + std::to_string(cleaned) +
               ",\"unchanged\":" + std::to_string(unchanged) +
               ",\"refused\":" + std::to_string(refused) +
               ",\"bytesFreed\":" + std::to_string(bytesFreed) + "}}";
    }
};

}  // namespace

Launch classifyArguments(const std::vector<std::string>& args) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) == 0) {
            return {LaunchKind::CommandLine, {}};
        }
        if (arg.size() > 1 && arg[0] == '-') {
            i += kToolkitOptionsWithValue.count(arg);  // the toolkit's own
            continue;
        }
        paths.push_back(arg);
    }
    if (paths.empty()) {
        return {LaunchKind::Dialog, {}};
    }
    if (paths.size() == 1) {
        return {LaunchKind::DialogWithPath, paths.front()};
    }
    return {LaunchKind::CommandLine, {}};
}

bool parseArguments(const std::vector<std::string>& args, Options& o, std::string& error) {
    bool all = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg == "--") {
            if (arg != "--") {
                o.paths.push_back(arg);
            } else {
                o.paths.insert(o.paths.end(), args.begin() + static_cast<long>(i) + 1, args.end());
                break;
            }
            continue;
        }
        all = all || arg == "--all";
        o.productsGiven = o.productsGiven || arg.rfind("--products", 0) == 0;
        if (!parseOption(args, i, o, error)) {
            return false;
        }
    }
    if (o.help || o.version) {
        return true;
    }
    if (all && o.productsGiven) {
        error = "--all and --products exclude each other";
    } else if (!anyProduct(o.products)) {
        error = "choose the products: --all or --products LIST";
    } else if (o.paths.empty()) {
        error = "name at least one document or folder";
    } else if (o.dryRun && o.compact) {
        error = "--dry-run changes nothing, so it cannot --compact";
    }
    return error.empty();
}

std::vector<std::string> documentsAt(const std::string& path, bool recursive) {
    std::error_code error;
    const fs::path at = toPath(path);
    if (!fs::is_directory(at, error)) {
        return {path};
    }
    std::vector<std::string> found;
    const auto options = fs::directory_options::skip_permission_denied;
    if (recursive) {
        collect(fs::recursive_directory_iterator(at, options, error), found);
    } else {
        collect(fs::directory_iterator(at, options, error), found);
    }
    std::sort(found.begin(), found.end());
    return found;
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   purge::StorageSystem& storage) {
    Options options;
    std::string error;
    if (!parseArguments(args, options, error)) {
        err << "studypurge: " << error << "\n" << kUsage;
        return kExitUsage;
    }
    if (options.help) {
        out << kUsage << "\n" << kHelp;
        return kExitDone;
    }
    if (options.version) {
        out << kVersion;
        return kExitDone;
    }
    const purge::CleanOptions clean{options.products, options.dryRun, options.compact};
    std::set<std::string> seen;
    Totals totals;
    for (const std::string& path : options.paths) {
        for (const std::string& document : documentsAt(path, options.recursive)) {
            // One document named twice (a folder and a file in it) is cleaned once.
            if (!seen.insert(toUtf8(toPath(document).lexically_normal())).second) {
                continue;
            }
            const purge::CleanResult result = purge::CleanDocument(document, clean, storage);
            totals.add(result);
            out << (options.json ? jsonLine(document, result, options.dryRun)
                                 : textLine(document, result, options.dryRun))
                << "\n";
            out.flush();
        }
    }
    out << (options.json ? totals.json(options.dryRun) : totals.text(options.dryRun)) << "\n";
    return totals.refused > 0 ? kExitRefused : kExitDone;
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return runCommandLine(args, out, err, purge::platformStorageSystem());
}

}  // namespace spcli
