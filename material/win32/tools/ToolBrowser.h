// material.exe as the benchmark and screenshot programs run it: the whole program object
// over the real file system, with a user who opens one given library, answers the save
// question with No and every other question with Yes, and never asks for help.
#pragma once

#include <memory>
#include <string>

#include "BenchLibrary.h"
#include "Win32Browser.h"

namespace material::win32 {

class OpenOnePrompts final : public bench::QuietPrompts {
  public:
    explicit OpenOnePrompts(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> OpenFile(const FileDialogRequest&) override { return path_; }

  private:
    std::string path_;
};

class NoHelp final : public HelpViewer {
  public:
    void displayHelpFile(const std::string&) override {}
};

// The frame is created hidden; `libraryPath` is a narrow path as the file dialog gives it.
struct ToolBrowser {
    ToolBrowser(std::string libraryPath, clsRegistry& settings)
        : prompts(std::move(libraryPath)),
          browser(BrowserServices{prompts, PlatformFileSystem(), separator, settings,
                                  PlatformWorkbookReader(), std::make_unique<NoHelp>(), [] {}}) {}

    OpenOnePrompts prompts;
    bench::PointSeparator separator;
    Win32Browser browser;
};

}  // namespace material::win32
