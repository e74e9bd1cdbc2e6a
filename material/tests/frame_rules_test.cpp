// The frame's Save button and its placement on screens of several sizes and resolutions.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FrameRules.h"

namespace material {
namespace {

class RecordingCommands : public FrameCommands {
  public:
    bool noFile = false;
    std::vector<std::string> calls;

    void newLibrary() override { calls.push_back("new"); }
    void openLibrary() override { calls.push_back("open"); }
    void saveLibrary() override { calls.push_back("save"); }
    void saveLibraryAs() override { calls.push_back("saveAs"); }
    void deleteMaterial() override { calls.push_back("delete"); }
    bool libraryHasNoFile() const override { return noFile; }
    bool closeLibraryWindow() override { return true; }
};

TEST(FrameRulesTest, SaveAsksForANameOnlyForALibraryWithoutAFile) {
    RecordingCommands commands;
    SaveFromToolbar(commands);
    commands.noFile = true;
    SaveFromToolbar(commands);
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"save", "saveAs"}));
}

struct PlacementCase {
    ScreenRect screen;
    ScreenRect available;
    double dpi;
    ScreenRect expected;
};

TEST(FrameRulesTest, TheFrameOpens200TwipsFromTheScreensCornerAndFitsTheScreen) {
    const PlacementCase cases[] = {
        {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96, {13, 13, 960, 720}},
        {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 144, {20, 20, 960, 720}},
        {{0, 0, 800, 600}, {0, 0, 800, 570}, 96, {13, 13, 787, 557}},
        {{1920, 0, 1280, 1024}, {1920, 0, 1280, 984}, 120, {1937, 17, 960, 720}},
    };
    for (const PlacementCase& c : cases) {
        EXPECT_EQ(FramePlacement(c.screen, c.available, c.dpi, c.dpi), c.expected)
            << c.screen.width << "x" << c.screen.height << " at " << c.dpi;
    }
}

}  // namespace
}  // namespace material
