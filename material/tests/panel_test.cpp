// Drives the property panel through the real library window on the offscreen platform:
// the type and unit lists, typing into the grid, Clear and Reset, with the user's
// answers scripted.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>
#include <cmath>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "LibraryTreeView.h"
#include "LibraryWindowWidget.h"
#include "MaterialBrowser.h"
#include "PropertyPanel.h"
#include "QtLibraryPrompts.h"
#include "app/PanelRules.h"
#include "data/LibraryFile.h"
#include "data/ModelCatalogue.h"
#include "ui_fakes.h"
#include "units/registry/ConfigFileStore.h"

using namespace material;
using namespace material::uitest;

Q_DECLARE_METATYPE(material::MessageAnswer)

namespace {

// Real message boxes; the file dialogs stay scripted.
class BoxPrompts final : public LibraryPrompts {
  public:
    explicit BoxPrompts(ScriptedPrompts& files) : files_(files) {}
    MessageAnswer Message(const std::string& text, MessageButtons buttons,
                          MessageIcon icon) override {
        return boxes_.Message(text, buttons, icon);
    }
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override {
        return files_.OpenFile(request);
    }
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override {
        return files_.SaveFile(request);
    }

  private:
    QtLibraryPrompts boxes_;
    ScriptedPrompts& files_;
};

// The value of `code` held by `record` (SI), or nothing when it holds none.
std::optional<double> heldValue(const clsMaterial& record, const char* code) {
    clsMaterial probe(record);
    probe.setProperty(code);
    if (probe.Index() == kNoSlot || !probe.HasValue(probe.Index())) {
        return std::nullopt;
    }
    return probe.value();
}

bool near(double a, double b, double relative = 1e-6) {
    return std::abs(a - b) <= relative * std::max(std::abs(a), std::abs(b));
}

struct Browser {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    BoxPrompts boxes{prompts};
    PointSeparator separator;
    clsRegistry settings;
    std::unique_ptr<MaterialBrowser> browser;

    explicit Browser(bool realBoxes = false)
        : settings(std::make_unique<ConfigFileStore>(
              std::filesystem::path(dir.path().toStdString()) / "settings")) {
        LibraryPrompts& used = realBoxes ? static_cast<LibraryPrompts&>(boxes) : prompts;
        browser = std::make_unique<MaterialBrowser>(BrowserServices{
            used, PlatformFileSystem(), separator, settings, nullptr, std::make_unique<NoHelp>()});
        browser->frame().resize(1100, 760);
        browser->frame().show();
        browser->frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&browser->frame()));
    }

    // Opens a copy of the sample library; returns its path.
    std::string openSample() {
        const QString path = dir.path() + "/korwkmat.lib";
        QFile::remove(path);
        QFile::copy(QStringLiteral(KT_SAMPLE_LIBRARY), path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        prompts.openChoices.push_back(path.toStdString());
        browser->frame().findChild<QToolBar*>("Toolbar1")->findChild<QAction*>("open")->trigger();
        prompts.shown.clear();
        return path.toStdString();
    }

    LibraryController& library() { return browser->library(); }
    LibraryWindowWidget* form() { return browser->form(); }
    PropertyPanel* panel() { return form()->propertyPanel(); }
    PropertyTable* grid() { return panel()->grid(); }
    QComboBox* combo(const char* name) { return form()->findChild<QComboBox*>(name); }
    QAction* action(const char* name) { return form()->findChild<QAction*>(name); }
    QLineEdit* field(const char* name) { return form()->findChild<QLineEdit*>(name); }
    QPushButton* button(const char* name) { return form()->findChild<QPushButton*>(name); }
    QTreeWidget* tree() { return form()->findChild<LibraryTreeView*>("TreeView1"); }

    QTreeWidgetItem* item(const QString& text) {
        for (QTreeWidgetItemIterator it(tree()); *it != nullptr; ++it) {
            if ((*it)->text(0).trimmed() == text) {
                return *it;
            }
        }
        return nullptr;
    }
    void click(const QString& text) { tree()->setCurrentItem(item(text)); }
    QStringList children(const QString& category) {
        QStringList names;
        QTreeWidgetItem* parent = item(category);
        for (int i = 0; parent != nullptr && i < parent->childCount(); ++i) {
            names << parent->child(i)->text(0).trimmed();
        }
        return names;
    }
    int selected() { return library().SelectedMaterialPosition(); }
    clsMaterial& record(int position) {
        return library().Content().materials[static_cast<std::size_t>(position)];
    }
    clsMaterial& selectedRecord() { return record(selected()); }

    void setType(int type) { combo("typeCombo")->setCurrentIndex(type); }
    void setUnits(int position) { combo("unitsCombo")->setCurrentIndex(position); }

    // Table row of the property `code`; -1 when the grid has no such row.
    int rowOf(const QString& code) {
        for (int r = 0; r < grid()->rowCount(); ++r) {
            if (grid()->item(r, kPropertyColumn)->text().trimmed() == code) {
                return r;
            }
        }
        return -1;
    }
    QString cell(const QString& code, int column = kValueColumn) {
        const int row = rowOf(code);
        return row < 0 ? QStringLiteral("<none>") : grid()->item(row, column)->text();
    }
    // Moves into the value cell of `code`, which opens its editor.
    QLineEdit* enter(const QString& code) {
        grid()->setCurrentCell(rowOf(code), kValueColumn);
        return qobject_cast<QLineEdit*>(grid()->indexWidget(grid()->currentIndex()));
    }
    // Types `text` over the value of `code` with the keyboard; the cell stays open.
    void type(const QString& code, const QString& text) {
        QLineEdit* editor = enter(code);
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, text);
    }
    // Leaves the current cell for the description beside it.
    void leave() { grid()->setCurrentCell(grid()->currentRow(), kDescriptionColumn); }
    void typeAndLeave(const QString& code, const QString& text) {
        type(code, text);
        leave();
    }
};

}  // namespace

class PanelTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(QStringLiteral(KT_SAMPLE_LIBRARY)), KT_SAMPLE_LIBRARY);
    }

    // Leave-cell rules, each typed over the SI value of a sample steel.
    void leavingAValueCell_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<double>("expected");  // the SI value held afterwards when stored
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shownAfter");
        QTest::addColumn<bool>("stillEditing");

        QTest::newRow("negative Poisson's ratio") << "NUXY"
                                                  << "-0.3" << true << -0.3 << ""
                                                  << "-0.3" << false;
        QTest::newRow("negative modulus")
            << "EX"
            << "-5" << false << 0.0 << QString::fromLatin1(kPositiveValueMessage.data()) << ""
            << true;
        QTest::newRow("letters") << "EX"
                                 << "abc" << false << 0.0 << ""
                                 << "" << true;
        QTest::newRow("number with letters") << "DENS"
                                             << "12kg" << false << 0.0 << ""
                                             << "" << true;
        QTest::newRow("empty") << "EX"
                               << "" << false << 0.0 << ""
                               << "" << false;
        QTest::newRow("blanks") << "DENS"
                                << "   " << false << 0.0 << ""
                                << "   " << false;
        QTest::newRow("too large for its field")
            << "EX"
            << "1.7976931348623157e308" << false << 0.0
            << QString::fromLatin1(kValueTooLargeMessage.data()) << "" << true;
        QTest::newRow("positive") << "DENS"
                                  << " 7800 " << true << 7800.0 << ""
                                  << " 7800 " << false;
    }
    void leavingAValueCell() {
        QFETCH(QString, code);
        QFETCH(QString, typed);
        QFETCH(bool, stored);
        QFETCH(double, expected);
        QFETCH(QString, message);
        QFETCH(QString, shownAfter);
        QFETCH(bool, stillEditing);

        Browser b;
        b.openSample();
        b.setUnits(1);
        const std::string key = code.toStdString();
        const std::optional<double> before = heldValue(b.selectedRecord(), key.c_str());
        QVERIFY(before.has_value());

        b.typeAndLeave(code, typed);
        const std::optional<double> after = heldValue(b.selectedRecord(), key.c_str());
        QVERIFY(after.has_value());
        QCOMPARE(*after, stored ? expected : *before);
        const std::vector<std::string> shown = b.prompts.takeAll();
        QCOMPARE(shown.empty() ? QString() : QString::fromStdString(shown.front()), message);
        QCOMPARE(b.cell(code), shownAfter);
        QCOMPARE(b.panel()->gridEdited(), stillEditing);
    }

    void commitOverwriteTakesTwinValuesAndPanelIdentity() {
        // Reset takes the twin's values back: what was typed is gone, the name stays.
        Browser b;
        b.openSample();
        b.setUnits(1);
        const double original = *heldValue(b.selectedRecord(), "EX");
        b.typeAndLeave("EX", "1");
        QCOMPARE(*heldValue(b.selectedRecord(), "EX"), 1.0);
        b.field("descriptionText")->setText("Edited description");
        b.prompts.answers = {MessageAnswer::Ok};
        b.button("reset")->click();
        QCOMPARE(b.prompts.takeAll(), std::vector<std::string>{std::string(kOverwriteQuestion)});
        QCOMPARE(*heldValue(b.selectedRecord(), "EX"), original);
        // The record that is written keeps the description shown in the panel.
        QCOMPARE(b.selectedRecord().MaterialDescription(), std::string("Edited description"));
        QCOMPARE(b.panel()->shownUnitSystem(), std::string("SI"));
    }

    void movingThroughCellsWithoutTypingChangesNothing() {
        Browser b;
        b.openSample();
        b.setUnits(0);  // IPS shows converted values with few digits
        const clsMaterial before = b.selectedRecord();
        for (const int type : {0, 1, 12}) {
            b.setType(type);
            b.enter(b.grid()->item(0, kPropertyColumn)->text().trimmed());
            for (int r = 1; r < b.grid()->rowCount(); ++r) {
                QWidget* editor = b.grid()->indexWidget(b.grid()->currentIndex());
                QVERIFY(editor != nullptr);
                QTest::keyClick(editor, Qt::Key_Down);
                QCOMPARE(b.grid()->currentRow(), r);
            }
            b.leave();
        }
        b.field("descriptionText")->setFocus();
        for (PropertySlot s = 0; s <= kLastValueSlot; ++s) {
            QCOMPARE(b.selectedRecord().HasValue(s), before.HasValue(s));
            const std::string& code = clsMaterial::GetNthProperty(s);
            if (before.HasValue(s) && !code.empty()) {
                QCOMPARE(*heldValue(b.selectedRecord(), code.c_str()),
                         *heldValue(before, code.c_str()));
            }
        }
    }

    void unitsChangedWhileTypingStoreTheValueFirst_data() {
        QTest::addColumn<bool>("focusTheList");
        QTest::newRow("list takes the focus") << true;
        QTest::newRow("list changed without the focus") << false;
    }
    void unitsChangedWhileTypingStoreTheValueFirst() {
        QFETCH(bool, focusTheList);
        Browser b;
        b.openSample();
        b.setUnits(1);
        b.type("EX", "2E11");
        if (focusTheList) {
            b.combo("unitsCombo")->setFocus();
            QCOMPARE(*heldValue(b.selectedRecord(), "EX"), 2e11);  // stored on the focus
            QCOMPARE(b.grid()->currentRow(), 0);
            QCOMPARE(b.grid()->currentColumn(), kDescriptionColumn);
        }
        b.setUnits(2);
        QCOMPARE(*heldValue(b.selectedRecord(), "EX"), 2e11);  // in SI, not read as MKS
        QVERIFY(b.cell("EX").startsWith("2039"));              // kgf/cm^2
        QVERIFY(!b.panel()->gridEdited());
    }

    void ipsEntryIsStoredInSi() {
        Browser b;
        b.openSample();
        b.setUnits(0);
        b.typeAndLeave("EX", "1");
        QVERIFY(near(*heldValue(b.selectedRecord(), "EX"), 6893.5773));
        b.setUnits(1);
        QVERIFY2(b.cell("EX").startsWith("6893.57"), qPrintable(b.cell("EX")));
    }

    void aRealMessageBoxWhileMovingOnByKeyboard() {
        Browser b(true);
        b.openSample();
        b.setUnits(1);
        const double before = *heldValue(b.selectedRecord(), "EX");
        b.type("EX", "-5");
        QString seen;
        QTimer::singleShot(0, [&seen] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = box->text();
                box->accept();
            }
        });
        QTest::keyClick(b.grid()->indexWidget(b.grid()->currentIndex()), Qt::Key_Down);
        QCOMPARE(seen, QString::fromLatin1(kPositiveValueMessage.data()));
        QCOMPARE(*heldValue(b.selectedRecord(), "EX"), before);
        QCOMPARE(b.cell("EX"), QString());
        QCOMPARE(b.grid()->currentRow(), b.rowOf("EX") + 1);
        // The next cell is open for typing, and takes an entry as usual.
        QLineEdit* editor =
            qobject_cast<QLineEdit*>(b.grid()->indexWidget(b.grid()->currentIndex()));
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, "0.25");
        b.leave();
        QCOMPARE(*heldValue(b.selectedRecord(), "NUXY"), 0.25);
    }

    void typingAgainAfterASaveIsStored() {
        Browser b;
        b.openSample();
        b.setUnits(1);
        b.type("DENS", "7000");
        b.action("saveMenu")->trigger();  // the shortcut leaves the focus in the cell
        QCOMPARE(*heldValue(b.selectedRecord(), "DENS"), 7000.0);
        QCOMPARE(b.grid()->currentRow(), b.rowOf("DENS"));
        QTest::keyClicks(b.grid(), "6");  // opens the cell again with the key typed
        b.leave();
        QCOMPARE(*heldValue(b.selectedRecord(), "DENS"), 6.0);
    }

    void layoutsShowTheirOwnUnits_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("stress");
        QTest::addColumn<QString>("temperature");
        QTest::newRow("IPS") << 0 << "psi"
                             << "Fahrenheit";
        QTest::newRow("SI") << 1 << "N/m^2"
                            << "Kelvin";
        QTest::newRow("MKS") << 2 << "Kgf/cm^2"
                             << "Celsius";
    }
    void layoutsShowTheirOwnUnits() {
        QFETCH(int, position);
        QFETCH(QString, stress);
        QFETCH(QString, temperature);
        Browser b;
        b.openSample();
        b.setUnits(position);
        b.setType(8);
        QCOMPARE(b.cell("FRCANG", kUnitsColumn), QString("Degrees"));
        QCOMPARE(b.cell("COHESN", kUnitsColumn).trimmed(), stress);
        QCOMPARE(b.cell("EX", kUnitsColumn).trimmed(), stress);
        b.setType(12);
        QCOMPARE(b.grid()->rowCount(), 39);
        QCOMPARE(b.cell("REFTEMP", kUnitsColumn), temperature);
        QCOMPARE(b.cell("REFTEMP", kDescriptionColumn), QString("Glass transition temperature"));
    }

    void aValueSurvivesATypeSwitchAndIsSaved() {
        Browser b;
        const std::string path = b.openSample();
        b.setUnits(1);
        b.setType(0);
        b.type("NUXY", "0.27");
        b.setType(9);  // while the cell is still open
        QCOMPARE(b.cell("NUXY"), QString("0.27"));
        b.setType(0);
        QCOMPARE(b.cell("NUXY"), QString("0.27"));
        b.action("saveMenu")->trigger();
        const ReadOutcome read = ReadLibraryFile(path, NumberParser("."), PlatformFileSystem());
        QVERIFY(read.accepted);
        QCOMPARE(*heldValue(read.content.materials[0], "NUXY"), 0.27);
    }

    void editedSampleValueReadsBackEqual() {
        Browser b;
        const std::string path = b.openSample();
        b.setUnits(2);
        b.click("AISI 4140 steel, annealed");
        const int position = b.selected();
        QVERIFY(position > 0);
        // 2E11 N/m^2 in kgf/cm^2, to the seven digits shown
        b.typeAndLeave("EX", "2039432");
        const double held = *heldValue(b.record(position), "EX");
        b.action("saveMenu")->trigger();
        QCOMPARE(b.prompts.unexpected, 0);

        b.prompts.answers = {MessageAnswer::No};
        b.action("fileCloseMenu")->trigger();
        QVERIFY(b.form() == nullptr);
        b.prompts.openChoices.push_back(path);
        b.browser->frame().findChild<QToolBar*>("Toolbar1")->findChild<QAction*>("open")->trigger();
        QCOMPARE(b.combo("unitsCombo")->currentIndex(), 2);  // the position was kept
        b.click("AISI 4140 steel, annealed");
        // The file keeps five digits of a value this large
        QVERIFY(near(*heldValue(b.record(position), "EX"), held, 5e-5));
        QCOMPARE(b.cell("EX"), QString("2039432"));
    }

    void commitOverwriteCancelChangesNothing() {
        Browser b;
        b.openSample();
        b.setUnits(1);
        b.typeAndLeave("EX", "5");
        const std::vector<MaterialEntry> entries = b.library().Content().entries;
        b.prompts.answers = {MessageAnswer::Cancel};
        b.action("resetMenu")->trigger();
        QCOMPARE(b.prompts.shown.size(), std::size_t{1});
        QCOMPARE(b.prompts.shown[0].text, std::string("Overwrite the existing material ?"));
        QCOMPARE(b.prompts.shown[0].buttons, MessageButtons::OkCancel);
        QCOMPARE(b.prompts.shown[0].icon, MessageIcon::Question);
        QCOMPARE(*heldValue(b.selectedRecord(), "EX"), 5.0);
        QCOMPARE(b.library().Content().entries.size(), entries.size());
        QCOMPARE(b.library().Content().entries[0].description, entries[0].description);
    }

    void commitWithANewNameAddsAtTheEndOfItsCategory_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<bool>("added");
        QTest::newRow("Yes") << "Stainless Steel    " << MessageAnswer::Yes << true;
        QTest::newRow("category typed differently")
            << "stainless steel" << MessageAnswer::Yes << true;
        QTest::newRow("No") << "Stainless Steel    " << MessageAnswer::No << false;
    }
    void commitWithANewNameAddsAtTheEndOfItsCategory() {
        QFETCH(QString, category);
        QFETCH(MessageAnswer, answer);
        QFETCH(bool, added);
        Browser b;
        b.openSample();
        b.click("1.4301 (304) stainless");
        const QStringList before = b.children("Stainless Steel");
        const int last = b.library().LastPosition();
        b.field("materialTypeText")->setText(category);
        b.field("materialNameText")->setText("Duplex 2507");
        b.prompts.answers = {answer};
        b.action("resetMenu")->trigger();
        QCOMPARE(b.prompts.takeAll(),
                 std::vector<std::string>{"Do you really want to add this material ?"});
        if (!added) {
            QCOMPARE(b.children("Stainless Steel"), before);
            QCOMPARE(b.library().LastPosition(), last);
            return;
        }
        QCOMPARE(b.children("Stainless Steel"), before + QStringList{"Duplex 2507"});
        QCOMPARE(b.library().LastPosition(), last + 1);
        const MaterialEntry& entry = b.library().Content().entries.back();
        QCOMPARE(entry.categoryKey, std::string("Stainless Steel    "));
        QCOMPARE(entry.code, std::string("Duplex 2507  "));
        QCOMPARE(b.selected(), last + 1);
        QCOMPARE(
            b.item("Duplex 2507")->isSelected() || b.tree()->currentItem() == b.item("Duplex 2507"),
            true);
        QCOMPARE(b.cell("EX"), QString());  // nothing shown of the material left
        // The new material receives typed values like any other.
        b.setUnits(1);
        b.typeAndLeave("EX", "1E11");
        QCOMPARE(*heldValue(b.record(last + 1), "EX"), 1e11);
    }

    void clearZeroesOnlyAMaterial() {
        Browser b;
        b.openSample();
        b.setUnits(1);
        const clsMaterial before = b.selectedRecord();
        b.click("Structural Steel");
        b.action("set")->trigger();  // a category: nothing happens
        b.click("S235JR structural steel");
        QCOMPARE(*heldValue(b.selectedRecord(), "EX"), *heldValue(before, "EX"));

        b.button("AddSet")->click();
        QCOMPARE(*heldValue(b.selectedRecord(), "EX"), 0.0);
        QCOMPARE(*heldValue(b.selectedRecord(), "DENS"), 0.0);
        QCOMPARE(b.cell("EX"), QString("0"));
        QVERIFY(b.prompts.shown.empty());
    }

    void anIpsEntryTooLargeInSiIsRefused() {
        Browser b;
        b.openSample();
        b.setUnits(0);
        const double before = *heldValue(b.selectedRecord(), "EX");
        b.typeAndLeave("EX", "1e308");
        QCOMPARE(b.prompts.take(), std::string(kValueTooLargeMessage));
        QCOMPARE(b.cell("EX"), QString());
        QCOMPARE(*heldValue(b.selectedRecord(), "EX"), before);
    }

    void columnsFitTheirTextsAndARefreshKeepsThem() {
        Browser b;
        b.openSample();
        b.setUnits(1);
        b.button("AddSet")->click();  // every value becomes "0": a narrow value column
        b.typeAndLeave("EX", "123456789012345");
        const QFontMetrics metrics(b.grid()->font());
        QVERIFY(b.grid()->columnWidth(kValueColumn) > metrics.horizontalAdvance(b.cell("EX")));
        for (int c = 0; c < kUnitsColumn; ++c) {
            for (int r = 0; r < b.grid()->rowCount(); ++r) {
                QVERIFY(b.grid()->columnWidth(c) >
                        metrics.horizontalAdvance(b.grid()->item(r, c)->text()));
            }
        }
        b.grid()->scrollToBottom();
        QList<int> widths;
        for (int c = 0; c < kUnitsColumn; ++c) {
            widths << b.grid()->columnWidth(c);
        }
        b.panel()->typeCombo_Click();  // the same texts again
        for (int c = 0; c < kUnitsColumn; ++c) {
            QCOMPARE(b.grid()->columnWidth(c), widths[c]);
        }
    }

    void aValueCellsTooltipShowsAllThreeSystems() {
        Browser b;
        b.openSample();
        b.setUnits(1);
        const auto tooltip = [&b] {
            return QString::fromStdString(
                b.panel()->ValueTooltip(b.rowOf("EX") + 1));  // grid rows count from 1
        };
        const QString tip = tooltip();
        const QStringList lines = tip.split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].startsWith("IPS: ") && lines[0].endsWith(" psi"), qPrintable(tip));
        QVERIFY2(lines[1].startsWith("SI: ") && lines[1].endsWith(" N/m^2"), qPrintable(tip));
        QVERIFY2(lines[2].startsWith("MKS: ") && lines[2].endsWith(" Kgf/cm^2"), qPrintable(tip));

        // A stored entry shows in the tooltip at once, not after the next refresh.
        b.typeAndLeave("EX", "2");
        QVERIFY2(tooltip().split('\n').value(1).startsWith("SI: 2"), qPrintable(tooltip()));
    }

    void aGridEntryIsUndoneAndRedoneInTheWindow() {
        Browser b;
        b.openSample();
        b.setUnits(1);
        const QString shown = b.cell("DENS");
        b.typeAndLeave("DENS", "1234");
        QVERIFY(b.form()->isWindowModified());
        b.action("undoMenu")->trigger();
        QCOMPARE(b.cell("DENS"), shown);
        QVERIFY(!b.form()->isWindowModified());
        b.action("redoMenu")->trigger();
        QCOMPARE(b.cell("DENS"), QString("1234"));
    }

    void nameCodes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::newRow("13 characters") << "ABCDEFGHIJKLM"
                                       << "ABCDEFGHIJKLM";
        QTest::newRow("5 characters") << "Steel"
                                      << "Steel        ";
        QTest::newRow("blanks around a short name") << "  Steel "
                                                    << "Steel        ";
        QTest::newRow("longer") << "Stainless steel 316L"
                                << "Stainless ste";
    }
    void nameCodes() {
        QFETCH(QString, name);
        QFETCH(QString, code);
        QCOMPARE(QString::fromStdString(NameCode(name.toStdString())), code);
    }

    // The grid refresh of a unit switch through the real window: type 12, every row of a
    // material filled.
    void unitSwitchRefreshTime() {
        Browser b;
        b.openSample();
        b.setType(12);
        for (const PropertySlot slot : ModelRows(12)) {
            b.selectedRecord().CopyProperty(clsMaterial::GetNthProperty(slot), 1.2345e6 + slot);
        }
        int position = 0;
        QBENCHMARK {
            b.setUnits(position++ % 3);
            QApplication::processEvents();
        }
    }
};

QTEST_MAIN(PanelTest)
#include "panel_test.moc"
