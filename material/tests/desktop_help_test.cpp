// The help book handed to the desktop where there is no compiled-help viewer: which file
// the desktop is given, and what the user is told when nothing can be shown.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "DesktopHelpViewer.h"

namespace material {
namespace {

namespace fs = std::filesystem;

const std::string kNotInstalled = "The help is not installed. The program looks for it in:\n";
const std::string kNotOpened = "The help could not be opened. You will find it in:\n";

// An installed layout in a folder of its own: <root>/bin for the program, the book's
// first page and a compiled help file each present or not.
class Layout {
  public:
    Layout(bool withBook, bool withCompiled) {
        std::string pattern = (fs::temp_directory_path() / "kt-desktop-help-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        fs::create_directories(root_ / "bin");
        book_ = DesktopHelpViewer::bookPageFor((root_ / "bin").string());
        compiled_ = (root_ / "help" / "Material.chm").string();
        if (withBook) {
            write(book_);
        }
        if (withCompiled) {
            write(compiled_);
        }
    }
    ~Layout() { fs::remove_all(root_); }

    const std::string& book() const { return book_; }
    const std::string& compiled() const { return compiled_; }

  private:
    static void write(const fs::path& file) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "<html></html>";
    }

    fs::path root_;
    std::string book_;
    std::string compiled_;
};

// The desktop as scripted: it takes a file or not, or there is none at all; every file
// it is handed and every message shown is recorded.
struct Desktop {
    std::optional<bool> opens;  // nothing: no opener
    std::vector<std::string> handed;
    std::vector<std::string> told;

    DesktopHelpViewer viewer(const std::string& book) {
        DesktopHelpViewer::Opener open;
        if (opens) {
            open = [this](const std::string& file) {
                handed.push_back(file);
                return *opens;
            };
        }
        return DesktopHelpViewer(book, open,
                                 [this](const std::string& text) { told.push_back(text); });
    }
};

enum class Expect {
    BookOpened,
    CompiledOpened,
    ToldBookNotOpened,
    ToldCompiledNotOpened,
    ToldNotInstalled
};

struct Case {
    const char* name;
    bool withBook;
    bool withCompiled;
    std::optional<bool> opens;
    Expect expect;
};

class DesktopHelpCases : public ::testing::TestWithParam<Case> {};

TEST_P(DesktopHelpCases, HandsTheRightFileOrSaysWhereTheHelpIs) {
    const Case& c = GetParam();
    Layout layout(c.withBook, c.withCompiled);
    Desktop desktop{c.opens, {}, {}};
    desktop.viewer(layout.book()).displayHelpFile(layout.compiled());

    const bool tried = c.opens.has_value() && c.expect != Expect::ToldNotInstalled;
    const std::string& offered =
        c.expect == Expect::CompiledOpened || c.expect == Expect::ToldCompiledNotOpened
            ? layout.compiled()
            : layout.book();
    EXPECT_EQ(desktop.handed,
              tried ? std::vector<std::string>{offered} : std::vector<std::string>{});
    switch (c.expect) {
        case Expect::BookOpened:
        case Expect::CompiledOpened:
            EXPECT_TRUE(desktop.told.empty());
            break;
        case Expect::ToldBookNotOpened:
        case Expect::ToldCompiledNotOpened:
            EXPECT_EQ(desktop.told, std::vector<std::string>{kNotOpened + offered});
            break;
        case Expect::ToldNotInstalled:
            EXPECT_EQ(desktop.told, std::vector<std::string>{kNotInstalled + layout.book()});
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DesktopHelpCases,
    ::testing::Values(
        Case{"BookOpens", true, false, true, Expect::BookOpened},
        Case{"BookBeforeCompiledFile", true, true, true, Expect::BookOpened},
        Case{"CompiledFileWithoutBook", false, true, true, Expect::CompiledOpened},
        Case{"DesktopRefusesBook", true, false, false, Expect::ToldBookNotOpened},
        Case{"NoOpenerForBook", true, false, std::nullopt, Expect::ToldBookNotOpened},
        Case{"DesktopRefusesCompiledFile", false, true, false, Expect::ToldCompiledNotOpened},
        Case{"NothingInstalled", false, false, true, Expect::ToldNotInstalled},
        Case{"NothingInstalledNoOpener", false, false, std::nullopt, Expect::ToldNotInstalled}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(DesktopHelpBookPage, SitsInTheSharedDataBesideTheProgramsFolder) {
    for (const std::string folder : {"/opt/kt/bin", "/opt/kt/bin/", "/opt/kt/./bin"}) {
        EXPECT_EQ(DesktopHelpViewer::bookPageFor(folder),
                  "/opt/kt/share/korvex-tools/help/material/index.html")
            << folder;
    }
}

// The build tree repeats the installed layout, so a program run from it finds its book.
TEST(DesktopHelpBookPage, IsStagedInTheBuildTree) {
    const fs::path program = fs::read_symlink("/proc/self/exe");
    EXPECT_TRUE(
        fs::is_regular_file(DesktopHelpViewer::bookPageFor(program.parent_path().string())));
}

}  // namespace
}  // namespace material
