// The dialog's toolkit-free platform services: how the HTML help viewer is found
// (once per run), and the about item of the window menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HtmlHelpViewer.h"
#include "WindowMenu.h"

namespace spdialog {
namespace {

// A host whose registry value and loadable libraries a test sets; it logs each call.
class FakeHost : public HtmlHelpHost {
  public:
    std::optional<std::u16string> registered;
    std::vector<std::u16string> loadable;
    bool hasOrdinal = true;

    std::vector<std::string> log;
    void* calledOwner = nullptr;
    std::u16string calledFile;
    unsigned calledCommand = 99;
    std::uintptr_t calledData = 99;

    std::optional<std::u16string> registeredPath(std::u16string_view key) override {
        log.push_back("registry " + narrow(std::u16string(key)));
        return registered;
    }
    void* loadLibrary(const std::u16string& path) override {
        log.push_back("load " + narrow(path));
        for (std::size_t i = 0; i < loadable.size(); ++i) {
            if (loadable[i] == path) {
                return &modules_[i];
            }
        }
        return nullptr;
    }
    void freeLibrary(void* module) override { log.push_back("free " + moduleName(module)); }
    void* exportByOrdinal(void* module, unsigned ordinal) override {
        log.push_back("export " + std::to_string(ordinal) + " of " + moduleName(module));
        return hasOrdinal ? &entry_ : nullptr;
    }
    void callHtmlHelp(void* entry, void* owner, const std::u16string& file, unsigned command,
                      std::uintptr_t data) override {
        log.push_back(entry == &entry_ ? "call" : "call of a wrong entry");
        calledOwner = owner;
        calledFile = file;
        calledCommand = command;
        calledData = data;
    }

  private:
    static std::string narrow(const std::u16string& text) {
        return std::string(text.begin(), text.end());
    }
    std::string moduleName(void* module) const {
        for (std::size_t i = 0; i < loadable.size(); ++i) {
            if (module == &modules_[i]) {
                return narrow(loadable[i]);
            }
        }
        return "unknown module";
    }

    int modules_[4] = {};
    int entry_ = 0;
};

const std::string kRegistryCall =
    "registry CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

struct LookupCase {
    const char* name;
    std::optional<std::u16string> registered;
    std::vector<std::u16string> loadable;
    std::vector<std::string> expectedLog;
};

TEST(HtmlHelpViewerTest, FindsTheRegisteredControlOrFallsBackToTheSystemOne) {
    const std::vector<LookupCase> cases = {
        {"registered path loads",
         u"C:\\Windows\\System32\\hhctrl.ocx",
         {u"C:\\Windows\\System32\\hhctrl.ocx"},
         {kRegistryCall, "load C:\\Windows\\System32\\hhctrl.ocx",
          "export 15 of C:\\Windows\\System32\\hhctrl.ocx", "call"}},
        {"key missing",
         std::nullopt,
         {u"hhctrl.ocx"},
         {kRegistryCall, "load hhctrl.ocx", "export 15 of hhctrl.ocx", "call"}},
        {"registered path does not load",
         u"D:\\gone\\hhctrl.ocx",
         {u"hhctrl.ocx"},
         {kRegistryCall, "load D:\\gone\\hhctrl.ocx", "load hhctrl.ocx", "export 15 of hhctrl.ocx",
          "call"}},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost host;
        host.registered = c.registered;
        host.loadable = c.loadable;
        HtmlHelpViewer viewer(host);
        int owner = 0;
        EXPECT_TRUE(viewer.show(&owner));
        EXPECT_EQ(host.log, c.expectedLog);
        EXPECT_EQ(host.calledOwner, &owner);
        EXPECT_EQ(host.calledFile, u"studypurge.chm");
        EXPECT_EQ(host.calledCommand, 0u);
        EXPECT_EQ(host.calledData, 0u);
    }
}

TEST(HtmlHelpViewerTest, RemembersTheEntryPointAndFreesTheLibraryAtTheEnd) {
    FakeHost host;
    host.loadable = {u"hhctrl.ocx"};
    {
        HtmlHelpViewer viewer(host);
        EXPECT_TRUE(viewer.show(nullptr));
        EXPECT_TRUE(viewer.show(nullptr));
    }
    const std::vector<std::string> expected = {
        kRegistryCall, "load hhctrl.ocx", "export 15 of hhctrl.ocx", "call",
        "call",        "free hhctrl.ocx"};
    EXPECT_EQ(host.log, expected);
}

TEST(HtmlHelpViewerTest, RemembersAFailureAndNeverTriesAgain) {
    // No library at all.
    FakeHost noLibrary;
    HtmlHelpViewer first(noLibrary);
    EXPECT_FALSE(first.show(nullptr));
    const std::size_t callsAfterFirstTry = noLibrary.log.size();
    EXPECT_FALSE(first.show(nullptr));
    EXPECT_FALSE(first.resolve());
    EXPECT_EQ(noLibrary.log.size(), callsAfterFirstTry);

    // A library without the entry point: it is given back and not loaded again.
    FakeHost noEntry;
    noEntry.loadable = {u"hhctrl.ocx"};
    noEntry.hasOrdinal = false;
    HtmlHelpViewer second(noEntry);
    EXPECT_FALSE(second.show(nullptr));
    EXPECT_FALSE(second.show(nullptr));
    const std::vector<std::string> expected = {kRegistryCall, "load hhctrl.ocx",
                                               "export 15 of hhctrl.ocx", "free hhctrl.ocx"};
    EXPECT_EQ(noEntry.log, expected);
}

}  // namespace
}  // namespace spdialog
