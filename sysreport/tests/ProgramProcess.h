// The built program copied into a folder of its own (so that its default report
// lands there) and started as a process, as a script would start it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "FilePaths.h"

namespace sysreport::testing {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ProgramProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        // A folder per test: under Wine an ended program's file may stay locked for
        // a moment.
        root_ = std::filesystem::temp_directory_path() /
                ("kt-sysreport-process-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(root_ / "program");
        std::filesystem::create_directories(root_ / "home");
        const std::filesystem::path built = pathFromUtf8(SYSREPORT_PROGRAM);
        program_ = root_ / "program" / built.filename();
        std::filesystem::copy_file(built, program_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    // Runs the program with each of `arguments` as one argument and its output
    // captured (Linux: a clean environment without a display, the products of
    // the all-families case in its Wine prefix).
    Outcome run(const std::vector<std::string>& arguments);

    // A place under the test's folder, both in UTF-8.
    std::string path(const std::string& relative) const {
        return pathToUtf8((root_ / pathFromUtf8(relative)).lexically_normal().make_preferred());
    }
    std::string defaultReport() const { return path("program/Simulation Product Info.htm"); }

    std::filesystem::path root_;
    std::filesystem::path program_;
};

}  // namespace sysreport::testing
