// Where the browser looks for its help file. Pure functions, no platform calls, so
// that both rules can be checked on every system.
#pragma once

#include <string>
#include <string_view>

namespace material {

// Which separator a path is built with.
enum class PathStyle { Windows, Posix };

// The separator style of the system the program runs on.
PathStyle nativePathStyle();

// The help file found from the program's own folder, as the toolbar's "help" button and the
// library window's Help Topics use it: the folder (one trailing separator dropped) loses its
// last 10 characters and gets "\help\Material.chm" ("/help/Material.chm" for Posix). A
// folder of fewer than 10 characters is kept whole. The folder is UTF-8 and counted in
// characters, not bytes.
std::string folderHelpPath(std::string_view programFolder, PathStyle style = nativePathStyle());

// The help file found from the "korvexm" installation variable, as the frame's Help Topics
// uses it: the value as it stands followed by "\help\Material.chm" ("/help/Material.chm").
// An empty or missing value gives the bare suffix.
std::string installationHelpPath(std::string_view korvexmValue,
                                 PathStyle style = nativePathStyle());

// Name of the environment variable that holds the suite's installation folder.
inline constexpr const char* kInstallationVariable = "korvexm";

}  // namespace material
