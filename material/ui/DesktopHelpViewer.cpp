#include "DesktopHelpViewer.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace material {

namespace {

bool isFile(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

DesktopHelpViewer::DesktopHelpViewer(std::string bookPage, Opener open, Teller tell)
    : bookPage_(std::move(bookPage)), open_(std::move(open)), tell_(std::move(tell)) {}

void DesktopHelpViewer::displayHelpFile(const std::string& path) {
    // The book first; the compiled file only stands in when there is no book.
    const std::string file = !isFile(bookPage_) && isFile(path) ? path : bookPage_;
    if (!isFile(file)) {
        tell_("The help is not installed. The program looks for it in:\n" + bookPage_);
        return;
    }
    if (!open_ || !open_(file)) {
        tell_("The help could not be opened. You will find it in:\n" + file);
    }
}

std::string DesktopHelpViewer::bookPageFor(const std::string& programFolder) {
    const std::filesystem::path page = std::filesystem::path(programFolder) / ".." / "share" /
                                       "korvex-tools" / "help" / "material" / "index.html";
    return page.lexically_normal().string();
}

}  // namespace material
