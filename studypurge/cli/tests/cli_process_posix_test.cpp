// The real program started as a process, as administrators and scripts start it:
// no display, exit codes, output lines and the files on disk.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "DocumentFiles.h"

namespace {

struct Outcome {
    int exitCode = -1;
    std::string output;
};

// Runs the program with the arguments (quoted for the shell), standard error
// joined to standard output, and without any display to connect to.
Outcome runProgram(const std::vector<std::string>& args) {
    std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" STUDYPURGE_PROGRAM "'";
    for (const auto& arg : args) {
        command += " '" + arg + "'";
    }
    Outcome run;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        return run;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.output.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(StudypurgeProcess, CleansWithoutAWindowAndReportsByExitCode) {
    clitest::ScratchFolder dir;
    const std::string doc = dir.path("wheel.pldasm");
    const std::string text = dir.path("readme.pldprt");
    std::string error;
    ASSERT_TRUE(clitest::writeDocument(doc,
                                       {{"Body", 5000},
                                        {"ThirdPtyStore/Korworks/Mesh", 4100},
                                        {"ThirdPtyStore/MDI_DDMPL", 64},
                                        {"ThirdPtyStore/xKM_MOTION_LOAD_7", 10},
                                        {"ThirdPtyStore/Keep", 1}},
                                       error))
        << error;
    clitest::writeBytes(text, {'h', 'i'});

    Outcome dry = runProgram({"--dry-run", "--products", "motion", doc});
    EXPECT_EQ(dry.exitCode, 0) << dry.output;
    EXPECT_EQ(dry.output, doc +
                              ": would remove ThirdPtyStore/MDI_DDMPL, "
                              "ThirdPtyStore/xKM_MOTION_LOAD_7; 74 bytes would be freed\n"
                              "would clean 1, unchanged 0, refused 0; 74 bytes would be freed\n");

    Outcome clean = runProgram({"--all", dir.path("")});
    EXPECT_EQ(clean.exitCode, 1) << clean.output;
    EXPECT_NE(clean.output.find(text + ": refused: not a compound file\n"), std::string::npos)
        << clean.output;
    EXPECT_NE(clean.output.find("cleaned 1, unchanged 0, refused 1; 4174 bytes freed\n"),
              std::string::npos)
        << clean.output;
    EXPECT_EQ(
        clitest::listDocument(doc),
        (std::vector<std::string>{"F Body 5000", "F ThirdPtyStore/Keep 1", "S ThirdPtyStore"}));

    EXPECT_EQ(runProgram({"--all", doc}).exitCode, 0);
    EXPECT_EQ(runProgram({"--all"}).exitCode, 2);
    const Outcome version = runProgram({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "studypurge version 2012, korvex-tools " KT_VERSION "\n");
}

}  // namespace
