// The library operations the main frame hands its toolbar buttons and menu items to.
// The frame holds no library data; whoever owns the open library implements this.
#pragma once

namespace material {

class FrameCommands {
  public:
    virtual ~FrameCommands() = default;

    virtual void newLibrary() = 0;
    virtual void openLibrary() = 0;
    virtual void saveLibrary() = 0;
    virtual void saveLibraryAs() = 0;
    // Deletes the material selected in the library window's tree.
    virtual void deleteMaterial() = 0;

    // True while the open library has no file of its own yet (a new, never saved one).
    virtual bool libraryHasNoFile() const = 0;

    // Called when the frame is about to close: unloads the library window, which asks
    // whether to save. Returns false when the user cancelled; the frame then stays open.
    virtual bool closeLibraryWindow() = 0;
};

}  // namespace material
