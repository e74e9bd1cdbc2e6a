// The purge on real compound files through our own layer: documents made by gsf,
// checked afterwards by an independent reader (olefile).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "PurgeRoutines.h"
#include "purge_scenarios.h"

namespace purge {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::string Quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

// Runs a shell command and returns its standard output; `status` gets the exit code.
std::string Capture(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return out;
    }
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) {
        out.append(buffer, n);
    }
    status = pclose(pipe);
    return out;
}

// Writes `tree` as folders and files below `folder` and packs it with gsf into `out`.
void MakeWithGsf(const fs::path& folder, const std::vector<std::string>& tree,
                 const std::string& out) {
    fs::create_directories(folder);
    std::string topLevel;
    for (const std::string& p : tree) {
        if (p.back() == '/') {
            fs::create_directories(folder / p);
        } else {
            std::ofstream(folder / p) << "product data of " << p;
        }
        if (p.find('/') == std::string::npos || p.find('/') == p.size() - 1) {
            topLevel += " " + Quote(p.back() == '/' ? p.substr(0, p.size() - 1) : p);
        }
    }
    int status = 0;
    Capture("cd " + Quote(folder.string()) + " && gsf createole " + Quote(out) + topLevel +
                " >/dev/null 2>&1",
            status);
    ASSERT_EQ(status, 0) << "gsf createole failed";
}

// The tree as olefile reads it, storages with a trailing slash, sorted.
std::vector<std::string> ListWithOlefile(const std::string& path) {
    const char* script =
        "import olefile,sys\n"
        "o=olefile.OleFileIO(sys.argv[1])\n"
        "for e in o.listdir(streams=True,storages=True):\n"
        "  print('/'.join(e)+('/' if o.get_type(e)==olefile.STGTY_STORAGE else ''))\n";
    int status = 0;
    const std::string out =
        Capture("/usr/bin/python3 -c " + Quote(script) + " " + Quote(path), status);
    EXPECT_EQ(status, 0) << "olefile could not read " << path << ": " << out;
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return scenarios::Sorted(lines);
}

class CfbPurgeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "purge_cfb_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    void run() { PurgeDocument(dialog, platformStorageSystem(), platformDocumentManager()); }

    fs::path folder;
    fakes::FakeDialog dialog;
};

TEST_F(CfbPurgeTest, PurgesDocumentsInPlace) {
    for (const auto& s : scenarios::AllScenarios()) {
        SCOPED_TRACE(s.label);
        const std::string path = (folder / (std::string(s.label) + ".pldprt")).string();
        MakeWithGsf(folder / s.label, s.tree, path);
        ASSERT_THAT(ListWithOlefile(path), ElementsAreArray(scenarios::Sorted(s.tree)));
        dialog = fakes::FakeDialog{};
        dialog.path = path;
        s.ticks.applyTo(dialog);
        run();
        EXPECT_THAT(ListWithOlefile(path), ElementsAreArray(scenarios::Sorted(s.remaining)));
        EXPECT_EQ(dialog.resets, 1);
        EXPECT_TRUE(dialog.messages.empty());
        EXPECT_EQ(dialog.status, s.success ? kSuccessText : "earlier status");
    }
}

TEST_F(CfbPurgeTest, OnlyAnExistingRegularFilePassesTheFileTest) {
    const std::string withNul = (folder / "doc.pldprt").string() + std::string(1, '\0') + "x";
    std::ofstream(folder / "doc.pldprt") << "x";
    const std::string cases[] = {(folder / "missing.pldprt").string(), folder.string(), withNul};
    for (const auto& path : cases) {
        dialog = fakes::FakeDialog{};
        dialog.path = path;
        dialog.sustainability = true;
        run();
        EXPECT_THAT(dialog.messages, ElementsAre(kFileNotFoundText));
        EXPECT_EQ(dialog.resets, 0);
    }
}

// No document manager exists here, so a file our layer refuses is left untouched and
// the user is told so.
TEST_F(CfbPurgeTest, UnopenableFileSaysNothingWasChanged) {
    const std::string path = (folder / "plain.pldasm").string();
    std::ofstream(path) << "not a compound file";
    dialog.path = path;
    dialog.simulation = dialog.motion = true;
    run();
    EXPECT_THAT(dialog.messages, ElementsAre(kNotOpenedText));
    EXPECT_EQ(dialog.resets, 0);
    EXPECT_EQ(dialog.path, path);
    EXPECT_TRUE(dialog.simulation && dialog.motion);
    std::ifstream in(path);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "not a compound file");
}

}  // namespace
}  // namespace purge
