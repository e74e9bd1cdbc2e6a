// Drives the library window and the frame's library commands on the offscreen
// platform, with the user's answers scripted.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>
#include <deque>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "LibraryWindowWidget.h"
#include "LibraryTreeView.h"
#include "MaterialBrowser.h"
#include "PropertyPanel.h"
#include "QtLibraryPrompts.h"
#include "TextCodec.h"
#include "ui_fakes.h"
#include "units/registry/ConfigFileStore.h"

using namespace material;
using namespace material::uitest;

namespace {

struct FileMaterial {
    std::string category;
    std::string name;
    std::string description;
};

std::string pad(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// A library file: each run of materials of one category under one MATTYPE line.
std::string libraryText(const std::vector<FileMaterial>& materials) {
    std::string text;
    std::string category;
    for (const FileMaterial& m : materials) {
        if (m.category != category || text.empty()) {
            category = m.category;
            text += "MATTYPE:" + category + "\r\n";
        }
        text += "MATL:" + pad(m.name, 13) + ": " + pad(m.name, 30) + ":" + m.description + "\r\n";
        text +=
            "EX        3046314E1  psi               2141404E0  Kgf/cm^2            21000E7    "
            "N/m^2           \r\nENDMATL\r\n";
    }
    return text;
}

const std::vector<FileMaterial> kSample = {
    {"Metals", "Steel", "Carbon steel"},
    {"Metals", "Aluminium", "6061-T6"},
    {"Plastics", "Nylon", "PA 66"},
};

struct Browser {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    PointSeparator separator;
    clsRegistry settings{std::make_unique<ConfigFileStore>(
        std::filesystem::path(dir.path().toStdString()) / "settings")};
    std::unique_ptr<MaterialBrowser> browser;

    Browser() {
        browser = std::make_unique<MaterialBrowser>(BrowserServices{prompts, PlatformFileSystem(),
                                                                    separator, settings, nullptr,
                                                                    std::make_unique<NoHelp>()});
        browser->frame().show();
        browser->frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&browser->frame()));
    }

    std::string writeLibrary(const std::vector<FileMaterial>& materials,
                             const char* name = "lib.lib") {
        const std::string path = (dir.path() + "/" + name).toStdString();
        std::ofstream(path, std::ios::binary) << libraryText(materials);
        return path;
    }
    std::string open(const std::vector<FileMaterial>& materials = kSample) {
        const std::string path = writeLibrary(materials);
        prompts.openChoices.push_back(path);
        toolbarButton("open")->trigger();
        prompts.shown.clear();
        return path;
    }

    MainFrame& frame() { return browser->frame(); }
    LibraryController& library() { return browser->library(); }
    LibraryWindowWidget* form() { return browser->form(); }
    QAction* toolbarButton(const char* key) {
        return frame().findChild<QToolBar*>("Toolbar1")->findChild<QAction*>(key);
    }
    QAction* action(const char* name) { return form()->findChild<QAction*>(name); }
    LibraryTreeView* tree() { return form()->findChild<LibraryTreeView*>("TreeView1"); }
    QLineEdit* field(const char* name) { return form()->findChild<QLineEdit*>(name); }
    QPushButton* button(const char* name) { return form()->findChild<QPushButton*>(name); }
    QTreeWidgetItem* item(const QString& text) {
        const auto found = tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.size() == 1 ? found.front() : nullptr;
    }
    QString keyOf(const QString& text) {
        return QString::fromLatin1(LibraryTreeView::keyOf(item(text)));
    }
    void click(const QString& text) { tree()->setCurrentItem(item(text)); }
    QStringList children(const QString& category) {
        QStringList names;
        QTreeWidgetItem* parent = item(category);
        for (int i = 0; parent != nullptr && i < parent->childCount(); ++i) {
            names << parent->child(i)->text(0);
        }
        return names;
    }
    QStringList entryNames() {
        QStringList names;
        for (const MaterialEntry& e : library().Content().entries) {
            names << QString::fromStdString(e.nameText).trimmed();
        }
        return names;
    }
    void setFields(const QString& category, const QString& name, const QString& description) {
        field("materialTypeText")->setText(category);
        field("materialNameText")->setText(name);
        field("descriptionText")->setText(description);
    }
    // Types a new label into the tree's own editor and ends the edit with Enter.
    void rename(const QString& text, const QString& newText) {
        tree()->editItem(item(text));
        auto* editor = tree()->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        editor->setText(newText);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits, and the window handles the new label, each a step later.
        for (int step = 0; step < 3; ++step) {
            QCoreApplication::processEvents();
        }
    }
    // Drops the node `source` on the node `target` as a drag in the tree would.
    void drop(const QString& source, const QString& target) {
        std::unique_ptr<QMimeData> data(tree()->dragData(item(source)));
        QVERIFY(data != nullptr);
        const QPoint at = tree()->visualItemRect(item(target)).center();
        tree()->dropAt(data.get(), at);
    }
};

const QString kMetals = QStringLiteral("Metals    ");
const QString kPlastics = QStringLiteral("Plastics    ");

}  // namespace

class BaseFormTest : public QObject {
    Q_OBJECT

  private slots:
    void startsWithoutLibrary() {
        Browser b;
        QVERIFY(b.form() == nullptr);
        QVERIFY(!b.toolbarButton("save")->isEnabled());
        QVERIFY(!b.toolbarButton("deleteMaterial")->isEnabled());
        QCOMPARE(b.frame().menuBar()->actions().size(), 2);  // the frame's File and Help
    }

    void newGivesOneSampleMaterialAndSaveGoesToSaveAs() {
        Browser b;
        b.toolbarButton("new")->trigger();
        QVERIFY(b.form() != nullptr);
        QCOMPARE(b.form()->windowTitle(), QString("New File, not Saved[*]"));
        QCOMPARE(b.tree()->topLevelItemCount(), 1);
        QCOMPARE(b.children("My Material    "), QStringList{"My Material"});
        QCOMPARE(b.keyOf("My Material"), QString("My Material    My Material0000"));
        QCOMPARE(b.field("materialNameText")->text(), QString("My Material"));
        QCOMPARE(b.field("descriptionText")->text(), QString("This is a sample material"));
        QVERIFY(b.toolbarButton("save")->isEnabled());
        QVERIFY(b.toolbarButton("deleteMaterial")->isEnabled());
        const QList<QAction*> bar = b.frame().menuBar()->actions();
        QCOMPARE(bar.size(), 4);
        QCOMPARE(bar[1]->text(), QString("&Edit"));
        QVERIFY(b.action("toolbarMenu")->isChecked());

        // Never saved: the toolbar's save asks for a name; Cancel keeps everything.
        b.toolbarButton("save")->trigger();
        QCOMPARE(b.prompts.saveRequests.size(), std::size_t{1});
        QCOMPARE(b.prompts.saveRequests[0].title, std::string("Save Library File As ..."));
        QCOMPARE(b.form()->windowTitle(), QString("New File, not Saved[*]"));

        const std::string path = (b.dir.path() + "/saved.lib").toStdString();
        b.prompts.saveChoices.push_back(path);
        b.toolbarButton("save")->trigger();
        QCOMPARE(b.form()->windowTitle(), QString::fromStdString(path) + "[*]");
        QVERIFY(QFileInfo::exists(QString::fromStdString(path)));
        QCOMPARE(b.prompts.unexpected, 0);
    }

    void openingALibraryFillsTheTree() {
        Browser b;
        const std::string path = b.open();
        QCOMPARE(b.prompts.openRequests.size(), std::size_t{1});
        QCOMPARE(b.prompts.openRequests[0].title, std::string("Open Library File..."));
        QCOMPARE(b.form()->windowTitle(), QString::fromStdString(path) + "[*]");
        QCOMPARE(b.tree()->topLevelItemCount(), 2);
        QCOMPARE(b.children(kMetals), (QStringList{"Steel  ", "Aluminium  "}));
        QCOMPARE(b.children(kPlastics), QStringList{"Nylon  "});
        QCOMPARE(b.keyOf("Nylon  "), QString("Plastics    Nylon  0002"));
        // Every node has its picture, though the tree is filled before they are loaded
        for (QTreeWidgetItemIterator it(b.tree()); *it != nullptr; ++it) {
            QVERIFY2(!(*it)->icon(0).isNull(), qPrintable((*it)->text(0)));
        }
        // The first material is shown, its category opened
        QCOMPARE(b.field("materialNameText")->text(), QString("Steel  "));
        QVERIFY(b.item(kMetals)->isExpanded());
        QVERIFY(!b.form()->newMaterialMode());

        // A category click empties name and description and offers a new material
        b.click(kPlastics);
        QCOMPARE(b.field("materialTypeText")->text(), kPlastics);
        QCOMPARE(b.field("materialNameText")->text(), QString());
        QCOMPARE(b.field("descriptionText")->text(), QString());
        QVERIFY(b.form()->newMaterialMode());
        QVERIFY(!b.button("cmdNewMaterial")->isHidden());
        QVERIFY(b.button("reset")->isHidden());
        // Only the grid goes; the model-type and unit lists stay
        const QWidget* panelGrid = b.form()->findChild<QWidget*>("VSFlexGrid1");
        QVERIFY(panelGrid->isHidden());
        QVERIFY(!b.form()->findChild<QWidget*>("typeCombo")->isHidden());
        QVERIFY(!b.form()->findChild<QWidget*>("unitsCombo")->isHidden());
        QCOMPARE(b.form()->currentMaterialIndex(), QString("-1"));
        b.click("Nylon  ");
        QVERIFY(!panelGrid->isHidden());
        QCOMPARE(b.field("descriptionText")->text(), QString("PA 66"));
        QCOMPARE(b.form()->currentMaterialIndex(), QString("2"));

        // The selected material shows "leaf1", the one left "leaf"; categories show
        // whether they are open
        const LibraryTree& model = b.library().Tree();
        QCOMPARE(model.Find(b.keyOf("Nylon  ").toStdString())->image, std::string("leaf1"));
        QCOMPARE(model.Find(b.keyOf("Steel  ").toStdString())->image, std::string("leaf"));
        QCOMPARE(model.Find(kMetals.toStdString())->image, std::string("openbook"));
        b.item(kMetals)->setExpanded(false);
        QCOMPARE(model.Find(kMetals.toStdString())->image, std::string("closedbook"));
    }

    void renameRules_data() {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("newText");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        const QString exists = "Material already exits. Please enter a different name!";
        const QString tooLong = "Material name should be less than 30 characters long";
        const int exclamation = int(MessageIcon::Exclamation);
        QTest::newRow("category") << kMetals << "Alloys"
                                  << "Cannot rename a Category !" << int(MessageIcon::Question);
        // Committing the label as it was is no rename; a change of letter case is one.
        QTest::newRow("unchanged") << "Steel  "
                                   << "Steel" << QString() << 0;
        QTest::newRow("own name in capitals") << "Steel  "
                                              << " STEEL " << QString() << 0;
        QTest::newRow("duplicate") << "Steel  "
                                   << "nylon" << exists << exclamation;
        QTest::newRow("31 characters")
            << "Steel  " << QString(31, 'x') << tooLong << int(MessageIcon::Critical);
        QTest::newRow("blank") << "Steel  "
                               << "   "
                               << "Please specify the Material name !" << exclamation;
        QTest::newRow("30 characters") << "Steel  " << QString(30, 'x') << QString() << 0;
        QTest::newRow("trimmed") << "Steel  "
                                 << "  Iron " << QString() << 0;
    }
    void renameRules() {
        QFETCH(QString, node);
        QFETCH(QString, newText);
        QFETCH(QString, message);
        QFETCH(int, icon);
        Browser b;
        b.open();
        const QString key = b.keyOf(node);
        b.rename(node, newText);
        MessageIcon shownIcon = MessageIcon::None;
        QCOMPARE(QString::fromStdString(b.prompts.take(&shownIcon)), message);
        if (!message.isEmpty()) {
            QCOMPARE(int(shownIcon), icon);
            QVERIFY(b.item(node) != nullptr);
            QCOMPARE(b.entryNames(), (QStringList{"Steel", "Aluminium", "Nylon"}));
            return;
        }
        if (newText == node.trimmed()) {
            QVERIFY(b.item(node) != nullptr);  // nothing happened
            QVERIFY(!b.library().Modified());
            return;
        }
        const QString stored = newText.trimmed();
        QVERIFY(b.item(stored) != nullptr);
        QCOMPARE(b.keyOf(stored), key);  // the key stays as it was
        QCOMPARE(b.entryNames().front(), stored);
        QCOMPARE(QString::fromStdString(b.library().Content().materials[0].MaterialName()), stored);
        QCOMPARE(QString::fromStdString(b.library().Content().twins[0].MaterialName()), stored);
    }

    void fieldLengthChecksReturnTheFocus_data() {
        QTest::addColumn<QString>("fieldName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString name = "Material name should be less than 30 characters long";
        const QString category = "Material Category name should be less than 25 characters long !";
        QTest::newRow("name 30") << "materialNameText" << QString(30, 'n') << QString();
        QTest::newRow("name 31") << "materialNameText" << QString(31, 'n') << name;
        QTest::newRow("name 30 shown with the library's two blanks")
            << "materialNameText" << QString(30, 'n') + "  " << QString();
        QTest::newRow("name 31 trimmed") << "materialNameText"
                                         << " " + QString(31, 'n') + " " << name;
        QTest::newRow("category 25 trimmed") << "materialTypeText"
                                             << "  " + QString(25, 'c') + "  " << QString();
        QTest::newRow("category 26") << "materialTypeText" << QString(26, 'c') << category;
    }
    void fieldLengthChecksReturnTheFocus() {
        QFETCH(QString, fieldName);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Browser b;
        b.open();
        QLineEdit* field = b.field(fieldName.toLatin1().constData());
        field->setFocus(Qt::MouseFocusReason);
        QVERIFY(field->hasFocus());
        QVERIFY(b.form()->newMaterialMode());  // entering the field offers a new material
        field->setText(text);
        b.field("descriptionText")->setFocus(Qt::TabFocusReason);
        MessageIcon icon = MessageIcon::None;
        QCOMPARE(QString::fromStdString(b.prompts.take(&icon)), message);
        if (message.isEmpty()) {
            return;
        }
        QCOMPARE(icon, MessageIcon::Critical);
        QTRY_VERIFY(field->hasFocus());
    }

    // A file may hold a longer category, and a long name comes with the name text's two
    // blanks: both fields then fail their checks, and each refusal must not chase the
    // other field's.
    void twoRefusedFieldsDoNotTakeTurnsForever() {
        Browser b;
        const QString category(30, 'c');
        const QString name(30, 'n');
        b.open({{category.toStdString(), name.toStdString(), "long"}});
        b.click(name + "  ");
        b.field("materialNameText")->setFocus(Qt::MouseFocusReason);
        b.field("materialNameText")->setText(QString(31, 'n'));
        b.prompts.shown.clear();
        b.field("materialTypeText")->setFocus(Qt::MouseFocusReason);
        QTest::qWait(100);
        QCOMPARE(b.prompts.shown.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(b.prompts.shown[0].text),
                 QString("Material name should be less than 30 characters long"));
        QVERIFY(b.field("materialNameText")->hasFocus());
    }

    void descriptionKeepsFiftyCharactersAndIsStoredOnLeaving() {
        Browser b;
        b.open();
        b.click("Aluminium  ");
        QLineEdit* description = b.field("descriptionText");
        description->setFocus(Qt::MouseFocusReason);
        description->clear();
        QTest::keyClicks(description, QString(60, 'd'));
        QCOMPARE(description->text().size(), 50);
        QCOMPARE(b.library().Content().entries[1].description, std::string(50, 'd'));
        QCOMPARE(b.library().Content().materials[1].MaterialDescription(), std::string(50, 'd'));

        // Saved by shortcut while the field still has the focus: the file has it
        QTest::keyClick(description, Qt::Key_Backspace);
        QVERIFY(description->hasFocus());
        b.action("saveMenu")->trigger();
        QFile saved(b.dir.path() + "/lib.lib");
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains(":" + QByteArray(49, 'd') + "\r\n"));
    }

    void describingANewMaterialLeavesTheSelectedOneAlone() {
        Browser b;
        b.open();
        b.click("Aluminium  ");
        b.field("materialTypeText")->setFocus(Qt::MouseFocusReason);
        QVERIFY(b.form()->newMaterialMode());
        b.field("materialTypeText")->setText("Metals");
        b.field("materialNameText")->setText("Copper");
        QLineEdit* description = b.field("descriptionText");
        description->setFocus(Qt::MouseFocusReason);
        description->clear();
        QTest::keyClicks(description, "C11000");
        b.field("materialNameText")->setFocus(Qt::MouseFocusReason);
        QCOMPARE(b.library().Content().entries[1].description, std::string("6061-T6"));
        QCOMPARE(b.library().Content().materials[1].MaterialDescription(), std::string("6061-T6"));

        b.prompts.answers = {MessageAnswer::Yes};
        b.button("cmdNewMaterial")->click();
        QCOMPARE(b.library().Content().entries[3].description, std::string("C11000"));
        QCOMPARE(b.library().Content().entries[1].description, std::string("6061-T6"));
    }

    void addNewMaterialRefusals_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focused");
        QTest::newRow("no category") << "  "
                                     << "Copper"
                                     << "Please specify the Material Category name !"
                                     << "materialTypeText";
        QTest::newRow("category starts with a digit")
            << "  4 Metals"
            << "Copper"
            << "Material category can not start with a number !"
            << "materialTypeText";
        QTest::newRow("no name") << "Metals"
                                 << " "
                                 << "Please specify the Material name !"
                                 << "materialNameText";
        QTest::newRow("name in another category")
            << "Metals"
            << " NYLON "
            << "Material already exits. Please enter a different name!" << QString();
        QTest::newRow("name too long") << "Metals" << QString(31, 'x')
                                       << "Material name should be less than 30 characters long"
                                       << "materialNameText";
    }
    void addNewMaterialRefusals() {
        QFETCH(QString, category);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QString, focused);
        Browser b;
        b.open();
        b.click(kMetals);
        b.setFields(category, name, "red");
        b.prompts.shown.clear();
        QTest::mouseClick(b.button("cmdNewMaterial"), Qt::LeftButton);
        QCOMPARE(QString::fromStdString(b.prompts.take()), message);
        QCOMPARE(b.library().LastPosition(), 2);
        if (!focused.isEmpty()) {
            QTRY_VERIFY(b.field(focused.toLatin1().constData())->hasFocus());
        }
    }

    void addNewMaterialAsksThenAddsLast() {
        Browser b;
        b.open();
        b.click(kMetals);
        b.setFields(" Metals ", " Copper ", " C11000 ");
        b.prompts.answers = {MessageAnswer::No};
        b.button("cmdNewMaterial")->click();
        QCOMPARE(b.prompts.take(), std::string("Do you really want to add this material ?"));
        QCOMPARE(b.field("materialNameText")->text(), QString());  // No empties the fields
        QCOMPARE(b.library().LastPosition(), 2);

        b.setFields(" Metals ", " Copper ", " C11000 ");
        b.prompts.answers = {MessageAnswer::Yes};
        b.button("cmdNewMaterial")->click();
        QCOMPARE(b.library().LastPosition(), 3);
        const MaterialEntry& entry = b.library().Content().entries[3];
        QCOMPARE(entry.categoryKey, std::string("Metals    "));
        QCOMPARE(entry.nameText, std::string("Copper"));
        QCOMPARE(entry.description, std::string("C11000"));
        QCOMPARE(b.library().Content().twins[3].MaterialNameCode(), std::string("Copper       "));
        QCOMPARE(b.library().Content().materials[3].MaterialName(), std::string("Copper"));
        QCOMPARE(b.children(kMetals), (QStringList{"Steel  ", "Aluminium  ", "Copper"}));
        QCOMPARE(b.keyOf("Copper"), QString("Metals    Copper0003"));
        QCOMPARE(b.tree()->currentItem(), b.item("Copper"));
        QVERIFY(!b.form()->newMaterialMode());

        // A category that does not exist yet gets its node
        b.click(kPlastics);
        b.setFields("Ceramics", "Alumina", "");
        b.prompts.answers = {MessageAnswer::Yes};
        b.button("cmdNewMaterial")->click();
        QCOMPARE(b.children("Ceramics    "), QStringList{"Alumina"});
        QCOMPARE(b.prompts.unexpected, 0);
    }

    void editNewChecksTheSelectedNode() {
        Browser b;
        b.open();
        b.click("Steel  ");
        b.setFields("", "Copper", "");
        b.action("newMaterial")->trigger();
        QCOMPARE(
            b.prompts.take(),
            std::string("Must set Material category and name before generating new material !"));

        b.setFields("Metals", "Copper", "");
        b.action("newMaterial")->trigger();
        QCOMPARE(b.prompts.take(),
                 std::string("Addition of new Material within another Material is prohibited ! "));

        b.click(kMetals);
        b.setFields("Metals", "Copper", "");
        b.prompts.answers = {MessageAnswer::Yes};
        b.action("newMaterial")->trigger();
        QCOMPARE(b.children(kMetals).size(), 3);
    }

    void copyThenPasteTwice() {
        Browser b;
        b.open();
        b.click(kMetals);
        b.action("copyMaterial")->trigger();
        QCOMPARE(b.prompts.take(), std::string("Cannot copy a Category !"));

        b.click("Steel  ");
        b.action("copyMaterial")->trigger();
        b.click(kPlastics);
        b.action("pasteMaterial")->trigger();
        QCOMPARE(b.prompts.take(), std::string());
        QCOMPARE(b.children(kPlastics), (QStringList{"Nylon  ", "Copy of Steel"}));
        QCOMPARE(b.keyOf("Copy of Steel"), QString("Plastics    Copy of Steel0003"));
        const LibraryContent& content = b.library().Content();
        QCOMPARE(content.entries[3].description, std::string("Carbon steel"));
        QCOMPARE(content.entries[3].code, content.entries[0].code);
        QCOMPARE(content.materials[3].MaterialType(), std::string("Plastics    "));
        QVERIFY(content.materials[3].HasValue(0));  // EX came along
        QCOMPARE(b.field("materialNameText")->text(), QString("Copy of Steel"));

        // Pasting onto a material goes to that material's category
        b.click("Aluminium  ");
        b.action("pasteMaterial")->trigger();
        QCOMPARE(
            b.prompts.take(),
            std::string("Material Name (Copy of Steel) exists. Please rename it before pasting."));
        QCOMPARE(b.library().LastPosition(), 3);
    }

    void copyAndPasteByKeyboardInTheTree() {
        Browser b;
        b.open();
        b.tree()->setFocus(Qt::MouseFocusReason);
        b.click("Steel  ");
        QTest::keySequence(b.tree(), QKeySequence(Qt::CTRL | Qt::Key_C));
        b.click(kPlastics);
        QTest::keySequence(b.tree(), QKeySequence(Qt::CTRL | Qt::Key_V));
        QCOMPARE(b.children(kPlastics), (QStringList{"Nylon  ", "Copy of Steel"}));
    }

    void pasteAfterTheSourceWasRenamed() {
        Browser b;
        b.open();
        b.click("Nylon  ");
        b.action("copyMaterial")->trigger();
        b.rename("Nylon  ", "Nylon 6");
        b.prompts.shown.clear();
        b.click(kMetals);
        b.action("pasteMaterial")->trigger();
        QCOMPARE(b.prompts.take(),
                 std::string("The Material to Copy has been renamed or deleted. Please select "
                             "another material to copy."));
        QCOMPARE(b.library().LastPosition(), 2);
    }

    void pasteRefusesANameTheFileCannotHold() {
        Browser b;
        b.open({{"Metals", std::string(25, 'n'), ""}});
        b.click(QString(25, 'n') + "  ");
        b.action("copyMaterial")->trigger();
        b.action("pasteMaterial")->trigger();
        QCOMPARE(b.prompts.take(),
                 std::string("Material name should be less than 30 characters long"));
        QCOMPARE(b.library().LastPosition(), 0);
    }

    void addAndPasteStopAtTheLibrarysCapacity() {
        Browser b;
        std::vector<FileMaterial> full;
        for (int i = 0; i < kLibraryCapacity; ++i) {
            full.push_back({"Metals", "M" + std::to_string(i), ""});
        }
        b.open(full);
        QCOMPARE(b.library().LastPosition(), 1000);
        b.click("M0  ");
        b.action("copyMaterial")->trigger();
        b.action("pasteMaterial")->trigger();
        const std::string full_message =
            "The library cannot hold more than 1001 materials. Please delete a material before "
            "adding another one.";
        QCOMPARE(b.prompts.take(), full_message);

        b.click(kMetals);
        b.setFields("Metals", "Extra", "");
        b.button("cmdNewMaterial")->click();
        QCOMPARE(b.prompts.take(), full_message);
        QCOMPARE(b.library().LastPosition(), 1000);
    }

    void droppingMovesOnlyIntoAnotherCategory() {
        Browser b;
        b.open();
        b.item(kPlastics)->setExpanded(true);
        b.drop("Steel  ", kMetals);        // its own category
        b.drop("Steel  ", "Aluminium  ");  // a material of its own category
        QCOMPARE(b.entryNames(), (QStringList{"Steel", "Aluminium", "Nylon"}));

        b.drop("Steel  ", kPlastics);
        QCOMPARE(b.entryNames(), (QStringList{"Aluminium", "Nylon", "Steel"}));
        QCOMPARE(b.children(kPlastics), (QStringList{"Nylon  ", "Steel  "}));
        QCOMPARE(b.keyOf("Steel  "), QString("Plastics    Steel  0002"));
        QCOMPARE(b.tree()->currentItem(), b.item("Steel  "));

        // Onto a material of another category: into that material's category
        b.item(kMetals)->setExpanded(true);
        b.drop("Nylon  ", "Aluminium  ");
        QCOMPARE(b.children(kMetals), (QStringList{"Aluminium  ", "Nylon  "}));
        QCOMPARE(b.library().Content().entries[2].categoryKey, std::string("Metals    "));
    }

    void aDropWithoutAValidMaterialChangesNothing() {
        Browser b;
        b.open();
        QMimeData data;
        data.setData(LibraryTreeView::kKeyMimeType, "Metals    Gone  0007");
        const QPoint at = b.tree()->visualItemRect(b.item(kPlastics)).center();
        b.tree()->dropAt(&data, at);
        data.setData(LibraryTreeView::kKeyMimeType, kMetals.toLatin1());
        b.tree()->dropAt(&data, at);
        QCOMPARE(b.entryNames(), (QStringList{"Steel", "Aluminium", "Nylon"}));
        QVERIFY(b.tree()->dragData(b.item(kMetals)) == nullptr);  // categories are not dragged
    }

    void deleteAsksFirst() {
        Browser b;
        b.open();
        b.click("Aluminium  ");
        b.prompts.answers = {MessageAnswer::No};
        b.toolbarButton("deleteMaterial")->trigger();
        QCOMPARE(b.prompts.take(), std::string("Are you sure, you want to delete Aluminium   ?"));
        QCOMPARE(b.library().LastPosition(), 2);

        b.prompts.answers = {MessageAnswer::Yes};
        b.action("delete")->trigger();
        QCOMPARE(b.entryNames(), (QStringList{"Steel", "Nylon"}));
        QCOMPARE(b.children(kMetals), QStringList{"Steel  "});
        QCOMPARE(b.keyOf("Nylon  "), QString("Plastics    Nylon  0001"));
        QCOMPARE(b.prompts.unexpected, 0);
    }

    void closeCancelKeepsTheWindowAndTheProgram() {
        Browser b;
        const std::string path = b.open();
        const std::string question = "Save changes to " + path + " ?";
        b.action("set")->trigger();  // a change, so that closing asks

        b.prompts.answers = {MessageAnswer::Cancel};
        QVERIFY(!b.form()->subWindow()->close());
        QCOMPARE(b.prompts.take(), question);
        QVERIFY(b.form() != nullptr);

        b.prompts.answers = {MessageAnswer::Cancel};
        QVERIFY(!b.frame().close());
        QCOMPARE(b.prompts.take(), question);
        QVERIFY(b.frame().isVisible());
        QVERIFY(b.form() != nullptr && b.form()->isVisible());

        b.prompts.answers = {MessageAnswer::No};
        b.action("fileCloseMenu")->trigger();
        QVERIFY(b.form() == nullptr);
        QVERIFY(!b.library().IsOpen());
        QVERIFY(!b.toolbarButton("save")->isEnabled());
        QVERIFY(!b.toolbarButton("deleteMaterial")->isEnabled());
        QCOMPARE(b.frame().menuBar()->actions().size(), 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(b.frame().workspace()->subWindowList().isEmpty());

        // A new window after the old one has gone
        b.toolbarButton("new")->trigger();
        QCOMPARE(b.frame().workspace()->subWindowList().size(), 1);
        QCOMPARE(b.prompts.unexpected, 0);
    }

    void closingTheWindowWithNoDiscardsTheLibrary() {
        Browser b;
        b.toolbarButton("new")->trigger();
        b.action("set")->trigger();
        b.prompts.answers = {MessageAnswer::No};
        QVERIFY(b.form()->subWindow()->close());
        QCOMPARE(b.prompts.take(), std::string("Do you want to save changes?"));
        QVERIFY(b.form() == nullptr);
        QVERIFY(!b.library().IsOpen());
        QVERIFY(b.frame().close());  // nothing left to ask about
    }

    void exitEndsTheProgramUnlessCancelled() {
        Browser b;
        b.toolbarButton("new")->trigger();
        b.action("set")->trigger();
        b.prompts.answers = {MessageAnswer::Cancel};
        b.action("fileExitMenu")->trigger();
        QVERIFY(b.frame().isVisible());
        QVERIFY(b.form() != nullptr);
        b.prompts.answers = {MessageAnswer::No};
        b.action("fileExitMenu")->trigger();
        QVERIFY(!b.frame().isVisible());
        QCOMPARE(b.prompts.unexpected, 0);
    }

    void viewItemsFollowTheBarsAndTheEditMenuPopsUp() {
        Browser b;
        b.toolbarButton("new")->trigger();
        b.action("toolbarMenu")->trigger();
        QVERIFY(b.frame().findChild<QToolBar*>("Toolbar1")->isHidden());
        QVERIFY(!b.action("toolbarMenu")->isChecked());
        b.action("toolbarMenu")->trigger();
        QVERIFY(b.action("toolbarMenu")->isChecked());

        const QPoint at = b.tree()->visualItemRect(b.item("My Material")).center();
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at,
                                    b.tree()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(b.tree()->viewport(), &menuEvent);
        QTRY_VERIFY(b.form()->editMenu()->isVisible());
        b.form()->editMenu()->close();
    }

    void messageBoxesAnswerWithTheButtonPressed() {
        QtLibraryPrompts prompts;
        const auto answerWith = [](std::function<void(QMessageBox*)> act) {
            QTimer::singleShot(0, [act] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box != nullptr);
                act(box);
            });
        };
        answerWith([](QMessageBox* box) {
            QCOMPARE(box->text(), QString::fromUtf8("Save changes to caf\u00e9.lib ?"));
            QCOMPARE(box->icon(), QMessageBox::Question);
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(prompts.Message("Save changes to caf\xE9.lib ?", MessageButtons::YesNoCancel,
                                 MessageIcon::Question),
                 MessageAnswer::No);
        // Escape on a Yes / No box means No, on a box with Cancel it means Cancel
        answerWith([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(prompts.Message("Sure ?", MessageButtons::YesNo, MessageIcon::Question),
                 MessageAnswer::No);
        answerWith([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(prompts.Message("Retry ?", MessageButtons::RetryCancel, MessageIcon::Critical),
                 MessageAnswer::Cancel);
    }

    void dialogFiltersTakeTheToolkitsForm() {
        QCOMPARE(dialogNameFilters("Korvex Material Files (*.lib)|*.lib|Excel Files  (*.xls)|*.xls|"
                                   "All Files  (*.*)|*.*"),
                 (QStringList{"Korvex Material Files (*.lib)", "Excel Files  (*.xls)",
                              "All Files  (*.*)"}));
        QCOMPARE(dialogNameFilters("Libraries|*.lib;*.txt|Odd"),
                 QStringList{"Libraries (*.lib *.txt)"});
    }

    void libraryTextCrossesIntoUnicodeAndBack() {
        const std::string bytes =
            "Caf\xE9 \x80 \x93"
            "5\x94";
        const QString text = fromLibraryText(bytes);
        QCOMPARE(text, QString::fromUtf8("Café € “5”"));
        QCOMPARE(toLibraryText(text), bytes);
        QCOMPARE(toLibraryText(QString::fromUtf8("Ω")), std::string("?"));
    }

    // ---- Faults met in use ----

    void aLabelEditLeftForAnotherFieldSaysNothing() {
        Browser b;
        b.open();
        b.click("Steel  ");
        b.tree()->editItem(b.item("Steel  "));
        QVERIFY(b.tree()->viewport()->findChild<QLineEdit*>() != nullptr);
        b.field("descriptionText")->setFocus(Qt::MouseFocusReason);
        for (int step = 0; step < 3; ++step) {
            QCoreApplication::processEvents();
        }
        QVERIFY(b.prompts.shown.empty());
        QVERIFY(!b.library().Modified());
    }

    void clickingTheSelectedMaterialShowsTheGridAgain() {
        Browser b;
        b.open();
        b.click("Steel  ");
        QWidget* grid = b.form()->propertyPanel()->grid();
        b.field("materialTypeText")->setFocus(Qt::MouseFocusReason);
        QVERIFY(b.form()->newMaterialMode());
        QVERIFY(grid->isHidden());
        const QPoint at = b.tree()->visualItemRect(b.item("Steel  ")).center();
        QTest::mouseClick(b.tree()->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(!b.form()->newMaterialMode());
        QVERIFY(!grid->isHidden());
        QCOMPARE(b.field("materialNameText")->text(), QString("Steel  "));
    }

    void tabFromTheTreeReachesTheGridWithoutTheCategoryField() {
        Browser b;
        b.open();
        b.click("Steel  ");
        b.tree()->setFocus(Qt::OtherFocusReason);
        QWidget* reached = nullptr;
        for (int tab = 0; tab < 3; ++tab) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached = QApplication::focusWidget();
            QVERIFY(reached != b.field("materialTypeText"));
        }
        QCOMPARE(reached, static_cast<QWidget*>(b.form()->propertyPanel()->grid()));
        QVERIFY(!b.form()->newMaterialMode());
    }

    void deletingEveryMaterialLeavesAnEmptyReadOnlyGridAndSavesAnEmptyLibrary() {
        Browser b;
        const std::string path = b.open({{"Metals", "Steel", "Carbon steel"}});
        b.click("Steel  ");
        b.prompts.answers = {MessageAnswer::Yes};
        b.action("delete")->trigger();
        const QTableWidget* grid = b.form()->propertyPanel()->grid();
        for (int r = 0; r < grid->rowCount(); ++r) {
            const QTableWidgetItem* value = grid->item(r, 2);
            QVERIFY(value == nullptr || value->text().isEmpty());
            QVERIFY(value == nullptr || !(value->flags() & Qt::ItemIsEditable));
        }
        b.action("saveMenu")->trigger();
        std::ifstream in(path, std::ios::binary);
        const std::string saved((std::istreambuf_iterator<char>(in)), {});
        QCOMPARE(saved, std::string("MATTYPE:\r\n"));
    }

    void charactersTheLibraryCannotHoldAreRefusedWhereTyped() {
        Browser b;
        b.open();
        b.click("Steel  ");
        QLineEdit* name = b.field("materialNameText");
        name->setFocus(Qt::OtherFocusReason);
        name->setText("Stahl");
        for (const QChar c : QString::fromUtf8("\xC3\xA4\xCE\xA9")) {  // ä, then Ω
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(name, &press);
        }
        QCOMPARE(name->text(), QString::fromUtf8("Stahl\xC3\xA4"));
        QCOMPARE(b.prompts.take(),
                 std::string("The text holds the character U+03A9, which a material library "
                             "cannot hold. Please type another character."));
        b.rename("Nylon  ", QString::fromUtf8("Nylon \xE6\x97\xA5"));
        QVERIFY(b.prompts.take().find("U+65E5") != std::string::npos);
        QVERIFY(b.item("Nylon  ") != nullptr);
    }

    // ---- Unsaved changes, undo, search, Delete key ----

    void theCaptionMarksChangesAndUndoTakesThemBack() {
        Browser b;
        b.open();
        b.click("Nylon  ");
        QVERIFY(!b.form()->isWindowModified());
        QVERIFY(!b.action("undoMenu")->isEnabled());
        QCOMPARE(b.action("undoMenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(b.action("redoMenu")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
        // The new items take access keys no item of the menu had, so that Alt+E, D still
        // deletes at once.
        QStringList keys;
        for (const QAction* item : b.form()->editMenu()->actions()) {
            const qsizetype at = item->text().indexOf('&');
            if (at >= 0) {
                keys << item->text().mid(at + 1, 1).toUpper();
            }
        }
        QCOMPARE(keys.count("U"), 1);
        QCOMPARE(keys.count("E"), 1);
        QCOMPARE(keys.count("D"), 1);

        b.prompts.answers = {MessageAnswer::Yes};
        QTest::keyClick(b.tree(), Qt::Key_Delete);  // Delete asks its question
        QCOMPARE(b.prompts.take(), std::string("Are you sure, you want to delete Nylon   ?"));
        QVERIFY(b.item("Nylon  ") == nullptr);
        QVERIFY(b.form()->isWindowModified());
        QVERIFY(b.action("undoMenu")->isEnabled());
        QVERIFY(b.frame().isWindowModified());  // the maximized window's mark on the frame

        b.action("undoMenu")->trigger();
        QVERIFY(b.item("Nylon  ") != nullptr);
        QCOMPARE(b.field("materialNameText")->text(), QString("Nylon  "));
        QVERIFY(!b.form()->isWindowModified());
        QVERIFY(b.action("redoMenu")->isEnabled());
        b.action("redoMenu")->trigger();
        QVERIFY(b.item("Nylon  ") == nullptr);

        b.action("saveMenu")->trigger();
        QVERIFY(!b.form()->isWindowModified());
        QVERIFY(b.form()->subWindow()->close());  // saved: nothing asked
        QVERIFY(b.prompts.shown.empty());
    }

    void theFilterShowsMatchingMaterialsWithTheirCategories() {
        Browser b;
        b.open();
        QTest::keyClick(b.tree(), Qt::Key_F, Qt::ControlModifier);
        QLineEdit* filter = b.form()->findChild<QLineEdit*>("filterText");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(filter));
        QTest::keyClicks(filter, "NYL");
        QVERIFY(b.item(kMetals)->isHidden());
        QVERIFY(!b.item(kPlastics)->isHidden() && !b.item("Nylon  ")->isHidden());
        b.click("Nylon  ");
        QCOMPARE(b.field("descriptionText")->text(), QString("PA 66"));

        filter->setText("6061");  // the description of Aluminium
        QVERIFY(!b.item("Aluminium  ")->isHidden() && b.item("Steel  ")->isHidden());
        QTest::keyClick(filter, Qt::Key_Escape);
        QVERIFY(filter->text().isEmpty());
        QVERIFY(!b.item("Steel  ")->isHidden() && !b.item(kMetals)->isHidden());
        QCOMPARE(b.entryNames(), (QStringList{"Steel", "Aluminium", "Nylon"}));
        QVERIFY(!b.library().Modified());
    }
};

QTEST_MAIN(BaseFormTest)
#include "baseform_test.moc"
