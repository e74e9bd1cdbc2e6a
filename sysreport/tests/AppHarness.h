// MainBehaviour over scripted services and a recorded view, writing its report
// into a folder of its own. Shared by the behaviour tests and the Win32 window
// tests.
#pragma once

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "Fakes.h"
#include "FilePaths.h"
#include "MainBehaviour.h"
#include "Version.h"
#include "WineRegistry.h"

namespace sysreport::testing {

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& leaf = "sysreport test") {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                pathFromUtf8(leaf + " " + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string text() const { return pathToUtf8(std::filesystem::path(path_).make_preferred()); }
    std::string reportPath() const { return text() + kPathSeparator + kReportFileName; }

  private:
    std::filesystem::path path_;
};

// The registry of a machine without any product.
struct EmptyRegistry {
    EmptyRegistry()
        : backend(WineRegistryFile{}, WineRegistryFile{}),
          ini(makeIniFileReader()),
          reader(backend, *ini) {}
    WineRegistryBackend backend;
    std::unique_ptr<IniFileReader> ini;
    RegistryReader reader;
};

// All scripted services of the program.
struct FakeServices {
    FakeSystemFacts facts;
    FakeClock clock;
    FakeCadHost host;
    RecordingPrompts prompts;
    FakeMailClient mail;
    FakeSystemInfoTool systemInfo;
    EmptyRegistry registry;

    AppServices in(const std::string& folder, UserPrompts* realPrompts = nullptr,
                   RegistryReader* realRegistry = nullptr) {
        return AppServices{facts,
                           clock,
                           realRegistry != nullptr ? *realRegistry : registry.reader,
                           host,
                           realPrompts != nullptr ? *realPrompts : prompts,
                           mail,
                           systemInfo,
                           ReportLocations{folder, "", ""}};
    }
};

}  // namespace sysreport::testing
