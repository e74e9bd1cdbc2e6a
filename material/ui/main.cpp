#include <QApplication>

#include "MaterialBrowser.h"
#include "QtLibraryPrompts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    material::QtLibraryPrompts prompts;
    material::UserLocaleDecimalSeparator separator;
    material::MaterialBrowser browser({prompts, material::PlatformFileSystem(), separator,
                                       material::programSettings(),
                                       material::PlatformWorkbookReader(), nullptr});
    browser.frame().show();
    return app.exec();
}
