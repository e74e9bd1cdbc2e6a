// Renders the library window on the offscreen platform into the pictures of
// docs/material.md.
// Usage: make_screenshots <sample library> <output folder>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <cstdio>

#include "MaterialBrowser.h"
#include "PropertyPanel.h"
#include "units/registry/ConfigFileStore.h"

namespace {

using namespace material;

// Opens the one library given, never saves, and answers other questions with Yes or OK.
class FixedAnswers final : public LibraryPrompts {
  public:
    explicit FixedAnswers(std::string path) : path_(std::move(path)) {}
    MessageAnswer Message(const std::string&, MessageButtons buttons, MessageIcon) override {
        switch (buttons) {
            case MessageButtons::Ok:
                return MessageAnswer::Ok;
            case MessageButtons::YesNoCancel:
                return MessageAnswer::No;  // the save question
            default:
                return MessageAnswer::Yes;
        }
    }
    std::optional<std::string> OpenFile(const FileDialogRequest&) override { return path_; }
    std::optional<std::string> SaveFile(const FileDialogRequest&) override { return {}; }

  private:
    std::string path_;
};

class PointSeparator final : public DecimalSeparatorSource {
  public:
    std::string ReadDecimalSeparator() const override { return "."; }
};

class NoHelp final : public HelpViewer {
  public:
    void displayHelpFile(const std::string&) override {}
};

class Shooter {
  public:
    Shooter(MaterialBrowser& browser, QString folder) : browser_(browser), folder_(folder) {}

    void click(const QString& text) {
        auto* tree = browser_.form()->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
        for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
            if ((*it)->text(0).trimmed() == text) {
                tree->setCurrentItem(*it);
            }
        }
    }
    void choose(const char* list, int position) {
        browser_.form()->findChild<QComboBox*>(QLatin1String(list))->setCurrentIndex(position);
    }
    bool shoot(const char* name) {
        QApplication::processEvents();
        const QString path = QDir(folder_).filePath(QLatin1String(name));
        const bool saved = browser_.frame().grab().save(path);
        std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
        return saved;
    }

  private:
    MaterialBrowser& browser_;
    QString folder_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <sample .lib> <output folder>\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The pictures are taken of a copy: the sample library itself is never written.
    QTemporaryDir work;
    const QString copy = work.filePath(QStringLiteral("korwkmat.lib"));
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), copy)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    FixedAnswers prompts(copy.toStdString());
    PointSeparator separator;
    clsRegistry settings(std::make_unique<ConfigFileStore>(
        std::filesystem::path(work.path().toStdString()) / "settings"));
    MaterialBrowser browser(BrowserServices{prompts, PlatformFileSystem(), separator, settings,
                                            nullptr, std::make_unique<NoHelp>()});
    browser.frame().resize(1100, 760);
    browser.frame().show();
    browser.openLibrary();

    Shooter shots(browser, QString::fromLocal8Bit(argv[2]));
    bool ok = true;
    shots.click("S235JR structural steel");
    shots.choose("typeCombo", 0);
    shots.choose("unitsCombo", 1);
    ok &= shots.shoot("material-library.png");
    shots.choose("unitsCombo", 0);
    ok &= shots.shoot("material-ips.png");
    shots.choose("unitsCombo", 2);
    ok &= shots.shoot("material-mks.png");

    // The filter narrowing the tree.
    browser.form()->findChild<QLineEdit*>(QStringLiteral("filterText"))->setText("steel");
    shots.click("S235JR structural steel");
    ok &= shots.shoot("material-filter.png");
    browser.form()->findChild<QLineEdit*>(QStringLiteral("filterText"))->clear();

    shots.click("Epoxy resin, viscoelastic");
    shots.choose("typeCombo", 12);
    browser.frame().resize(1100, 1160);  // all 39 rows in view
    ok &= shots.shoot("material-type12.png");
    browser.library().CloseLibrary();
    return ok ? 0 : 1;
}
