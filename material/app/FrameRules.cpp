#include "app/FrameRules.h"

#include <algorithm>
#include <cmath>

namespace material {

namespace {

constexpr double kTwipsFromScreenEdge = 200.0;
constexpr double kTwipsPerInch = 1440.0;
constexpr int kFrameWidth = 960;
constexpr int kFrameHeight = 720;

}  // namespace

void SaveFromToolbar(FrameCommands& commands) {
    if (commands.libraryHasNoFile()) {
        commands.saveLibraryAs();
    } else {
        commands.saveLibrary();
    }
}

int TwipsToPixels(double twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips / kTwipsPerInch * dotsPerInch));
}

ScreenRect FramePlacement(const ScreenRect& screen, const ScreenRect& available, double dpiX,
                          double dpiY) {
    const int dx = TwipsToPixels(kTwipsFromScreenEdge, dpiX);
    const int dy = TwipsToPixels(kTwipsFromScreenEdge, dpiY);
    return {screen.x + dx, screen.y + dy, std::min(kFrameWidth, available.width - dx),
            std::min(kFrameHeight, available.height - dy)};
}

}  // namespace material
