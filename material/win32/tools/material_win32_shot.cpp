// Pictures of material.exe for the documentation, taken on demand (not a test):
//   wine material_win32_shot.exe <folder> [library]
// Each picture is of a new program: the unit setting stored first (the library window
// reads it when a library opens), then the frame at a fixed size with the library (the
// sample unless another is given) open in its maximised window. Writes
// material-windows-ips.png, material-windows-mks.png and material-windows-type12.png
// into <folder>.
#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ToolBrowser.h"
#include "WideText.h"
#include "WindowShot.h"
#include "units/UnitSystems.h"
#include "units/registry/clsRegistry.h"

namespace material::win32 {
namespace {

constexpr int kFrameWidth = 1024;
constexpr int kFrameHeight = 720;

// Runs with the library open and shown, before the picture is taken: selects, expands
// or edits whatever the picture is meant to show.
using BeforeShot = std::function<void(Win32Browser&)>;

struct Shot {
    std::wstring fileName;
    std::string_view unitSystem;  // an entry of the unit list, stored before the library opens
    BeforeShot before;            // may be empty
};

std::int16_t unitListPosition(std::string_view entry) {
    const auto found = std::find(kUnitListTexts.begin(), kUnitListTexts.end(), entry);
    return static_cast<std::int16_t>(found - kUnitListTexts.begin());
}

bool takeShot(const std::string& library, const std::filesystem::path& folder, const Shot& shot) {
    programSettings().SetValue(unitListPosition(shot.unitSystem));
    ToolBrowser program(library, programSettings());
    HWND frame = program.browser.frame().window();
    SetWindowPos(frame, nullptr, 0, 0, kFrameWidth, kFrameHeight, SWP_NOZORDER);
    ShowWindow(frame, SW_SHOWNORMAL);
    drainMessages();
    program.browser.library().OpenLibrary();
    drainMessages();
    if (program.browser.form() == nullptr) {
        std::fprintf(stderr, "%s did not open\n", library.c_str());
        return false;
    }
    if (shot.before) {
        shot.before(program.browser);
        drainMessages();
    }
    Canvas canvas(kFrameWidth, kFrameHeight);
    captureWindow(frame, canvas);
    const std::filesystem::path path = folder / shot.fileName;
    if (!savePng(canvas, path.wstring())) {
        std::fprintf(stderr, "%ls could not be written\n", path.c_str());
        return false;
    }
    std::printf("%ls\n", path.c_str());
    return true;
}

// The pictures, in the order they are taken. A further one is a line here, with what it
// must show done in its BeforeShot.
// The first material of the first category, shown as a click on it would.
void showFirstMaterial(Win32Browser& browser) {
    const LibraryTree& tree = browser.library().Tree();
    const LibraryNode* category = tree.Find(tree.Roots().front());
    if (category != nullptr && !category->children.empty()) {
        browser.library().Tree().Select(category->children.front());
        browser.NodeClick(category->children.front());
    }
}

// The type list's last entry, the model with the longest grid, chosen as a user would.
void chooseType12(Win32Browser& browser) {
    showFirstMaterial(browser);
    PropertyPanelWindow& panel = browser.form()->panel();
    SendMessageW(panel.typeCombo(), CB_SETCURSEL, 12, 0);
    panel.controller().onTypeChosen(12);
}

std::vector<Shot> shots() {
    return {
        {L"material-windows-ips.png", "IPS", showFirstMaterial},
        {L"material-windows-mks.png", "MKS(G)", showFirstMaterial},
        {L"material-windows-type12.png", "SI", chooseType12},
    };
}

std::string defaultLibrary() {
    std::string path = KT_SAMPLE_LIBRARY;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace
}  // namespace material::win32

int wmain(int argc, wchar_t** argv) {
    using namespace material::win32;
    if (argc < 2 || argc > 3) {
        std::fputs("usage: material_win32_shot <folder> [library]\n", stderr);
        return 2;
    }
    const std::string library = argc == 3 ? narrow(argv[2]) : defaultLibrary();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // The user's unit setting is put back as it was.
    const std::int16_t unitSetting = material::programSettings().GetValue();
    bool written = true;
    for (const Shot& shot : shots()) {
        written = takeShot(library, argv[1], shot) && written;
    }
    material::programSettings().SetValue(unitSetting);
    CoUninitialize();
    return written ? 0 : 1;
}
