// The main window driven offscreen: start-up texts and the View/Save command
// through its button and its menu item, with scripted prompts.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "Fakes.h"
#include "FilePaths.h"
#include "MainWindow.h"
#include "TestData.h"
#include "Version.h"
#include "WindowHarness.h"

using namespace sysreport;
using namespace sysreport::testing;

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    using Harness = WindowHarness;

    QTemporaryDir folder_;

    std::string expectedPath() const {
        return QDir::toNativeSeparators(folder_.path()).toStdString() + kPathSeparator +
               kReportFileName;
    }

  private slots:
    void startUpSetsCaptionAndUptimeLabel() {
        Harness h(folder_.path());
        QCOMPARE(h.window.windowTitle(), QString("sysreport Version 2.4.4"));
        auto* label = h.window.findChild<QLabel*>("lblComputerRunning");
        QVERIFY(label != nullptr);
        QCOMPARE(label->text(),
                 QString("Your system has been running for 3 hours and 25 minutes."));
        QCOMPARE(h.window.supportAddress(), std::string("support@korvex.example"));
        auto* button = h.window.findChild<QPushButton*>("cmdSaveToFile");
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), QString("View/&Save to a file"));
        // Nothing is written at start-up.
        QVERIFY(!QFile::exists(QString::fromStdString(expectedPath())));
    }

    void yesWritesThenOpensTheReport() {
        Harness h(folder_.path());
        h.prompts.answerYes = true;
        QTest::mouseClick(h.window.findChild<QPushButton*>("cmdSaveToFile"), Qt::LeftButton);
        QCOMPARE(h.prompts.questions.size(), size_t{1});
        QCOMPARE(h.prompts.questions[0],
                 "View/Save to a File| Do you want to view the information?\r\n"
                 "(Information will be automatically saved to " +
                     expectedPath() + " File.)");
        QCOMPARE(h.prompts.opened, std::vector<std::string>{expectedPath()});
        QVERIFY(h.prompts.messages.empty());
        const std::string report = readBytes(expectedPath());
        QVERIFY(report.rfind("<html>\r\n", 0) == 0);
        QVERIFY(report.size() > 7 && report.substr(report.size() - 9) == "</body>\r\n");
    }

    void noWritesAndSaysWhereThroughTheMenuToo() {
        Harness h(folder_.path());
        h.prompts.answerYes = false;
        h.window.findChild<QAction*>("mnuSave")->trigger();
        QVERIFY(h.prompts.opened.empty());
        QCOMPARE(h.prompts.messages,
                 std::vector<std::string>{"View/Save to a File|Information written to " +
                                          expectedPath() + " File. "});
        QVERIFY(QFile::exists(QString::fromStdString(expectedPath())));
    }

    void writingTwiceLeavesOneCurrentReport() {
        Harness h(folder_.path());
        h.prompts.answerYes = false;
        h.window.cmdSaveToFile_Click();
        const std::string first = readBytes(expectedPath());
        h.clock.uptime += 2 * 3600 * 1000;  // two hours later
        h.window.cmdSaveToFile_Click();
        const std::string second = readBytes(expectedPath());
        QCOMPARE(second.size(), first.size());
        size_t count = 0;
        for (size_t at = second.find("<html>"); at != std::string::npos;
             at = second.find("<html>", at + 1)) {
            ++count;
        }
        QCOMPARE(count, size_t{1});
        QVERIFY(second.find("running for 5 hours and 25 minutes.") != std::string::npos);
        // The window's label keeps the uptime of start-up.
        QCOMPARE(h.window.findChild<QLabel*>("lblComputerRunning")->text(),
                 QString("Your system has been running for 3 hours and 25 minutes."));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
