#include <QApplication>

#include "FrameCommands.h"
#include "MDIForm1.h"

namespace {

// Until the library operations are wired in, the frame's commands do nothing.
class NoLibraryCommands final : public material::FrameCommands {
  public:
    void newLibrary() override {}
    void openLibrary() override {}
    void saveLibrary() override {}
    void saveLibraryAs() override {}
    void deleteMaterial() override {}
    bool libraryHasNoFile() const override { return false; }
    bool closeLibraryWindow() override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    NoLibraryCommands commands;
    material::MDIForm1 frame(commands);
    frame.show();
    return app.exec();
}
