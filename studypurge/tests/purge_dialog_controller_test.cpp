// The purge dialog's rules, driven through a scripted view and scripted prompts that
// fail on any question the test did not expect. Runs on both legs.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "PurgeDialogController.h"
#include "PurgeRoutines.h"
#include "Strings.h"
#include "dialog_fakes.h"
#include "purge_fakes.h"

namespace spapp {
namespace {

const std::string kNotFound = "Simulation file is not found, pleease check input file pathname.";
const std::string kCleaned =
    "Success - Simulation data is cleaned from the file for selected simulation product(s).";

// The controls of a dialog: what the user typed and ticked, and what was shown.
class FakeView : public PurgeDialogView {
  public:
    DialogData controls;
    std::string statusLine;
    int aboutBoxes = 0;
    int owner = 0;

    DialogData controlValues() const override { return controls; }
    void showControlValues(const DialogData& data) override { controls = data; }
    void showFilePath(const std::string& path) override { controls.filePath = path; }
    void setStatusLine(const std::string& text) override { statusLine = text; }
    void showAboutBox() override { ++aboutBoxes; }
    void* ownerWindow() override { return &owner; }
};

class ScriptedMessages : public MessageBoxes {
  public:
    std::deque<std::string> expected;
    void* owner = nullptr;

    void show(void* ownerWindow, const std::string& text) override {
        owner = ownerWindow;
        ASSERT_FALSE(expected.empty()) << "unexpected message box: " << text;
        EXPECT_EQ(text, expected.front());
        expected.pop_front();
    }
};

class ScriptedChooser : public FileChooser {
  public:
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> filters;

    std::optional<std::string> openFile(void*, const std::string& filter) override {
        filters.push_back(filter);
        EXPECT_FALSE(answers.empty()) << "unexpected file dialog";
        if (answers.empty()) {
            return std::nullopt;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class ControllerTest : public ::testing::Test {
  protected:
    void TearDown() override {
        EXPECT_TRUE(messages.expected.empty()) << "a message box was not shown";
        EXPECT_TRUE(files.answers.empty()) << "the file dialog was not shown";
    }

    // The purge as the program runs it, over scripted storage and document manager.
    void useRealPurgeOverFakes() {
        operation = [this](purge::PurgeDialogPort& port) {
            purge::PurgeDocument(port, storage, manager);
        };
    }

    FakeView view;
    ScriptedMessages messages;
    ScriptedChooser files;
    spdialog::fakes::RecordingHelp help;
    std::vector<DialogData> purged;  // the members as each purge read them
    PurgeOperation operation = [this](purge::PurgeDialogPort& port) {
        purged.push_back({port.filePath(), port.cleanSimulation(), port.cleanMotion(),
                          port.cleanSimulationQuiklet(), port.cleanFlow(),
                          port.cleanSustainability()});
    };
    purge::fakes::Journal journal;
    purge::fakes::FakeStorageSystem storage{journal};
    purge::fakes::FakeDocumentManager manager{journal};

    PurgeDialogController make() {
        return PurgeDialogController(
            view, {messages, files, help, [this](auto& port) { operation(port); }});
    }
};

TEST_F(ControllerTest, TickReachesThePurgeAsItsProductWithThePathAsTyped) {
    struct Case {
        const char* name;
        bool DialogData::*tick;
    };
    const Case cases[] = {
        {"Simulation", &DialogData::cleanSimulation},         {"Motion", &DialogData::cleanMotion},
        {"Quiklet", &DialogData::cleanSimulationQuiklet},     {"Flow", &DialogData::cleanFlow},
        {"Sustainability", &DialogData::cleanSustainability},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        purged.clear();
        PurgeDialogController controller = make();
        DialogData typed;
        typed.filePath = " C:\\Entwürfe\\part one.PLDPRT ";
        typed.*c.tick = true;
        view.controls = typed;
        controller.OnCleanFile();
        ASSERT_EQ(purged.size(), 1u);
        EXPECT_EQ(purged.front(), typed);
    }
}

TEST_F(ControllerTest, RefusesWithoutPathThenWithoutProductAndLeavesTheControls) {
    PurgeDialogController controller = make();
    view.statusLine = kCleaned;
    view.controls.cleanMotion = true;
    messages.expected = {loadString(IDS_NO_FILE)};
    controller.OnCleanFile();

    view.controls = {};
    view.controls.filePath = "/tmp/doc.pldasm";
    messages.expected = {loadString(IDS_NO_PRODUCT)};
    controller.OnCleanFile();

    EXPECT_TRUE(purged.empty());
    EXPECT_EQ(view.controls.filePath, "/tmp/doc.pldasm");
    // A refused clean changes nothing, the status line included.
    EXPECT_EQ(view.statusLine, kCleaned);
    EXPECT_EQ(messages.owner, &view.owner);
}

TEST_F(ControllerTest, TicksSurviveAFailedFileTestAndClearAfterTheCleanThatSucceeds) {
    useRealPurgeOverFakes();
    PurgeDialogController controller = make();
    view.controls.filePath = "/docs/missing.pldprt";
    view.controls.cleanSimulation = true;
    view.controls.cleanSustainability = true;
    const DialogData ticked = view.controls;
    storage.exists = false;
    messages.expected = {kNotFound};
    controller.OnCleanFile();
    EXPECT_EQ(view.controls, ticked);

    view.controls.filePath = "/docs/bracket.pldprt";
    storage.exists = true;
    storage.root->storage("ThirdPtyStore").storage("Korworks");
    storage.root->storage("ThirdPty").stream("SUSTAINABILITY2010FULL");
    controller.OnCleanFile();
    EXPECT_EQ(view.controls, DialogData{});
    EXPECT_EQ(controller.data(), DialogData{});
    EXPECT_EQ(view.statusLine, kCleaned);
    EXPECT_EQ(storage.root->paths(), (std::vector<std::string>{"ThirdPtyStore", "ThirdPty"}));
}

TEST_F(ControllerTest, ACleanThatDoesNothingLeavesNoEarlierSuccessText) {
    useRealPurgeOverFakes();
    // Not a compound file, and the document manager cannot open it: the purge reports
    // nothing and keeps path and ticks.
    storage.compound = false;
    manager.script.documentOk = false;
    PurgeDialogController controller = make();
    view.statusLine = kCleaned;
    view.controls.filePath = "/docs/locked.pldprt";
    view.controls.cleanFlow = true;
    const DialogData ticked = view.controls;
    controller.OnCleanFile();
    EXPECT_EQ(view.statusLine, "");
    EXPECT_EQ(view.controls, ticked);
}

TEST_F(ControllerTest, BrowsingSetsOnlyThePathAndAlwaysClearsTheStatusLine) {
    PurgeDialogController controller = make();
    view.controls.filePath = "/typed/by/hand.pldprt";
    view.controls.cleanMotion = true;  // ticked after the last exchange
    view.statusLine = kCleaned;
    files.answers = {std::nullopt};
    controller.OnBrowse();
    EXPECT_EQ(view.statusLine, "");
    EXPECT_EQ(view.controls.filePath, "/typed/by/hand.pldprt");

    view.statusLine = kCleaned;
    files.answers = {"/data/Pump Assembly.pldasm"};
    controller.OnBrowse();
    EXPECT_EQ(view.statusLine, "");
    EXPECT_EQ(view.controls.filePath, "/data/Pump Assembly.pldasm");
    EXPECT_TRUE(view.controls.cleanMotion);
    EXPECT_EQ(controller.filePath(), "/data/Pump Assembly.pldasm");

    const std::vector<std::string> string106(2, loadString(IDS_FILE_FILTER));
    EXPECT_EQ(files.filters, string106);
}

TEST_F(ControllerTest, StartPathFillsOnlyThePathBoxAndIsWhatTheCleanUses) {
    PurgeDialogController controller = make();
    view.controls.cleanFlow = true;
    controller.presetFilePath("/data/Zahnrad Ü.pldprt");
    EXPECT_EQ(controller.filePath(), "/data/Zahnrad Ü.pldprt");
    EXPECT_EQ(view.controls.filePath, "/data/Zahnrad Ü.pldprt");
    EXPECT_TRUE(view.controls.cleanFlow);

    controller.OnCleanFile();
    ASSERT_EQ(purged.size(), 1u);
    EXPECT_EQ(purged.front().filePath, "/data/Zahnrad Ü.pldprt");
}

TEST_F(ControllerTest, AboutCommandsOpenTheAboutBoxOthersAreLeftToTheSystem) {
    PurgeDialogController controller = make();
    for (unsigned id : {16u, 17u, 31u}) {
        EXPECT_TRUE(controller.OnSysCommand(id)) << id;
    }
    for (unsigned id : {0u, 15u, 32u, 0xF060u /* close */}) {
        EXPECT_FALSE(controller.OnSysCommand(id)) << id;
    }
    EXPECT_EQ(view.aboutBoxes, 3);
}

TEST_F(ControllerTest, HelpIsShownForTheDialogWindow) {
    PurgeDialogController controller = make();
    controller.OnHelp();
    EXPECT_EQ(help.owners, std::vector<void*>{&view.owner});
}

TEST(StringTableTest, FilterIsString106AndUnknownIdsAreEmpty) {
    EXPECT_EQ(openFileFilter(),
              "PLANDRY Files (*.pldprt;*.pldasm)|*.pldprt;*.pldasm|PLANDRY Part Files "
              "(*.pldprt)|*.pldprt|PLANDRY Assembly Files (*.pldasm)|*.pldasm||");
    EXPECT_EQ(loadString(IDS_ABOUTBOX), "&About studypurge...");
    // The purge reports with the same texts.
    EXPECT_EQ(loadString(IDS_FILE_NOT_FOUND), purge::kFileNotFoundText);
    EXPECT_EQ(loadString(IDS_CLEANED), purge::kSuccessText);
    EXPECT_EQ(loadString(100), "");
    EXPECT_EQ(loadString(107), "");
}

}  // namespace
}  // namespace spapp
