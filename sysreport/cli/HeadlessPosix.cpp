// Running without a window on Linux: whether a display is there, and the screen
// as the kernel describes it.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "CommandLine.h"

namespace sysreport::cli {
namespace {

bool environmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

std::string firstLineOf(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// "1920x1080" or "1920,1080" into width and height.
bool parseSize(const std::string& text, int& width, int& height) {
    const auto separator = text.find_first_of("x,");
    if (separator == std::string::npos) {
        return false;
    }
    width = std::atoi(text.substr(0, separator).c_str());
    height = std::atoi(text.substr(separator + 1).c_str());
    return width > 0 && height > 0;
}

// The preferred mode of the first connected monitor.
bool connectedMonitorSize(int& width, int& height) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/drm", error)) {
        if (firstLineOf(entry.path() / "status") == "connected" &&
            parseSize(firstLineOf(entry.path() / "modes"), width, height)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool displayAvailable() {
    // A platform chosen for Qt (offscreen, vnc, ...) needs no display server.
    return environmentSet("DISPLAY") || environmentSet("WAYLAND_DISPLAY") ||
           environmentSet("QT_QPA_PLATFORM");
}

void attachParentConsole() {}

ScreenFacts screenFactsWithoutWindow() {
    ScreenFacts screen;
    const std::filesystem::path framebuffer = "/sys/class/graphics/fb0";
    if (!connectedMonitorSize(screen.width, screen.height)) {
        parseSize(firstLineOf(framebuffer / "virtual_size"), screen.width, screen.height);
    }
    screen.bitsPerPixel = std::atoi(firstLineOf(framebuffer / "bits_per_pixel").c_str());
    return screen;
}

}  // namespace sysreport::cli
