// The purge dialog driven through its real widgets, with scripted message boxes,
// file chooser and help, and either a recording stand-in or the real purge.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <memory>
#include <optional>

#include "CAboutDlg.h"
#include "CkwpurgeDlg.h"
#include "DesktopHelpViewer.h"
#include "DialogUnits.h"
#include "HelpViewer.h"
#include "QtStrings.h"
#include "purge/PurgeDocument.h"

using namespace spdialog;

namespace {

const QString kNotFound =
    QStringLiteral("Simulation file is not found, pleease check input file pathname.");
const QString kCleaned = QStringLiteral(
    "Success - Simulation data is cleaned from the file for selected simulation product(s).");
const QString kNoFile = QStringLiteral("Please select a PLANDRY file before clicking this button");
const QString kNoProduct =
    QStringLiteral("Please select a Simulation Product name before clicking this button");

class FakeMessageBoxes : public spapp::MessageBoxes {
  public:
    QStringList shown;

    void show(void*, const std::string& text) override { shown << QString::fromStdString(text); }
};

class FakeFileChooser : public spapp::FileChooser {
  public:
    std::optional<QString> nextAnswer;
    QStringList filters;

    std::optional<std::string> openFile(void*, const std::string& filter) override {
        filters << QString::fromStdString(filter);
        if (!nextAnswer) {
            return std::nullopt;
        }
        return nextAnswer->toStdString();
    }
};

class NoHelp : public HelpViewer {
  public:
    bool show(void*) override { return false; }
};

// What the purge read from the dialog when it ran.
struct PurgeCall {
    std::string path;
    bool simulation, quiklet, flow, motion, sustainability;
};

PurgeCall readPort(const purge::PurgeDialogPort& port) {
    return {port.filePath(),  port.cleanSimulation(), port.cleanSimulationQuiklet(),
            port.cleanFlow(), port.cleanMotion(),     port.cleanSustainability()};
}

void realPurge(purge::PurgeDialogPort& port) {
    purge::PurgeDocument(port);
}

struct Harness {
    FakeMessageBoxes messages;
    FakeFileChooser files;
    NoHelp help;
    std::vector<PurgeCall> purgeCalls;
    std::unique_ptr<CkwpurgeDlg> dialog;

    explicit Harness(PurgeOperation purge = {}) {
        if (!purge) {
            purge = [this](purge::PurgeDialogPort& port) { purgeCalls.push_back(readPort(port)); };
        }
        dialog = std::make_unique<CkwpurgeDlg>(DialogServices{messages, files, help, purge});
    }

    template <typename T>
    T* get(const QString& name) const {
        return dialog->findChild<T*>(name);
    }
    QLineEdit* pathEdit() const { return get<QLineEdit>(QStringLiteral("edit1001")); }
    QLabel* statusLine() const { return get<QLabel>(QStringLiteral("static1018")); }
    QCheckBox* check(int id) const { return get<QCheckBox>(QStringLiteral("check%1").arg(id)); }
    QPushButton* button(int id) const {
        return get<QPushButton>(QStringLiteral("button%1").arg(id));
    }
    QList<int> tickedIds() const {
        QList<int> ids;
        for (int id : {1009, 1008, 1010, 1013, 1014}) {
            if (check(id)->isChecked()) {
                ids << id;
            }
        }
        return ids;
    }
    // Types the path key by key, letters beyond ASCII included.
    void typePath(const QString& path) {
        pathEdit()->clear();
        for (QChar c : path) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(pathEdit(), &press);
        }
    }
    void clean() { QTest::mouseClick(button(1012), Qt::LeftButton); }
};

// Runs `step` on the first widget for which `find` answers, once it appears
// (inside a nested modal loop); gives up after two seconds.
void whenShown(std::function<QWidget*()> find, std::function<void(QWidget*)> step,
               int triesLeft = 200) {
    QTimer::singleShot(10, [=] {
        if (QWidget* widget = find()) {
            step(widget);
        } else if (triesLeft > 0) {
            whenShown(find, step, triesLeft - 1);
        }
    });
}

// Makes a compound file whose storages hold the named items (gsf from libgsf-bin).
bool makeCompoundFile(const QString& folder, const QString& file) {
    const QString tree = folder + QStringLiteral("/tree");
    for (const char* dir : {"ThirdPtyStore/Korworks", "ThirdPty"}) {
        QDir().mkpath(tree + QLatin1Char('/') + QLatin1String(dir));
    }
    for (const char* item : {"ThirdPtyStore/Korworks/results", "ThirdPtyStore/KorvexQuiklet",
                             "ThirdPty/SUSTAINABILITY2010FULL"}) {
        QFile stream(tree + QLatin1Char('/') + QLatin1String(item));
        if (!stream.open(QIODevice::WriteOnly) || stream.write("study data\n") < 0) {
            return false;
        }
    }
    QProcess gsf;
    gsf.setWorkingDirectory(tree);
    gsf.start(QStringLiteral("gsf"), {QStringLiteral("createole"), file,
                                      QStringLiteral("ThirdPtyStore"), QStringLiteral("ThirdPty")});
    return gsf.waitForFinished() && gsf.exitCode() == 0 && QFile::exists(file);
}

QString listCompoundFile(const QString& file) {
    QProcess gsf;
    gsf.start(QStringLiteral("gsf"), {QStringLiteral("list"), file});
    gsf.waitForFinished();
    return QString::fromLocal8Bit(gsf.readAllStandardOutput());
}

}  // namespace

class DialogTest : public QObject {
    Q_OBJECT

  private slots:
    void startsWithTheControlsInTabOrder();
    void ticksReachThePurgeAsTheirProducts_data();
    void ticksReachThePurgeAsTheirProducts();
    void refusesWithoutPathOrProduct();
    void missingFileKeepsPathAndTicksUntilTheCleanSucceeds();
    void cleanThatDoesNothingLeavesNoSuccessText();
    void browsingSetsThePathAndClearsTheStatusLine();
    void filterTurnsIntoQtForm_data();
    void filterTurnsIntoQtForm();
    void enterEndsTheDialogUnlessAButtonHasFocus();
    void contextMenuOpensTheAboutBox();
    void desktopHelpOpensTheHelpFileWhenThereIsOne();
};

void DialogTest::startsWithTheControlsInTabOrder() {
    Harness h;
    QCOMPARE(h.dialog->windowTitle(), QStringLiteral("PLANDRY studypurge "));

    // Every control, in creation (tab) order, with its exact text.
    const QList<QPair<QString, QString>> controls = {
        {"group1021", "Clean all Simulation data from file"},
        {"static1016", "Choose PLANDRY file (*.pldprt;*.pldasm)"},
        {"edit1001", ""},
        {"button1002", "Browse..."},
        {"static1017", "Clean studies from following products:"},
        {"icon138", ""},
        {"check1009", "PLANDRY Simulation"},
        {"icon134", ""},
        {"check1008", "SimulationQuiklet"},
        {"icon132", ""},
        {"check1010", "PLANDRY Motion"},
        {"icon141", ""},
        {"check1013", "PLANDRY Flow Simulation (include Driftlet)"},
        {"icon140", ""},
        {"check1014", "PLANDRY  Sustainability"},
        {"static1018", ""},
        {"button1012", "Clean File"},
        {"button2", "Close"},
        {"button1011", "Help"},
    };
    QList<QPair<QString, QString>> actual;
    for (QObject* child : h.dialog->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget) {
            continue;
        }
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            text = button->text();
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            text = edit->text();
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            text = group->title();
        }
        actual.append({widget->objectName(), text});
    }
    QCOMPARE(actual, controls);
    for (int id : {138, 134, 132, 141, 140}) {
        auto* icon = h.get<QLabel>(QStringLiteral("icon%1").arg(id));
        QVERIFY2(!icon->pixmap().isNull(), qPrintable(icon->objectName()));
    }
    QVERIFY(h.tickedIds().isEmpty());

    // The focus chain visits the focusable controls in the table's order and wraps.
    const QStringList focusOrder = {"edit1001",  "button1002", "check1009", "check1008",
                                    "check1010", "check1013",  "check1014", "button1012",
                                    "button2",   "button1011", "edit1001"};
    QStringList chain = {h.pathEdit()->objectName()};
    for (QWidget* w = h.pathEdit()->nextInFocusChain(); chain.size() < focusOrder.size();
         w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus) {
            chain << w->objectName();
        }
    }
    QCOMPARE(chain, focusOrder);

    // Positions are dialog units of the dialog's font.
    const DialogUnits du = DialogUnits::forFont(h.dialog->font());
    QCOMPARE(h.dialog->font().pointSize(), 8);
    QCOMPARE(h.dialog->size(), du.size(323, 239));
    QCOMPARE(h.pathEdit()->geometry(), du.rect(13, 38, 246, 15));
    QCOMPARE(h.check(1014)->geometry(), du.rect(43, 169, 145, 10));
    QCOMPARE(h.button(1011)->geometry(), du.rect(265, 216, 50, 14));

    // No fixed text is clipped, whatever the font makes of the layout's widths.
    for (const char* name : {"static1016", "static1017", "check1009", "check1008", "check1010",
                             "check1013", "check1014"}) {
        auto* control = h.get<QWidget>(QLatin1String(name));
        QVERIFY2(control->width() >= control->sizeHint().width(), name);
    }
}

void DialogTest::ticksReachThePurgeAsTheirProducts_data() {
    QTest::addColumn<int>("checkId");
    QTest::addColumn<QList<bool>>("expected");  // simulation, quiklet, flow, motion, sustain.
    QTest::newRow("Simulation") << 1009 << QList<bool>{true, false, false, false, false};
    QTest::newRow("Quiklet") << 1008 << QList<bool>{false, true, false, false, false};
    QTest::newRow("Flow") << 1013 << QList<bool>{false, false, true, false, false};
    QTest::newRow("Motion") << 1010 << QList<bool>{false, false, false, true, false};
    QTest::newRow("Sustainability") << 1014 << QList<bool>{false, false, false, false, true};
}

void DialogTest::ticksReachThePurgeAsTheirProducts() {
    QFETCH(int, checkId);
    QFETCH(QList<bool>, expected);
    Harness h;
    // A typed path goes to the purge exactly as typed, blanks and all.
    const QString typed = QStringLiteral(" /tmp/Entwürfe/part one.PLDPRT ");
    h.typePath(typed);
    QTest::mouseClick(h.check(checkId), Qt::LeftButton);
    h.clean();

    QVERIFY(h.messages.shown.isEmpty());
    QCOMPARE(h.purgeCalls.size(), size_t(1));
    const PurgeCall& call = h.purgeCalls.front();
    QCOMPARE(QString::fromStdString(call.path), typed);
    const QList<bool> flags = {call.simulation, call.quiklet, call.flow, call.motion,
                               call.sustainability};
    QCOMPARE(flags, expected);
}

void DialogTest::refusesWithoutPathOrProduct() {
    Harness h;
    h.clean();
    QTest::mouseClick(h.check(1010), Qt::LeftButton);
    h.clean();  // still no path
    QTest::mouseClick(h.check(1010), Qt::LeftButton);
    h.typePath(QStringLiteral("/tmp/doc.pldasm"));
    h.clean();  // no product

    QCOMPARE(h.messages.shown, QStringList({kNoFile, kNoFile, kNoProduct}));
    QVERIFY(h.purgeCalls.empty());
    QCOMPARE(h.pathEdit()->text(), QStringLiteral("/tmp/doc.pldasm"));
}

void DialogTest::missingFileKeepsPathAndTicksUntilTheCleanSucceeds() {
    QTemporaryDir dir;
    const QString document = dir.filePath(QStringLiteral("bracket.pldprt"));
    if (QStandardPaths::findExecutable(QStringLiteral("gsf")).isEmpty() ||
        !makeCompoundFile(dir.path(), document)) {
        QSKIP("gsf from libgsf-bin is needed to make a compound file");
    }
    Harness h(realPurge);
    h.dialog->setStatusText(kCleaned.toStdString());  // from an earlier clean
    const QString missing = dir.filePath(QStringLiteral("missing.pldprt"));
    h.typePath(missing);
    QTest::mouseClick(h.check(1009), Qt::LeftButton);
    QTest::mouseClick(h.check(1014), Qt::LeftButton);
    h.clean();

    QCOMPARE(h.messages.shown, QStringList({kNotFound}));
    QCOMPARE(h.pathEdit()->text(), missing);
    QCOMPARE(h.tickedIds(), QList<int>({1009, 1014}));

    // Correct the path; the ticks are still there.
    h.typePath(document);
    h.clean();

    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.statusLine()->text(), kCleaned);
    QCOMPARE(h.pathEdit()->text(), QString());
    QVERIFY(h.tickedIds().isEmpty());
    const QString left = listCompoundFile(document);
    QVERIFY2(!left.contains(QStringLiteral("Korworks")), qPrintable(left));
    QVERIFY2(!left.contains(QStringLiteral("SUSTAINABILITY2010FULL")), qPrintable(left));
    QVERIFY2(left.contains(QStringLiteral("ThirdPtyStore/KorvexQuiklet")), qPrintable(left));
}

void DialogTest::cleanThatDoesNothingLeavesNoSuccessText() {
    // A purge that neither succeeds nor reports (the document manager could not open
    // the document): the success line of the previous clean must not stay.
    Harness silent([](purge::PurgeDialogPort&) {});
    silent.dialog->setStatusText(kCleaned.toStdString());
    silent.typePath(QStringLiteral("/tmp/locked.pldprt"));
    QTest::mouseClick(silent.check(1009), Qt::LeftButton);
    silent.clean();
    QCOMPARE(silent.statusLine()->text(), QString());
    QCOMPARE(silent.tickedIds(), QList<int>({1009}));

    // The real purge on a file that is no compound file, with no document manager
    // here: whatever it reports, the status line shows no success.
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("notes.pldasm"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a compound file\n");
    file.close();
    Harness real(realPurge);
    real.dialog->setStatusText(kCleaned.toStdString());
    real.typePath(text);
    QTest::mouseClick(real.check(1010), Qt::LeftButton);
    real.clean();
    QCOMPARE(real.statusLine()->text(), QString());
}

void DialogTest::browsingSetsThePathAndClearsTheStatusLine() {
    Harness h;
    h.typePath(QStringLiteral("/typed/by/hand.pldprt"));
    h.dialog->setStatusText(kCleaned.toStdString());
    h.files.nextAnswer = std::nullopt;  // cancelled
    QTest::mouseClick(h.button(1002), Qt::LeftButton);
    QCOMPARE(h.statusLine()->text(), QString());
    QCOMPARE(h.pathEdit()->text(), QStringLiteral("/typed/by/hand.pldprt"));

    h.dialog->setStatusText(kCleaned.toStdString());
    h.files.nextAnswer = QStringLiteral("/data/Pump Assembly.pldasm");
    QTest::mouseClick(h.button(1002), Qt::LeftButton);
    QCOMPARE(h.statusLine()->text(), QString());
    QCOMPARE(h.pathEdit()->text(), QStringLiteral("/data/Pump Assembly.pldasm"));
    QCOMPARE(QString::fromStdString(h.dialog->filePath()),
             QStringLiteral("/data/Pump Assembly.pldasm"));

    const QString string106 = loadQString(106);
    QCOMPARE(h.files.filters, QStringList({string106, string106}));
}

void DialogTest::filterTurnsIntoQtForm_data() {
    QTest::addColumn<QString>("pairs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("string 106")
        << loadQString(106)
        << "PLANDRY Files (*.pldprt *.pldasm);;PLANDRY Part Files (*.pldprt);;PLANDRY Assembly "
           "Files (*.pldasm)";
    QTest::newRow("fallback") << QString::fromLatin1(kFallbackFilter)
                              << "Plandry Part Files (*.pldprt);;Plandry Assembly Files (*.pldasm)";
    QTest::newRow("description without patterns") << "Parts|*.pldprt;*.PLDPRT|All|*.*||"
                                                  << "Parts (*.pldprt *.PLDPRT);;All (*.*)";
    QTest::newRow("dangling description") << "Parts (*.x)|*.pldprt|Odd"
                                          << "Parts (*.pldprt)";
    QTest::newRow("empty") << ""
                           << "";
}

void DialogTest::filterTurnsIntoQtForm() {
    QFETCH(QString, pairs);
    QFETCH(QString, expected);
    QCOMPARE(qtFilterFromPairs(pairs), expected);
}

void DialogTest::enterEndsTheDialogUnlessAButtonHasFocus() {
    for (const char* focused : {"edit1001", "check1013"}) {
        Harness h;
        h.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.dialog.get()));
        QTest::keyClick(h.get<QWidget>(QLatin1String(focused)), Qt::Key_Return);
        QVERIFY2(!h.dialog->isVisible(), focused);
        QCOMPARE(h.dialog->result(), int(QDialog::Accepted));
    }

    // A focused push button takes Enter as its own click.
    Harness h;
    h.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.dialog.get()));
    h.button(1012)->setFocus();
    QTest::keyClick(h.button(1012), Qt::Key_Return);
    QVERIFY(h.dialog->isVisible());
    QCOMPARE(h.messages.shown, QStringList({kNoFile}));

    QTest::mouseClick(h.button(2), Qt::LeftButton);
    QVERIFY(!h.dialog->isVisible());
    QCOMPARE(h.dialog->result(), int(QDialog::Rejected));
}

void DialogTest::contextMenuOpensTheAboutBox() {
    Harness h;
    h.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.dialog.get()));

    QStringList menuItems;
    QString aboutTitle, aboutVersion, aboutText, suiteVersion;
    QRect aboutTextPlace, suitePlace;
    bool okIsDefault = false;
    QSize aboutSize;
    whenShown([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
              [&](QWidget* popup) {
                  auto* menu = static_cast<QMenu*>(popup);
                  for (QAction* action : menu->actions()) {
                      menuItems << action->text();
                  }
                  whenShown(
                      [] { return qobject_cast<CAboutDlg*>(QApplication::activeModalWidget()); },
                      [&](QWidget* box) {
                          aboutTitle = box->windowTitle();
                          aboutSize = box->size();
                          aboutVersion = box->findChild<QLabel*>("static_version")->text();
                          auto* about = box->findChild<QLabel*>("static_about");
                          aboutText = about->text();
                          aboutTextPlace = about->geometry();
                          auto* suite = box->findChild<QLabel*>("static_suite_version");
                          suiteVersion = suite->text();
                          suitePlace = suite->geometry();
                          auto* ok = box->findChild<QPushButton*>("button1");
                          okIsDefault = ok->isDefault();
                          QTest::mouseClick(ok, Qt::LeftButton);
                      });
                  menu->setActiveAction(menu->actions().value(0));
                  QTest::keyClick(menu, Qt::Key_Return);
              });
    const QPoint inside(20, 20);
    QContextMenuEvent event(QContextMenuEvent::Mouse, inside, h.dialog->mapToGlobal(inside));
    QApplication::sendEvent(h.dialog.get(), &event);

    QCOMPARE(menuItems, QStringList({QStringLiteral("&About studypurge...")}));
    QCOMPARE(aboutTitle, QStringLiteral("About studypurge"));
    QCOMPARE(aboutVersion, QStringLiteral("studypurge version 2012"));
    QVERIFY(okIsDefault);
    QCOMPARE(aboutText, QStringLiteral("Removes the data of analysis products\n"
                                       "from PLANDRY part and assembly files."));
    // The suite's version in a line of its own under the description, inside the box.
    QCOMPARE(suiteVersion, QStringLiteral("korvex-tools " KT_VERSION));
    QVERIFY(suitePlace.top() > aboutTextPlace.bottom());
    QVERIFY(suitePlace.bottom() < aboutSize.height());
    QCOMPARE(aboutSize, DialogUnits::forFont(h.dialog->font()).size(235, 60));
    QVERIFY(h.dialog->isVisible());
}

void DialogTest::desktopHelpOpensTheHelpFileWhenThereIsOne() {
    QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + "/studypurge.chm"));
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const QString book = dir.filePath(QStringLiteral("book/index.html"));
    QStringList opened;
    QStringList told;
    bool desktopTakesIt = true;
    DesktopHelpViewer viewer(
        [&](const QString& file) {
            opened << file;
            return desktopTakesIt;
        },
        [&](void*, const QString& text) { told << text; }, book);

    // Nothing there: the message names where the book belongs.
    const bool shownWithoutHelp = viewer.show(nullptr);
    // A compiled help file in the current folder is taken when there is no book.
    QFile chm(dir.filePath(QStringLiteral("studypurge.chm")));
    QVERIFY(chm.open(QIODevice::WriteOnly));
    chm.close();
    const bool shownChm = viewer.show(nullptr);
    // The book comes first.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("book")));
    QFile page(book);
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    const bool shownBook = viewer.show(nullptr);
    // A desktop that cannot open it: the message says where the help is.
    desktopTakesIt = false;
    const bool shownWithoutHandler = viewer.show(nullptr);

    QDir::setCurrent(previous);
    QVERIFY(!shownWithoutHelp);
    QVERIFY(shownChm);
    QVERIFY(shownBook);
    QVERIFY(!shownWithoutHandler);
    const QString chmPath = QFileInfo(chm.fileName()).absoluteFilePath();
    const QString bookPath = QFileInfo(book).absoluteFilePath();
    QCOMPARE(opened, QStringList({chmPath, bookPath, bookPath}));
    QCOMPARE(told,
             QStringList({"The help is not installed. The program looks for it in:\n" + book,
                          "The help could not be opened. You will find it in:\n" + bookPath}));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("studypurge"));
    DialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "dialog_test.moc"
