// The frame's commands while this program has no library window of its own yet: the
// library operations do nothing and the frame may always close. Replaced by the browser
// (library controller plus library window) once the Win32 library window exists.
#pragma once

#include "app/FrameCommands.h"

namespace material::win32 {

class FrameWithoutLibrary final : public FrameCommands {
  public:
    void newLibrary() override {}
    void openLibrary() override {}
    void saveLibrary() override {}
    void saveLibraryAs() override {}
    void deleteMaterial() override {}
    bool libraryHasNoFile() const override { return true; }
    bool closeLibraryWindow() override { return true; }
};

}  // namespace material::win32
