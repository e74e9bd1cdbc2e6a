// The e-mail command, the change dialog and the about box, driven offscreen
// through the window's own buttons and menus with scripted services.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include "AboutBox.h"
#include "ChangeDefaultDialog.h"
#include "FilePaths.h"
#include "QtBusyWait.h"
#include "QtPrompts.h"
#include "TestData.h"
#include "Version.h"
#include "WindowHarness.h"

using namespace sysreport;
using namespace sysreport::testing;

namespace {

const std::string kEmptyAddressMessage =
    "Error|Email address can not have a null value. Please type in the correct email address.";
const std::string kOutlookPrompt = "Email Option|Do you use MS Outlook as your Email Client?";

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

class DeliveryWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir root_;
    // A folder name with blanks, "&" and non-ASCII letters, all of which must be
    // escaped in a mail link.
    QString folder_;

    std::string reportPath() const {
        return QDir::toNativeSeparators(folder_).toStdString() + kPathSeparator + kReportFileName;
    }

    static void email(WindowHarness& h, bool throughMenu) {
        if (throughMenu) {
            h.window.findChild<QAction*>("mnuEmail")->trigger();
        } else {
            QTest::mouseClick(h.window.findChild<QPushButton*>("cmdSentEmail"), Qt::LeftButton);
        }
    }

    static void setField(WindowHarness& h, const QString& text) {
        h.window.findChild<QLineEdit*>("txtEmailTo")->setText(text);
    }

  private slots:
    void initTestCase() {
        QVERIFY(root_.isValid());
        folder_ = root_.filePath(QString::fromUtf8("Korvex & Co \xC3\x9C"));
        QVERIFY(QDir().mkpath(folder_));
    }

    void init() { QFile::remove(QString::fromStdString(reportPath())); }

    void windowHasTheDeliveryControlsAndMenus() {
        WindowHarness h(folder_);
        const std::pair<const char*, const char*> buttons[] = {
            {"cmdSaveToFile", "View/&Save to a file"},
            {"cmdSentEmail", "&Email the saved file"},
            {"cmdExit", "E&xit"}};
        for (const auto& [name, text] : buttons) {
            auto* button = h.window.findChild<QPushButton*>(name);
            QVERIFY2(button != nullptr, name);
            QCOMPARE(button->text(), QString(text));
        }
        const std::pair<const char*, const char*> labels[] = {{"Label1", "Instructions:"},
                                                              {"lblEmailTo", "Email To:"}};
        for (const auto& [name, text] : labels) {
            QCOMPARE(h.window.findChild<QLabel*>(name)->text(), QString(text));
        }
        QCOMPARE(h.window.findChild<QLabel*>("Label2")->text(),
                 QString("Click View/Save to a file to save a text file which you can then email "
                         "to your Tech Support contact. As an alternative, you can enter the "
                         "email address you want in the above field and click Email the saved "
                         "file."));
        auto* field = h.window.findChild<QLineEdit*>("txtEmailTo");
        QCOMPARE(field->text(), QString("support@korvex.example"));
        // The instructions speak of "the above field": the field comes first.
        h.window.centralWidget()->layout()->activate();
        QVERIFY(field->geometry().bottom() < h.window.findChild<QLabel*>("Label1")->y());
        // The menu bar holds exactly these menus and items, in this order.
        const std::vector<std::pair<QString, QStringList>> menus = {
            {"mniFile|&File",
             {"mnuSave|View/&Save to a file", "mnuEmail|&Email the saved file", "mnuExit|E&xit"}},
            {"mnuTools|&Tools", {"mnuChangeDefault|Change Default"}},
            {"mnuHelp|&Help", {"mnuSysInfo|&About sysreport"}}};
        const QList<QAction*> bar = h.window.menuBar()->actions();
        QCOMPARE(bar.size(), qsizetype(menus.size()));
        for (size_t i = 0; i < menus.size(); ++i) {
            QMenu* menu = bar[qsizetype(i)]->menu();
            QVERIFY(menu != nullptr);
            QCOMPARE(menu->objectName() + "|" + menu->title(), menus[i].first);
            QStringList items;
            for (const QAction* item : menu->actions()) {
                items << item->objectName() + "|" + item->text();
            }
            QCOMPARE(items, menus[i].second);
        }
    }

    void emptyAddressIsRefusedBeforeAnythingIsWritten() {
        WindowHarness h(folder_);
        setField(h, "");
        email(h, false);
        QCOMPARE(h.prompts.messages, std::vector<std::string>{kEmptyAddressMessage});
        QVERIFY(h.prompts.questions.empty());
        QVERIFY(!QFile::exists(QString::fromStdString(reportPath())));
        QVERIFY(h.mail.links.empty() && h.mail.automated.empty() && h.mail.composed.empty());
    }

    void everyEmailCommandRewritesTheReportFirst_data() {
        QTest::addColumn<bool>("outlook");
        QTest::addColumn<bool>("throughMenu");
        QTest::newRow("No, button") << false << false;
        QTest::newRow("No, menu") << false << true;
        QTest::newRow("Yes, button") << true << false;
        QTest::newRow("Yes, menu") << true << true;
    }
    void everyEmailCommandRewritesTheReportFirst() {
        QFETCH(bool, outlook);
        QFETCH(bool, throughMenu);
        WindowHarness h(folder_);
        writeBytes(reportPath(), "stale report of an earlier run");
        std::string reportAtQuestion;
        h.prompts.onQuestion = [&] { reportAtQuestion = readBytes(reportPath()); };
        h.prompts.answerYes = outlook;
        email(h, throughMenu);
        QCOMPARE(h.prompts.questions, std::vector<std::string>{kOutlookPrompt});
        QVERIFY(reportAtQuestion.rfind("<html>\r\n", 0) == 0);
        QVERIFY(!contains(reportAtQuestion, "stale"));
        QCOMPARE(h.mail.links.size() + h.mail.automated.size(), size_t{1});
    }

    void changeDialogOkTakesEffectOnTheNextEmail() {
        WindowHarness h(folder_);
        h.window.show();
        h.window.findChild<QAction*>("mnuChangeDefault")->trigger();
        ChangeDefaultDialog* dialog = h.window.changeDefaultDialog();
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->windowTitle(), QString("Change Default Values"));
        QCOMPARE(dialog->findChild<QLabel*>("lblDefaultEmail")->text(), QString("Default Email:"));
        auto* field = dialog->findChild<QLineEdit*>("txtDefaultEmail");
        QCOMPARE(field->text(), QString("support@korvex.example"));
        field->setText("desk@example.org");
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(h.window.supportAddress(), std::string("desk@example.org"));
        QCOMPARE(h.window.findChild<QLineEdit*>("txtEmailTo")->text(), QString("desk@example.org"));

        h.prompts.answerYes = false;
        email(h, false);
        QCOMPARE(h.mail.links.size(), size_t{1});
        QVERIFY(h.mail.links[0].rfind("mailto:desk@example.org?", 0) == 0);
    }

    void changeDialogCancelRestoresTheDefaultInBoth() {
        WindowHarness h(folder_);
        h.window.show();
        setField(h, "someone@example.org");
        h.prompts.answerYes = false;
        email(h, false);
        QCOMPARE(h.window.supportAddress(), std::string("someone@example.org"));
        h.window.findChild<QAction*>("mnuChangeDefault")->trigger();
        ChangeDefaultDialog* dialog = h.window.changeDefaultDialog();
        dialog->findChild<QLineEdit*>("txtDefaultEmail")->setText("ignored@example.org");
        QTest::mouseClick(dialog->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(h.window.supportAddress(), std::string("support@korvex.example"));
        QCOMPARE(h.window.findChild<QLineEdit*>("txtEmailTo")->text(),
                 QString("support@korvex.example"));
    }

    void exitEndsTheProgramWithTheChangeDialogStillOpen() {
        WindowHarness h(folder_);
        h.window.show();
        h.window.findChild<QAction*>("mnuChangeDefault")->trigger();
        QVERIFY(h.window.changeDefaultDialog()->isVisible());
        // The program's own event loop ends when Exit closes the last main window;
        // the open change dialog must not keep it running.
        QTimer::singleShot(0, [&h] {
            QTest::mouseClick(h.window.findChild<QPushButton*>("cmdExit"), Qt::LeftButton);
        });
        QTimer::singleShot(3000, [] { QCoreApplication::exit(7); });
        QCOMPARE(QApplication::exec(), 0);
    }

    void aboutBoxTexts() {
        FakeSystemInfoTool tool;
        RecordingPrompts prompts;
        AboutBox about(tool, prompts);
        QCOMPARE(about.windowTitle(), QString("About sysreport"));
        QVERIFY(about.isModal());
        const std::pair<const char*, QString> labels[] = {
            {"lblTitle", "sysreport"},
            {"lblVersion",
             "Version 2.4.4              Copyright (C) Quorvane. All rights reserved."},
            {"lblDescription",
             "sysreport is a utility that retrieves information about the configuration of the "
             "computer and about installed Korvex Products. "},
            {"lblDisclaimer", "sysreport created by Korvex Tech Support"},
            {"lblSuiteVersion", "korvex-tools " KT_VERSION}};
        for (const auto& [name, text] : labels) {
            auto* label = about.findChild<QLabel*>(name);
            QVERIFY2(label != nullptr, name);
            QCOMPARE(label->text(), text);
        }
        QVERIFY(about.findChild<QLabel*>("picIcon") != nullptr);
        QCOMPARE(about.findChild<QPushButton*>("cmdOK")->text(), QString("OK"));
        QCOMPARE(about.findChild<QPushButton*>("cmdSysInfo")->text(), QString("&System Info..."));
    }

    void systemInfoButtonStartsTheToolOrSaysItIsMissing() {
        FakeSystemInfoTool tool;
        RecordingPrompts prompts;
        AboutBox about(tool, prompts);
        QTest::mouseClick(about.findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(tool.starts, 1);
        QVERIFY(prompts.messages.empty());
        tool.available = false;
        QTest::mouseClick(about.findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(prompts.messages,
                 std::vector<std::string>{"System Information Is Unavailable At This Time"});
    }

    // While a mail program starts the window keeps handling its events (painting,
    // timers) under the busy cursor, and the wait ends as soon as it is done.
    void busyWaitKeepsTheWindowAliveUntilDone() {
        QtBusyWait wait;
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(5);
        Qt::CursorShape cursorDuringWait = Qt::ArrowCursor;
        QElapsedTimer elapsed;
        elapsed.start();
        wait.waitUntil(
            [&] {
                if (QApplication::overrideCursor() != nullptr) {
                    cursorDuringWait = QApplication::overrideCursor()->shape();
                }
                return ticks >= 3;
            },
            std::chrono::seconds(5));
        QVERIFY(ticks >= 3);
        QVERIFY(elapsed.elapsed() < 2000);
        QCOMPARE(cursorDuringWait, Qt::WaitCursor);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // A program that never ends is waited for no longer than the limit.
        elapsed.restart();
        wait.waitUntil([] { return false; }, std::chrono::milliseconds(100));
        QVERIFY(elapsed.elapsed() >= 100 && elapsed.elapsed() < 2000);
    }

    void yesNoQuestionsEndOnlyByTheirButtons_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }

    void yesNoQuestionsEndOnlyByTheirButtons() {
        QFETCH(bool, yes);
        QtPrompts prompts;
        int buttons = 0;
        bool stayedOpen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            buttons = int(box->buttons().size());
            QTest::keyClick(box, Qt::Key_Escape);
            box->close();
            QCoreApplication::processEvents();
            stayedOpen = box->isVisible();
            QTest::mouseClick(box->button(yes ? QMessageBox::Yes : QMessageBox::No),
                              Qt::LeftButton);
        });
        QCOMPARE(prompts.askYesNo("Question?", "Title"), yes);
        QCOMPARE(buttons, 2);
        QVERIFY(stayedOpen);
    }

    void helpMenuShowsTheAboutBoxModally() {
        WindowHarness h(folder_);
        h.window.show();
        QString shownTitle;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr) {
                shownTitle = modal->windowTitle();
                QTest::mouseClick(modal->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
            }
        });
        h.window.findChild<QAction*>("mnuSysInfo")->trigger();
        QCOMPARE(shownTitle, QString("About sysreport"));
        QVERIFY(h.window.findChild<AboutBox*>() == nullptr);  // unloaded when it closes
    }
};

QTEST_MAIN(DeliveryWindowTest)
#include "delivery_window_test.moc"
