#pragma once
// The command line of studypurge: cleans many documents without a window.
//
//   studypurge [--all | --products LIST] [--dry-run] [--compact] [--recursive] [--json] PATH...
//
// Toolkit-free; both front ends call it when their arguments ask for it.

#include <iosfwd>
#include <string>
#include <vector>

#include "PurgeRoutines.h"

namespace purge {
class StorageSystem;
}

namespace spcli {

// Exit codes.
inline constexpr int kExitDone = 0;     // every document cleaned or had nothing to remove
inline constexpr int kExitRefused = 1;  // some document was refused or failed
inline constexpr int kExitUsage = 2;    // the arguments were wrong

// What the program's arguments (without the program's name) ask for.
enum class LaunchKind { Dialog, DialogWithPath, CommandLine };
struct Launch {
    LaunchKind kind = LaunchKind::Dialog;
    std::string path;  // for DialogWithPath
};
// No arguments: the dialog. A single path and no options (as a file manager passes
// it): the dialog with the path filled in. Anything with a "--" option, or more than
// one path: the command line. The toolkit's own single-dash options are left to it.
Launch classifyArguments(const std::vector<std::string>& args);

struct Options {
    purge::ProductSelection products;
    bool productsGiven = false;
    bool dryRun = false;
    bool compact = false;
    bool recursive = false;
    bool json = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> paths;
};
// False with `error` set on a usage error.
bool parseArguments(const std::vector<std::string>& args, Options& options, std::string& error);

// The documents a PATH names: the file itself, or the "*.pldprt" and "*.pldasm" files
// of a folder (names matched without regard to case), in sub-folders too when
// `recursive`, sorted. A PATH that does not exist is returned as it is, to be refused.
std::vector<std::string> documentsAt(const std::string& path, bool recursive);

// Runs the command line; returns the exit code.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   purge::StorageSystem& storage);
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace spcli
