// Drives the real main frame widgets on the offscreen platform.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "AboutForm.h"
#include "MainFrame.h"
#include "app/FrameCommands.h"

using material::AboutForm;
using material::MainFrame;

namespace {

class RecordingCommands final : public material::FrameCommands {
  public:
    void newLibrary() override { calls.push_back("new"); }
    void openLibrary() override { calls.push_back("open"); }
    void saveLibrary() override { calls.push_back("save"); }
    void saveLibraryAs() override { calls.push_back("saveAs"); }
    void deleteMaterial() override { calls.push_back("delete"); }
    bool libraryHasNoFile() const override { return noFile; }
    bool closeLibraryWindow() override {
        calls.push_back("close");
        return allowClose;
    }

    std::vector<std::string> calls;
    bool noFile = false;
    bool allowClose = true;
};

class RecordingHelpViewer final : public material::HelpViewer {
  public:
    explicit RecordingHelpViewer(std::vector<std::string>& shown) : shown_(shown) {}
    void displayHelpFile(const std::string& path) override { shown_.push_back(path); }

  private:
    std::vector<std::string>& shown_;
};

struct Frame {
    RecordingCommands commands;
    std::vector<std::string> helpShown;
    std::unique_ptr<MainFrame> window;

    Frame()
        : window(std::make_unique<MainFrame>(commands,
                                             std::make_unique<RecordingHelpViewer>(helpShown))) {}

    QToolBar* toolbar() const { return window->findChild<QToolBar*>("Toolbar1"); }
    QAction* button(const char* key) const { return toolbar()->findChild<QAction*>(key); }
    QAction* menuItem(const char* name) const { return window->findChild<QAction*>(name); }
    QStatusBar* statusBar() const { return window->findChild<QStatusBar*>("StatusBar1"); }
    QLabel* panel() const { return window->findChild<QLabel*>("panel1"); }

    void showAndWait() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void click(const char* key) const {
        QTest::mouseClick(toolbar()->widgetForAction(button(key)), Qt::LeftButton);
    }
};

QList<AboutForm*> aboutBoxes() {
    QList<AboutForm*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<AboutForm*>(w)) {
            found.append(box);
        }
    }
    return found;
}

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT

  private slots:
    void startsWithoutLibraryAndWithBothBars() {
        Frame f;
        QCOMPARE(f.window->windowTitle(), QString("Korvex/M Material Browser"));
        QVERIFY(!f.window->windowIcon().isNull());
        QVERIFY(f.window->workspace()->subWindowList().isEmpty());
        QCOMPARE(f.window->workspace()->background().color(), QColor(128, 128, 128));
        QVERIFY(!f.toolbar()->isHidden());
        QVERIFY(!f.statusBar()->isHidden());
        QVERIFY(f.commands.calls.empty());

        auto* timer = f.window->findChild<QTimer*>("Timer1");
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), 500);

        // 200 twips from the screen's corner, whatever the screen's resolution
        const QScreen* screen = f.window->screen();
        const QPoint expected = screen->geometry().topLeft() +
                                QPoint(qRound(200.0 / 1440 * screen->logicalDotsPerInchX()),
                                       qRound(200.0 / 1440 * screen->logicalDotsPerInchY()));
        QCOMPARE(f.window->pos(), expected);
    }

    void toolbarHasItsButtonsInOrder() {
        Frame f;
        struct Item {
            QString key;
            bool separator;
            QString tooltip;
            bool enabled;
        };
        const QList<Item> expected = {
            {"separator", true, "", true},
            {"new", false, "Open new file", true},
            {"open", false, "Open existing file", true},
            {"save", false, "Save file", false},
            {"", true, "", true},
            {"deleteMaterial", false, "Delete the selected material", false},
            {"separator2", true, "", true},
            {"help", false, "Help", true},
        };
        const QList<QAction*> actions = f.toolbar()->actions();
        QCOMPARE(actions.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            const Item& want = expected[i];
            QAction* got = actions[i];
            QCOMPARE(got->objectName(), want.key);
            QCOMPARE(got->isSeparator(), want.separator);
            if (!want.separator) {
                QCOMPARE(got->toolTip(), want.tooltip);
                QCOMPARE(got->isEnabled(), want.enabled);
                QVERIFY2(!got->icon().isNull(), qPrintable(want.key));
            }
        }
    }

    void frameMenusKeepTheirCaptionsAndShortcuts() {
        Frame f;
        const QList<QAction*> bar = f.window->menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->text(), QString("&File"));
        QCOMPARE(bar[1]->text(), QString("&Help"));

        struct Item {
            const char* name;
            QString caption;
            QKeySequence shortcut;
        };
        const QList<Item> file = {{"fileNewMenu", "&New   ", {}},
                                  {"fileOpenMenu", "&Open...   ", QKeySequence("Ctrl+O")},
                                  {"separatorMenu", "", {}},
                                  {"fileExitMenu", "E&xit   ", {}}};
        const QList<Item> help = {{"aboutMaterial", "&Help Topics", QKeySequence("F1")},
                                  {"aboutMaterialMenu", "&About Material Browser", {}}};
        const QList<QList<Item>> menus = {file, help};
        for (int m = 0; m < menus.size(); ++m) {
            const QList<QAction*> items = bar[m]->menu()->actions();
            QCOMPARE(items.size(), menus[m].size());
            for (int i = 0; i < items.size(); ++i) {
                QCOMPARE(items[i]->objectName(), QString(menus[m][i].name));
                QCOMPARE(items[i]->text(), menus[m][i].caption);
                QCOMPARE(items[i]->shortcut(), menus[m][i].shortcut);
            }
        }
    }

    void animationFollowsTheCounterOverThirtyTicks() {
        Frame f;
        f.window->findChild<QTimer*>("Timer1")->stop();  // the test is the clock
        // One cycle of 13 ticks after the silent first one; 9 and 11 keep the last picture.
        const int cycle[] = {102, 103, 104, 105, 106, 107, 108, 109, 109, 110, 110, 111, 112};
        std::vector<int> expected = {0};
        expected.insert(expected.end(), std::begin(cycle), std::end(cycle));
        expected.insert(expected.end(), std::begin(cycle), std::end(cycle));
        expected.insert(expected.end(), {102, 103, 104});
        QCOMPARE(expected.size(), size_t(30));

        QImage previous;
        for (size_t tick = 0; tick < expected.size(); ++tick) {
            f.window->onTimerTick();
            QCOMPARE(f.window->shownAnimationFrame(), expected[tick]);
            const QImage shown = f.panel()->pixmap().toImage();
            QCOMPARE(shown.isNull(), expected[tick] == 0);
            if (tick > 0 && expected[tick] != expected[tick - 1]) {
                QVERIFY2(shown != previous, qPrintable(QString("tick %1").arg(tick + 1)));
            } else if (tick > 0) {
                QCOMPARE(shown, previous);
            }
            previous = shown;
        }
    }

    void realTimerAdvancesTheAnimation() {
        Frame f;
        QTRY_COMPARE_WITH_TIMEOUT(f.window->shownAnimationFrame(), 102, 3000);
    }

    void separatorsAndUnknownKeysDoNothing() {
        Frame f;
        f.showAndWait();
        f.window->setLibraryButtonsEnabled(true);
        for (QAction* action : f.toolbar()->actions()) {
            if (action->isSeparator()) {
                QTest::mouseClick(f.toolbar()->widgetForAction(action), Qt::LeftButton);
            }
        }
        for (const char* key : {"separator", "", "separator2", "delete", "Save"}) {
            f.window->onToolbarButton(key);
        }
        QVERIFY(f.commands.calls.empty());
        QVERIFY(f.helpShown.empty());
    }

    void toolbarButtonsReachTheirCommands_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("noFile");
        QTest::addColumn<QString>("call");
        QTest::newRow("new") << "new" << false << "new";
        QTest::newRow("open") << "open" << false << "open";
        QTest::newRow("save of a named library") << "save" << false << "save";
        QTest::newRow("save of a never saved library") << "save" << true << "saveAs";
        QTest::newRow("deleteMaterial") << "deleteMaterial" << false << "delete";
    }

    void toolbarButtonsReachTheirCommands() {
        QFETCH(QString, key);
        QFETCH(bool, noFile);
        QFETCH(QString, call);
        Frame f;
        f.showAndWait();
        f.window->setLibraryButtonsEnabled(true);
        f.commands.noFile = noFile;
        f.click(qPrintable(key));
        QCOMPARE(f.commands.calls, std::vector<std::string>{call.toStdString()});
    }

    void disabledButtonsStayQuiet() {
        Frame f;
        f.showAndWait();
        f.click("save");
        f.click("deleteMaterial");
        QVERIFY(f.commands.calls.empty());

        f.window->setLibraryButtonsEnabled(true);
        QVERIFY(f.button("save")->isEnabled() && f.button("deleteMaterial")->isEnabled());
        f.window->setLibraryButtonsEnabled(false);
        f.click("save");
        QVERIFY(f.commands.calls.empty());
        QVERIFY(f.button("new")->isEnabled() && f.button("help")->isEnabled());
    }

    void frameMenuItemsReachTheirCommands() {
        Frame f;
        f.menuItem("fileNewMenu")->trigger();
        f.menuItem("fileOpenMenu")->trigger();
        QCOMPARE(f.commands.calls, (std::vector<std::string>{"new", "open"}));
    }

    void helpEntriesUseTheirOwnPathRules() {
        Frame f;
        f.showAndWait();
        qputenv("korvexm", "/opt/korvex suite");
        f.menuItem("aboutMaterial")->trigger();
        qunsetenv("korvexm");
        f.menuItem("aboutMaterial")->trigger();  // still called, with the bare suffix
        f.click("help");

        QCOMPARE(f.helpShown.size(), size_t(3));
        QCOMPARE(f.helpShown[0], std::string("/opt/korvex suite/help/Material.chm"));
        QCOMPARE(f.helpShown[1], std::string("/help/Material.chm"));
        const QString folder = QCoreApplication::applicationDirPath();
        QCOMPARE(QString::fromStdString(f.helpShown[2]),
                 folder.left(folder.size() - 10) + "/help/Material.chm");
    }

    void aboutBoxIsOneOwnerlessInstance() {
        Frame f;
        f.menuItem("aboutMaterialMenu")->trigger();
        AboutForm* box = f.window->aboutForm();
        QVERIFY(box);
        f.window->showAboutBox();
        QCOMPARE(aboutBoxes(), QList<AboutForm*>{box});
        QCOMPARE(f.window->aboutForm(), box);

        QVERIFY(box->isVisible());
        QVERIFY(!box->isModal());
        QCOMPARE(box->parentWidget(), nullptr);
        QCOMPARE(box->windowTitle(), QString("About Material Browser "));
        QCOMPARE(box->palette().color(QPalette::Window), QColor(192, 192, 192));
        QVERIFY(!box->findChild<QLabel*>("aboutPicture")->pixmap().isNull());
        QVERIFY(!box->windowIcon().isNull());
        QStringList texts;
        for (QLabel* label : box->findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) {
                texts << label->text();
            }
        }
        // The browser's own texts, then the suite's version in its own line after them.
        QCOMPARE(texts.mid(0, 3), QStringList({"Korvex/M Material Browser", "Version 3.0",
                                               "korvex-tools " KT_VERSION}));
        QVERIFY(texts.value(3).startsWith("Copyright \u00A9 Korvex. All rights reserved."));
        QCOMPARE(texts.size(), 4);
        const QLabel* version = box->findChild<QLabel*>("versionLabel");
        const QLabel* suite = box->findChild<QLabel*>("suiteVersionLabel");
        const QLabel* notice = box->findChild<QLabel*>("legalNoticeLabel");
        QVERIFY(version->geometry().bottom() < suite->geometry().top());
        QVERIFY(suite->geometry().bottom() < notice->geometry().top());
        QVERIFY(suite->width() >= suite->sizeHint().width());
    }

    void aboutOkHidesAndUnloads() {
        Frame f;
        f.window->showAboutBox();
        QPointer<AboutForm> first = f.window->aboutForm();
        auto* ok = first->findChild<QPushButton*>("aboutOKButton");
        QCOMPARE(ok->text(), QString("OK"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!first.isNull() && first->isHidden());  // hidden first ...
        flushDeletes();
        QVERIFY(first.isNull());  // ... then unloaded
        QVERIFY(aboutBoxes().isEmpty());

        f.window->showAboutBox();  // a fresh one next time
        QVERIFY(f.window->aboutForm());
        QTest::keyClick(f.window->aboutForm(), Qt::Key_Escape);
        flushDeletes();
        QVERIFY(aboutBoxes().isEmpty());
    }

    void aboutBoxDoesNotOutliveTheFrame() {
        QPointer<AboutForm> box;
        {
            Frame f;
            f.window->showAboutBox();
            box = f.window->aboutForm();
            QVERIFY(!box->testAttribute(Qt::WA_QuitOnClose));
        }
        QVERIFY(box.isNull());
    }

    void togglesGoByTheBarsOwnState() {
        Frame f;
        QCOMPARE(f.window->toggleToolbar(), false);
        QVERIFY(f.toolbar()->isHidden());
        QCOMPARE(f.window->toggleToolbar(), true);
        QVERIFY(!f.toolbar()->isHidden());

        QCOMPARE(f.window->toggleStatusBar(), false);
        QVERIFY(f.statusBar()->isHidden());
        f.statusBar()->show();  // shown some other way: the toggle hides it again
        QCOMPARE(f.window->toggleStatusBar(), false);
        QVERIFY(f.statusBar()->isHidden());
        QVERIFY(!f.toolbar()->isHidden());
    }

    void frameShortcutsWork() {
        Frame f;
        f.showAndWait();
        QTest::keyClick(f.window.get(), Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(f.window.get(), Qt::Key_F1);
        QCOMPARE(f.commands.calls, std::vector<std::string>{"open"});
        QCOMPARE(f.helpShown.size(), size_t(1));
    }

    void libraryMenusReplaceAndRestoreTheFrameMenus() {
        Frame f;
        f.showAndWait();
        QMenu libraryFile("&File");
        QMenu libraryHelp("&Help");
        QAction* libraryTopics = libraryHelp.addAction("&Help Topics");
        libraryTopics->setShortcut(QKeySequence(Qt::Key_F1));
        QSignalSpy libraryHelpShown(libraryTopics, &QAction::triggered);
        f.window->showMenus({&libraryFile, &libraryHelp});
        QCOMPARE(f.window->menuBar()->actions(),
                 (QList<QAction*>{libraryFile.menuAction(), libraryHelp.menuAction()}));

        // The frame's own keys rest while the library window's menus are shown.
        QTest::keyClick(f.window.get(), Qt::Key_F1);
        QTest::keyClick(f.window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(libraryHelpShown.count(), 1);
        QVERIFY(f.helpShown.empty());
        QVERIFY(f.commands.calls.empty());

        f.window->showFrameMenus();
        const QList<QAction*> bar = f.window->menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->menu()->objectName(), QString("fileMenu"));
        QCOMPARE(bar[0]->menu()->actions().size(), 4);
        QVERIFY(f.menuItem("fileOpenMenu"));
    }

    void exitEndsTheProgramWithoutAsking() {
        Frame f;
        f.showAndWait();
        f.window->showAboutBox();
        QTimer::singleShot(0, f.menuItem("fileExitMenu"), &QAction::trigger);
        QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });  // in case Exit hangs
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(f.commands.calls.empty());
    }

    void closingAsksTheLibraryWindowFirst() {
        Frame f;
        f.showAndWait();
        f.commands.allowClose = false;
        QVERIFY(!f.window->close());
        QVERIFY(f.window->isVisible());
        f.commands.allowClose = true;
        QVERIFY(f.window->close());
        QCOMPARE(f.commands.calls, (std::vector<std::string>{"close", "close"}));
    }
};

QTEST_MAIN(FrameTest)
#include "frame_test.moc"
