// The purge on real compound files through ole32, on documents made by ole32 itself.
#include <objbase.h>
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "PurgeRoutines.h"
#include "purge_scenarios.h"

namespace purge {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// The dialog's thread is a single-threaded apartment before the purge runs.
class ComApartment : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { CoUninitialize(); }
};
const auto* const kApartment = ::testing::AddGlobalTestEnvironment(new ComApartment);

std::wstring W(const std::string& text) {
    const std::u16string wide = Utf8ToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
}

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

constexpr DWORD kCreateMode = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

// Writes a compound file holding `tree`.
void MakeDocfile(const std::string& path, const std::vector<std::string>& tree) {
    IStorage* root = nullptr;
    ASSERT_EQ(StgCreateDocfile(W(path).c_str(), kCreateMode, 0, &root), S_OK);
    std::map<std::string, IStorage*> storages{{"", root}};
    std::vector<IStorage*> order;
    for (std::string p : tree) {
        const bool isStorage = p.back() == '/';
        if (isStorage) {
            p.pop_back();
        }
        const auto slash = p.rfind('/');
        const std::string parent = slash == std::string::npos ? "" : p.substr(0, slash);
        const std::wstring name = W(slash == std::string::npos ? p : p.substr(slash + 1));
        IStorage* owner = storages.at(parent);
        if (isStorage) {
            IStorage* child = nullptr;
            ASSERT_EQ(owner->CreateStorage(name.c_str(), kCreateMode, 0, 0, &child), S_OK) << p;
            storages[p] = child;
            order.push_back(child);
        } else {
            IStream* stream = nullptr;
            ASSERT_EQ(owner->CreateStream(name.c_str(), kCreateMode, 0, 0, &stream), S_OK) << p;
            const char data[] = "product data";
            ULONG written = 0;
            stream->Write(data, sizeof data, &written);
            stream->Release();
        }
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        (*it)->Release();
    }
    root->Release();
}

void ListInto(IStorage* storage, const std::string& prefix, std::vector<std::string>& out) {
    IEnumSTATSTG* e = nullptr;
    ASSERT_EQ(storage->EnumElements(0, nullptr, 0, &e), S_OK);
    STATSTG stat{};
    while (e->Next(1, &stat, nullptr) == S_OK) {
        const std::string name = prefix + Utf8(stat.pwcsName);
        if (stat.type == STGTY_STORAGE) {
            out.push_back(name + "/");
            IStorage* child = nullptr;
            ASSERT_EQ(storage->OpenStorage(stat.pwcsName, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE,
                                           nullptr, 0, &child),
                      S_OK);
            ListInto(child, name + "/", out);
            child->Release();
        } else {
            out.push_back(name);
        }
        CoTaskMemFree(stat.pwcsName);
    }
    e->Release();
}

// The document's whole tree, reopened after the purge.
std::vector<std::string> ListDocfile(const std::string& path) {
    IStorage* root = nullptr;
    std::vector<std::string> out;
    EXPECT_EQ(StgOpenStorage(W(path).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                             &root),
              S_OK);
    if (root) {
        ListInto(root, "", out);
        root->Release();
    }
    return scenarios::Sorted(out);
}

class Ole32PurgeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("purge_ole32_" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder);
        dialog.path = (folder / "bracket.pldprt").string();
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    void run() { PurgeDocument(dialog, platformStorageSystem(), platformDocumentManager()); }

    std::filesystem::path folder;
    fakes::FakeDialog dialog;
};

TEST_F(Ole32PurgeTest, PurgesDocumentsInPlace) {
    for (const auto& s : scenarios::AllScenarios()) {
        SCOPED_TRACE(s.label);
        const std::string path = (folder / (std::string(s.label) + ".pldprt")).string();
        MakeDocfile(path, s.tree);
        dialog = fakes::FakeDialog{};
        dialog.path = path;
        s.ticks.applyTo(dialog);
        run();
        EXPECT_THAT(ListDocfile(path), ElementsAreArray(scenarios::Sorted(s.remaining)));
        EXPECT_EQ(dialog.resets, 1);
        EXPECT_TRUE(dialog.messages.empty());
        EXPECT_EQ(dialog.status, s.success ? kSuccessText : "earlier status");
    }
}

TEST_F(Ole32PurgeTest, OnlyAnExistingRegularFilePassesTheFileTest) {
    MakeDocfile(dialog.path, {"ThirdPty/"});
    const std::string cases[] = {(folder / "missing.pldprt").string(), folder.string(),
                                 (folder / "*.pldprt").string(),
                                 (folder / "bracket.pld?rt").string()};
    for (const auto& path : cases) {
        dialog = fakes::FakeDialog{};
        dialog.path = path;
        dialog.sustainability = true;
        run();
        EXPECT_THAT(dialog.messages, ElementsAre(kFileNotFoundText)) << path;
        EXPECT_EQ(dialog.resets, 0);
    }
}

// Without the host's component neither route can reach a file ole32 cannot open.
TEST_F(Ole32PurgeTest, UnopenableFileSaysNothingWasChangedWhenNoManagerExists) {
    EXPECT_EQ(platformDocumentManager().createFactory(), nullptr);

    std::ofstream(dialog.path) << "not a compound file";
    dialog.simulation = true;
    run();
    EXPECT_THAT(dialog.messages, ElementsAre(kNotOpenedText));
    EXPECT_EQ(dialog.resets, 0);

    // A document held open by another program stays as it was.
    const std::string locked = (folder / "locked.pldasm").string();
    MakeDocfile(locked, {"ThirdPty/", "ThirdPty/SUSTAINABILITY2010FULL"});
    IStorage* holder = nullptr;
    ASSERT_EQ(StgOpenStorage(W(locked).c_str(), nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE,
                             nullptr, 0, &holder),
              S_OK);
    dialog = fakes::FakeDialog{};
    dialog.path = locked;
    dialog.sustainability = true;
    run();
    holder->Release();
    EXPECT_THAT(dialog.messages, ElementsAre(kNotOpenedText));
    EXPECT_THAT(ListDocfile(locked), ElementsAre("ThirdPty/", "ThirdPty/SUSTAINABILITY2010FULL"));
}

TEST_F(Ole32PurgeTest, EmptyStorageDestroysEveryElement) {
    MakeDocfile(dialog.path, {"a", "b/", "b/c", "d/"});
    auto root = platformStorageSystem().openFile(dialog.path);
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(EmptyStorage(*root));
    root.reset();
    EXPECT_TRUE(ListDocfile(dialog.path).empty());
}

}  // namespace
}  // namespace purge
