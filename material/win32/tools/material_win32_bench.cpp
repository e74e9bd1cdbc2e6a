// material.exe's speed under Wine, timed inside the program with the steady clock (the
// mingw-w64 build has no Google Benchmark):
//   wine material_win32_bench.exe [repetitions]
// Cases: opening the full library (1001 materials, written to a temporary file) through
// the frame's library operations until the library window shows its tree, messages
// drained; the same opening without window or file, for comparison; and a node click on
// a material, messages drained. Exits non-zero when what a case should have shown is not
// there.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchLibrary.h"
#include "RepeatedTiming.h"
#include "ToolBrowser.h"
#include "WindowShot.h"
#include "units/registry/clsRegistry.h"

namespace material::win32 {
namespace {

constexpr int kDefaultRepetitions = 20;
constexpr int kClicksPerOpening = 10;  // a click is quick: more samples of it
constexpr double kOpenGoalMs = 150;
constexpr double kClickGoalMs = 16;

// The full library as a file, removed again when the benchmark ends.
class FullLibraryFile {
  public:
    FullLibraryFile()
        : path_(std::filesystem::temp_directory_path() / "kt-material-bench-full.lib") {
        std::ofstream(path_, std::ios::binary) << bench::FullLibraryText();
    }
    ~FullLibraryFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    FullLibraryFile(const FullLibraryFile&) = delete;
    FullLibraryFile& operator=(const FullLibraryFile&) = delete;

    std::string path() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

// Every material's key, in the tree's order.
std::vector<std::string> materialKeys(const LibraryTree& tree) {
    std::vector<std::string> keys;
    for (const std::string& category : tree.Roots()) {
        const std::vector<std::string>& children = tree.Find(category)->children;
        keys.insert(keys.end(), children.begin(), children.end());
    }
    return keys;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "material_win32_bench: %s\n", what);
    std::exit(1);
}

void openLibrary(Win32Browser& browser) {
    browser.library().OpenLibrary();
    drainMessages();
}

void closeLibrary(Win32Browser& browser) {
    browser.library().CloseLibrary();
    drainMessages();
}

bench::CaseFigures timeOpening(Win32Browser& browser, int repetitions) {
    bench::TimedCase opening{"OpenFullLibraryAndShowTree", repetitions, {}, {}, {}, kOpenGoalMs};
    opening.run = [&] { openLibrary(browser); };
    opening.finish = [&] {
        const LibraryChildWindow* form = browser.form();
        if (form == nullptr ||
            TreeView_GetCount(form->treeView()) != static_cast<UINT>(kLibraryCapacity + 10)) {
            fail("the library window does not show the full library's tree");
        }
        closeLibrary(browser);
    };
    return bench::timeCase(opening);
}

// The same opening without a window or file, for comparison: what the library operations
// and the tree model take under Wine, the rest being the window's and the file's share.
bench::CaseFigures timeOpeningWithoutWindow(int repetitions) {
    bench::QuietLibrary quiet;
    LibraryController& library = quiet.library;
    bench::TimedCase opening{"OpenFullLibraryWithoutWindow", repetitions, {}, {}, {}, 0};
    opening.run = [&] { library.OpenLibrary(); };
    opening.finish = [&] {
        if (library.Tree().NodeCount() != static_cast<std::size_t>(kLibraryCapacity + 10)) {
            fail("the full library did not open without a window");
        }
    };
    return bench::timeCase(opening);
}

bench::CaseFigures timeClicks(Win32Browser& browser, int repetitions) {
    openLibrary(browser);
    const std::vector<std::string> keys = materialKeys(browser.library().Tree());
    if (keys.size() != static_cast<std::size_t>(kLibraryCapacity)) {
        fail("the full library did not open");
    }
    std::size_t next = 0;
    std::string clicked;
    bench::TimedCase click{"NodeClickOnMaterial", repetitions * kClicksPerOpening, {}, {}, {},
                           kClickGoalMs};
    // Each click is on the next material, as a user clicks a node in view: a jump across
    // the library would time the tree's scrolling, which no click on a shown node does.
    click.prepare = [&] {
        next = (next + 1) % keys.size();
        clicked = keys[next];
    };
    click.run = [&] {
        // What a click on the tree does: the tree selects the node, the window shows it.
        browser.library().Tree().Select(clicked);
        browser.NodeClick(clicked);
        drainMessages();
    };
    click.finish = [&] {
        const LibraryNode* selected = browser.library().Tree().Selected();
        if (selected == nullptr || selected->key != clicked) {
            fail("a clicked material is not the selected one");
        }
    };
    bench::CaseFigures figures = bench::timeCase(click);
    closeLibrary(browser);
    return figures;
}

int run(int repetitions) {
    FullLibraryFile library;
    clsRegistry settings{std::make_unique<bench::NoSettings>()};
    ToolBrowser program(library.path(), settings);
    HWND frame = program.browser.frame().window();
    ShowWindow(frame, SW_SHOWNORMAL);
    UpdateWindow(frame);
    drainMessages();

    // One untimed round first: the first window of a class and the first read of the
    // file pay for loading that later rounds do not.
    openLibrary(program.browser);
    closeLibrary(program.browser);

    std::vector<bench::CaseFigures> figures;
    figures.push_back(timeOpening(program.browser, repetitions));
    figures.push_back(timeOpeningWithoutWindow(repetitions));
    figures.push_back(timeClicks(program.browser, repetitions));
    std::fputs(bench::formatFigures(figures).c_str(), stdout);
    return 0;
}

}  // namespace
}  // namespace material::win32

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::atoi(argv[1]) : material::win32::kDefaultRepetitions;
    if (repetitions < 1) {
        std::fputs("usage: material_win32_bench [repetitions]\n", stderr);
        return 2;
    }
    std::printf("Running material_win32_bench: %d openings, %d clicks\n", repetitions,
                repetitions * material::win32::kClicksPerOpening);
    return material::win32::run(repetitions);
}
