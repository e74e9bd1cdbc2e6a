// The purge operation against scripted storage and document manager fakes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "PurgeRoutines.h"
#include "purge_fakes.h"

namespace purge {
namespace {

using fakes::FakeDialog;
using fakes::FakeDocumentManager;
using fakes::FakeStorageSystem;
using fakes::Journal;
using fakes::Node;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::vector<std::string> kMotionFixed = {"MDI_DDMPL", "MDI_DDMPL3", "MSC_MOTION_LOAD_1",
                                               "KMMotionLoadMapU", "Animator__ZLB"};

class PurgeTest : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(journal.live, 0) << "an object was not released"; }

    void run() { PurgeDocument(dialog, storage, manager); }

    void tick(bool sim, bool quik, bool flow, bool motion, bool sust) {
        dialog.simulation = sim;
        dialog.quiklet = quik;
        dialog.flow = flow;
        dialog.motion = motion;
        dialog.sustainability = sust;
    }

    // A document whose two add-in sub-storages carry every product's items.
    void fillBothSubStorages() {
        for (const char* sub : {"ThirdPtyStore", "ThirdPty"}) {
            Node& s = storage.root->storage(sub);
            s.storage("Korworks").stream("study1");
            s.storage("KorworksCommon");
            s.storage("KorvexQuiklet");
            s.storage("0994155B-AA3F-4edb-AC0E-F92608");
            s.storage("32952DE6-9CEC-411d-83A6-BAAF76");
            for (const auto& name : kMotionFixed) {
                s.stream(name);
            }
            s.stream("KM_MOTION_LOAD_1");
            s.stream("SUSTAINABILITY2010FULL");
        }
        storage.root->stream("Contents");
    }

    Journal journal;
    FakeDialog dialog;
    FakeStorageSystem storage{journal};
    FakeDocumentManager manager{journal};
};

// ---- compound-file route -------------------------------------------------------------

struct SelectionCase {
    const char* label;
    bool sim, quik, flow, motion, sust;
    std::vector<std::string> opens;
    std::vector<std::string> destroys;
};

std::vector<std::string> Prefixed(const std::string& sub, std::vector<std::string> names) {
    for (auto& n : names) {
        n = "destroy /" + sub + "/" + n;
    }
    return names;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

std::vector<std::string> MotionDestroys(const std::string& sub) {
    auto names = kMotionFixed;
    names.push_back("KM_MOTION_LOAD_1");
    return Prefixed(sub, names);
}

class CompoundSelectionTest : public PurgeTest,
                              public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(CompoundSelectionTest, OpensSubStoragesAndDestroysInOrder) {
    const SelectionCase& c = GetParam();
    fillBothSubStorages();
    tick(c.sim, c.quik, c.flow, c.motion, c.sust);
    run();
    EXPECT_THAT(journal.only("open "), ElementsAreArray(c.opens));
    EXPECT_THAT(journal.only("destroy "), ElementsAreArray(c.destroys));
    EXPECT_THAT(journal.only("createFactory"), IsEmpty());
    EXPECT_EQ(dialog.resets, 1);
    EXPECT_EQ(dialog.status, kSuccessText);
}

const std::string kStore = "ThirdPtyStore";
const std::string kThird = "ThirdPty";

INSTANTIATE_TEST_SUITE_P(
    Flags, CompoundSelectionTest,
    ::testing::Values(
        SelectionCase{"SustainabilityOnly",
                      false,
                      false,
                      false,
                      false,
                      true,
                      {"open /ThirdPty"},
                      Prefixed(kThird, {"SUSTAINABILITY2010FULL"})},
        SelectionCase{"SimulationOnly",
                      true,
                      false,
                      false,
                      false,
                      false,
                      {"open /ThirdPtyStore"},
                      Prefixed(kStore, {"Korworks"})},
        SelectionCase{"QuikletBeforeSimulation",
                      true,
                      true,
                      false,
                      false,
                      false,
                      {"open /ThirdPtyStore"},
                      Prefixed(kStore, {"KorvexQuiklet", "Korworks"})},
        SelectionCase{
            "FlowOnly",
            false,
            false,
            true,
            false,
            false,
            {"open /ThirdPtyStore"},
            Prefixed(kStore, {"0994155B-AA3F-4edb-AC0E-F92608", "32952DE6-9CEC-411d-83A6-BAAF76"})},
        // Motion opens both sub-storages and the whole selection runs in each.
        SelectionCase{"MotionWithSimulation",
                      true,
                      false,
                      false,
                      true,
                      false,
                      {"open /ThirdPtyStore", "open /ThirdPty"},
                      Concat({Prefixed(kStore, {"Korworks"}), MotionDestroys(kStore),
                              Prefixed(kThird, {"Korworks"}), MotionDestroys(kThird)})},
        SelectionCase{
            "All",
            true,
            true,
            true,
            true,
            true,
            {"open /ThirdPtyStore", "open /ThirdPty"},
            Concat({Prefixed(kStore, {"KorvexQuiklet", "Korworks", "0994155B-AA3F-4edb-AC0E-F92608",
                                      "32952DE6-9CEC-411d-83A6-BAAF76"}),
                    MotionDestroys(kStore), Prefixed(kStore, {"SUSTAINABILITY2010FULL"}),
                    Prefixed(kThird, {"KorvexQuiklet", "Korworks", "0994155B-AA3F-4edb-AC0E-F92608",
                                      "32952DE6-9CEC-411d-83A6-BAAF76"}),
                    MotionDestroys(kThird), Prefixed(kThird, {"SUSTAINABILITY2010FULL"})})}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(PurgeTest, MotionLoadStreamsMatchCaseSensitivelyAnywhereInTheName) {
    Node& s = storage.root->storage("ThirdPtyStore");
    s.stream("xKM_MOTION_LOAD_7");
    s.storage("yKM_MOTION_LOAD_8").stream("inner");
    s.stream("km_motion_load_3");
    s.stream("KM_MOTION_LOAD_2");
    s.stream("KM_MOTION_LOAD");
    tick(false, false, false, true, false);
    run();
    EXPECT_THAT(
        journal.only("destroy /ThirdPtyStore/"),
        ElementsAreArray(Concat({Prefixed(kStore, kMotionFixed),
                                 Prefixed(kStore, {"xKM_MOTION_LOAD_7", "KM_MOTION_LOAD_2"})})));
    EXPECT_THAT(storage.root->paths(),
                ElementsAre("ThirdPtyStore", "ThirdPtyStore/yKM_MOTION_LOAD_8",
                            "ThirdPtyStore/yKM_MOTION_LOAD_8/inner",
                            "ThirdPtyStore/km_motion_load_3", "ThirdPtyStore/KM_MOTION_LOAD"));
}

TEST_F(PurgeTest, CompoundRouteReportsSuccessWheneverASubStorageOpened) {
    storage.root->storage("ThirdPty");  // present but empty
    tick(false, false, false, false, true);
    run();
    EXPECT_EQ(dialog.status, kSuccessText);
    EXPECT_EQ(dialog.resets, 1);
    EXPECT_TRUE(dialog.path.empty());
    EXPECT_THAT(journal.only("release"), ElementsAre("release /ThirdPty/", "release /"));
}

TEST_F(PurgeTest, CompoundRouteWithoutSubStoragesResetsWithoutStatus) {
    storage.root->stream("ThirdPtyStore");  // a stream of that name is no sub-storage
    tick(true, true, true, true, true);
    run();
    EXPECT_EQ(dialog.resets, 1);
    EXPECT_EQ(dialog.status, "earlier status");
    EXPECT_THAT(dialog.messages, IsEmpty());
    EXPECT_THAT(journal.only("destroy"), IsEmpty());
}

TEST_F(PurgeTest, MissingFileShowsMessageAndKeepsPathAndTicks) {
    storage.exists = false;
    tick(true, false, false, true, false);
    run();
    EXPECT_THAT(dialog.messages,
                ElementsAre("Simulation file is not found, pleease check input file pathname."));
    EXPECT_EQ(dialog.path, "/docs/bracket.pldprt");
    EXPECT_TRUE(dialog.simulation && dialog.motion);
    EXPECT_EQ(dialog.resets, 0);
    EXPECT_EQ(dialog.status, "earlier status");
    EXPECT_THAT(journal.calls, ElementsAre("exists /docs/bracket.pldprt"));
}

TEST_F(PurgeTest, FailedEnumerationStillDestroysTheFixedMotionNames) {
    Node& s = storage.root->storage("ThirdPtyStore");
    s.stream("KM_MOTION_LOAD_1");
    fakes::FakeStorage sub(journal, storage.root->children[0], "/ThirdPtyStore/");
    sub.failEnumeration = true;
    ProductSelection motion;
    motion.motion = true;
    EXPECT_TRUE(PurgeSubStorage(motion, &sub));
    EXPECT_THAT(journal.only("destroy"), ElementsAreArray(Prefixed(kStore, kMotionFixed)));
    EXPECT_FALSE(PurgeSubStorage(motion, nullptr));
    EXPECT_FALSE(EmptyStorage(sub));
}

// ---- document-manager route ----------------------------------------------------------

class ManagerRouteTest : public PurgeTest {
  protected:
    void SetUp() override { storage.compound = false; }
    fakes::ManagerScript& script = manager.script;
};

TEST_F(ManagerRouteTest, RemovesEveryTickedProductInOrderThenSavesAndReleases) {
    script.storages = {"Korworks", "KorworksCommon", "KorvexQuiklet",
                       "0994155B-AA3F-4edb-AC0E-F92608", "32952DE6-9CEC-411d-83A6-BAAF76"};
    script.streams = {"KMMotionLoadMapU", "Animator", "KM_MOTION_LOAD_1", "SUSTAINABILITY2010FULL"};
    tick(true, true, true, true, true);
    run();
    EXPECT_THAT(journal.only("newer.remove"),
                ElementsAre("newer.removeStorage Korworks", "newer.removeStorage KorworksCommon",
                            "newer.removeStorage KorvexQuiklet",
                            "newer.removeStorage 0994155B-AA3F-4edb-AC0E-F92608",
                            "newer.removeStorage 32952DE6-9CEC-411d-83A6-BAAF76",
                            "newer.removeStream KMMotionLoadMapU", "newer.removeStream Animator",
                            "newer.removeStream KM_MOTION_LOAD_1",
                            "newer.removeStream SUSTAINABILITY2010FULL"));
    EXPECT_THAT(script.storages, IsEmpty());
    EXPECT_THAT(script.streams, IsEmpty());
    // Save and close come after the removals; then document, application, factory go.
    const auto& calls = journal.calls;
    const auto tail = std::vector<std::string>(calls.end() - 5, calls.end());
    EXPECT_THAT(tail, ElementsAre("save", "close", "release document", "release application",
                                  "release factory"));
    EXPECT_EQ(dialog.status, kSuccessText);
    EXPECT_EQ(dialog.resets, 1);
}

TEST_F(ManagerRouteTest, MotionLoadsAreCollectedUpToTheFirstGap) {
    script.streams = {"KMMotionLoadMapU", "Animator", "KM_MOTION_LOAD_1", "KM_MOTION_LOAD_2",
                      "KM_MOTION_LOAD_4"};
    tick(false, false, false, true, false);
    run();
    EXPECT_THAT(journal.only("newer.openStream"),
                ElementsAre("newer.openStream KM_MOTION_LOAD_1 false",
                            "newer.openStream KM_MOTION_LOAD_2 false",
                            "newer.openStream KM_MOTION_LOAD_3 false"));
    EXPECT_EQ(journal.only("newer.releaseStream").size(), 3u);
    EXPECT_THAT(script.streams, ElementsAre("KM_MOTION_LOAD_4"));
    EXPECT_EQ(dialog.status, kSuccessText);
}

TEST_F(ManagerRouteTest, SuccessFollowsOnlyTheLastRemoval) {
    script.storages = {"Korworks"};  // KorworksCommon, removed last, is missing
    tick(true, false, false, false, false);
    run();
    EXPECT_EQ(dialog.status, "earlier status");
    EXPECT_EQ(dialog.resets, 1);
}

TEST_F(ManagerRouteTest, OlderInterfaceEmptiesStoragesAndNeverReportsStreamRemovals) {
    script.newer = false;
    script.storages = {"KorvexQuiklet"};
    script.storageContent["KorvexQuiklet"] = std::make_shared<Node>();
    script.storageContent["KorvexQuiklet"]->stream("a");
    script.storageContent["KorvexQuiklet"]->storage("b").stream("c");
    auto doc = std::make_unique<fakes::FakeDocument>(journal, script);

    EXPECT_TRUE(RemoveAddinStorage(u"KorvexQuiklet", doc.get()));
    EXPECT_THAT(journal.only("older."), ElementsAre("older.openStorage KorvexQuiklet true",
                                                    "older.releaseStorage KorvexQuiklet"));
    EXPECT_THAT(journal.only("destroy"),
                ElementsAre("destroy KorvexQuiklet/a", "destroy KorvexQuiklet/b"));
    EXPECT_FALSE(RemoveAddinStorage(u"KorvexQuiklet", doc.get()));  // slot result decides

    script.streams = {"Animator"};
    script.streamsAnsweringStorage = {"Animator"};
    script.storageContent["Animator"] = std::make_shared<Node>();
    script.storageContent["Animator"]->stream("frames");
    EXPECT_FALSE(RemoveAddinStream(u"Animator", doc.get()));
    EXPECT_THAT(journal.only("destroy Animator"), ElementsAre("destroy Animator/frames"));
    EXPECT_THAT(journal.only("older.releaseStream"), ElementsAre("older.releaseStream Animator"));

    // Without the newer interface there are no numbered motion loads to collect.
    std::vector<std::u16string> loads;
    CollectMotionLoadNames(doc.get(), loads);
    EXPECT_THAT(loads, IsEmpty());
}

TEST_F(ManagerRouteTest, RemovalsFailWithoutDocumentOrInterfaces) {
    EXPECT_FALSE(RemoveAddinStorage(u"Korworks", nullptr));
    EXPECT_FALSE(RemoveAddinStream(u"Animator", nullptr));
    script.newer = script.older = false;
    script.storages = {"Korworks"};
    fakes::FakeDocument doc(journal, script);
    EXPECT_FALSE(RemoveAddinStorage(u"Korworks", &doc));
    EXPECT_EQ(script.storages.size(), 1u);
}

TEST_F(ManagerRouteTest, OlderInterfaceStreamRemovalEndsWithoutStatus) {
    script.newer = false;
    script.streams = {"SUSTAINABILITY2010FULL"};
    tick(false, false, false, false, true);
    run();
    EXPECT_EQ(dialog.resets, 1);
    EXPECT_EQ(dialog.status, "earlier status");
}

TEST_F(ManagerRouteTest, FailedSaveResetsWithoutStatus) {
    script.storages = {"KorvexQuiklet"};
    script.saveResult = 2;
    tick(false, true, false, false, false);
    run();
    EXPECT_EQ(dialog.resets, 1);
    EXPECT_EQ(dialog.status, "earlier status");
    EXPECT_THAT(journal.only("close"), ElementsAre("close"));
}

TEST_F(ManagerRouteTest, DocumentThatCannotBeOpenedEndsSilentlyKeepingPathAndTicks) {
    for (bool applicationOk : {false, true}) {
        script.applicationOk = applicationOk;
        script.documentOk = false;
        tick(true, false, false, false, false);
        run();
        EXPECT_EQ(dialog.resets, 0);
        EXPECT_THAT(dialog.messages, IsEmpty());
        EXPECT_EQ(dialog.path, "/docs/bracket.pldprt");
        EXPECT_TRUE(dialog.simulation);
        EXPECT_EQ(journal.live, 0);
    }
    EXPECT_THAT(journal.only("save"), IsEmpty());
}

// Without the component nothing was changed, so the dialog must not look done.
TEST_F(ManagerRouteTest, UnavailableManagerSaysNothingWasChangedAndKeepsPathAndTicks) {
    script.available = false;
    tick(false, false, true, false, false);
    run();
    EXPECT_THAT(dialog.messages, ElementsAre(kNotOpenedText));
    EXPECT_EQ(dialog.resets, 0);
    EXPECT_EQ(dialog.path, "/docs/bracket.pldprt");
    EXPECT_TRUE(dialog.flow);
    EXPECT_EQ(dialog.status, "earlier status");
}

// A string that cannot be allocated ends the operation; what was obtained is released
// (checked on tear-down) and the dialog keeps path and ticks.
TEST_F(ManagerRouteTest, OutOfMemoryEndsTheOperation) {
    script.pathAllocationFails = true;
    tick(true, false, false, false, false);
    run();
    EXPECT_THAT(dialog.messages, ElementsAre("Out of memory."));
    EXPECT_EQ(dialog.resets, 0);
    EXPECT_TRUE(dialog.simulation);
}

struct TypeCase {
    const char* path;
    const char* opened;
};

TEST_F(ManagerRouteTest, DocumentTypeComesFromTheLowerCasedPath) {
    const TypeCase cases[] = {
        {"C:\\Parts\\BRACKET.PLDPRT", "openDocument C:\\Parts\\BRACKET.PLDPRT 1"},
        {"/work/x.pldprt/frame.pldasm", "openDocument /work/x.pldprt/frame.pldasm 1"},
        {"/work/frame.pldasm", "openDocument /work/frame.pldasm 2"},
        {"/work/frame.PldPrtX", "openDocument /work/frame.PldPrtX 1"},
        {"/work/pldprt.pldasm", "openDocument /work/pldprt.pldasm 2"},
    };
    for (const auto& c : cases) {
        journal.calls.clear();
        dialog.path = c.path;
        tick(true, false, false, false, false);
        run();
        EXPECT_THAT(journal.only("openDocument"), ElementsAre(c.opened));
    }
}

TEST_F(ManagerRouteTest, PathReachesTheComponentAsUtf16) {
    dialog.path = "/w/\xC3\xA9t\xC3\xA9.PLDPRT";
    tick(true, false, false, false, false);
    run();
    EXPECT_EQ(script.openedPath, u"/w/\u00E9t\u00E9.PLDPRT");
}

// ---- text conversion -----------------------------------------------------------------

TEST(Utf8ToUtf16Test, DecodesValidAndReplacesMalformedSequences) {
    struct Case {
        std::string in;
        std::u16string out;
    } const cases[] = {
        {"plain.pldprt", u"plain.pldprt"},
        {"\xC3\xA9\xE2\x82\xAC", u"\u00E9\u20AC"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"a\xC3", u"a\uFFFD"},                              // truncated
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {"\x80z", u"\uFFFDz"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.in), c.out) << c.in;
    }
}

}  // namespace
}  // namespace purge
