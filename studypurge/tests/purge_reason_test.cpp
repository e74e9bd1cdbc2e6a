// The dialog's message for a document that neither route could open names the
// compound-file layer's reason when the document is damaged, and keeps the general
// text when it is simply no compound file, or locked.
#include <gtest/gtest.h>

#include "PurgeRoutines.h"
#include "purge_fakes.h"

namespace {

using namespace purge;
using namespace purge::fakes;

// A storage system whose every open fails as scripted.
class RefusingStorage : public StorageSystem {
  public:
    explicit RefusingStorage(OpenFailure failure) : failure_(std::move(failure)) {}
    bool fileExists(const std::string&) override { return true; }
    std::unique_ptr<Storage> openFile(const std::string&) override { return nullptr; }
    std::unique_ptr<Storage> open(const std::string&, AccessMode, OpenFailure& failure) override {
        failure = failure_;
        return nullptr;
    }

  private:
    OpenFailure failure_;
};

TEST(OpenFailureMessage, NamesTheReasonOnlyForDamagedDocuments) {
    struct Case {
        OpenProblem problem;
        const char* reason;
        const char* message;
    };
    const Case cases[] = {
        {OpenProblem::Damaged, "FAT chain of stream 37 revisits sector 183",
         "The document is damaged: FAT chain of stream 37 revisits sector 183. Nothing was "
         "changed."},
        {OpenProblem::NotCompound, "header: expected signature D0CF11E0A1B11AE1", kNotOpenedText},
        {OpenProblem::InUse, "the file is in use", kNotOpenedText},
        {OpenProblem::ReadOnly, "", kNotOpenedText},
    };
    for (const Case& c : cases) {
        Journal journal;
        FakeDialog dialog;
        dialog.simulation = true;
        RefusingStorage storage({c.problem, c.reason});
        FakeDocumentManager manager(journal);
        manager.script.available = false;
        PurgeDocument(dialog, storage, manager);
        EXPECT_EQ(dialog.messages, std::vector<std::string>{c.message});
        EXPECT_TRUE(dialog.ticksKept()) << "nothing was changed, so nothing is cleared";
    }
}

}  // namespace
