#pragma once
// Scripted stand-ins for the dialog, the storage system and the document manager.
// Every call is written to one shared log; live objects are counted so that tests
// can check that everything obtained was released.

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "DocumentManager.h"
#include "PurgeDocument.h"
#include "Storage.h"

namespace purge::fakes {

inline std::string Narrow(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return out;
}

inline std::u16string Widen(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

inline std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

struct Journal {
    std::vector<std::string> calls;
    int live = 0;
    void log(std::string call) { calls.push_back(std::move(call)); }
    // The calls that start with `prefix`, in order.
    std::vector<std::string> only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& c : calls) {
            if (c.rfind(prefix, 0) == 0) {
                out.push_back(c);
            }
        }
        return out;
    }
};

class FakeDialog : public PurgeDialogPort {
  public:
    std::string path = "/docs/bracket.pldprt";
    bool simulation = false, quiklet = false, flow = false, motion = false, sustainability = false;
    std::string status = "earlier status";
    std::vector<std::string> messages;
    int resets = 0;

    std::string filePath() const override { return path; }
    bool cleanSimulation() const override { return simulation; }
    bool cleanSimulationQuiklet() const override { return quiklet; }
    bool cleanFlow() const override { return flow; }
    bool cleanMotion() const override { return motion; }
    bool cleanSustainability() const override { return sustainability; }
    void reset() override {
        ++resets;
        path.clear();
        simulation = quiklet = flow = motion = sustainability = false;
    }
    void setStatusText(const std::string& text) override { status = text; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool ticksKept() const { return simulation || quiklet || flow || motion || sustainability; }
};

// A storage tree node; children keep their insertion order.
struct Node {
    std::string name;
    ElementType type = ElementType::Storage;
    std::vector<std::shared_ptr<Node>> children;

    Node& storage(const std::string& childName) { return add(childName, ElementType::Storage); }
    Node& stream(const std::string& childName) { return add(childName, ElementType::Stream); }
    Node& add(const std::string& childName, ElementType childType) {
        children.push_back(std::make_shared<Node>(Node{childName, childType, {}}));
        return *children.back();
    }
    // Storages match names without regard to case.
    std::vector<std::shared_ptr<Node>>::iterator child(const std::string& childName) {
        return std::find_if(children.begin(), children.end(),
                            [&](const auto& c) { return Lower(c->name) == Lower(childName); });
    }
    // "a b/c d" style listing of the whole tree below this node.
    std::vector<std::string> paths(const std::string& prefix = "") const {
        std::vector<std::string> out;
        for (const auto& c : children) {
            out.push_back(prefix + c->name);
            for (auto& p : c->paths(prefix + c->name + "/")) {
                out.push_back(p);
            }
        }
        return out;
    }
};

class FakeStorage : public Storage {
  public:
    FakeStorage(Journal& journal, std::shared_ptr<Node> node, std::string path)
        : journal_(journal), node_(std::move(node)), path_(std::move(path)) {
        ++journal_.live;
    }
    ~FakeStorage() override {
        --journal_.live;
        journal_.log("release " + path_);
    }

    std::unique_ptr<Storage> openStorage(const std::u16string& name) override {
        journal_.log("open " + path_ + Narrow(name));
        auto it = node_->child(Narrow(name));
        if (it == node_->children.end() || (*it)->type != ElementType::Storage) {
            return nullptr;
        }
        return std::make_unique<FakeStorage>(journal_, *it, path_ + (*it)->name + "/");
    }

    std::optional<std::vector<StorageElement>> elements() override {
        journal_.log("enumerate " + path_);
        if (failEnumeration) {
            return std::nullopt;
        }
        std::vector<StorageElement> out;
        for (const auto& c : node_->children) {
            out.push_back({Widen(c->name), c->type});
        }
        return out;
    }

    bool destroyElement(const std::u16string& name) override {
        journal_.log("destroy " + path_ + Narrow(name));
        auto it = node_->child(Narrow(name));
        if (it == node_->children.end()) {
            return false;
        }
        node_->children.erase(it);
        return true;
    }

    bool failEnumeration = false;

  private:
    Journal& journal_;
    std::shared_ptr<Node> node_;
    std::string path_;
};

class FakeStorageSystem : public StorageSystem {
  public:
    explicit FakeStorageSystem(Journal& journal) : journal_(journal) {}

    bool exists = true;
    bool compound = true;
    std::shared_ptr<Node> root = std::make_shared<Node>(Node{"", ElementType::Root, {}});

    bool fileExists(const std::string& path) override {
        journal_.log("exists " + path);
        return exists;
    }
    std::unique_ptr<Storage> openFile(const std::string& path) override {
        journal_.log("openFile " + path);
        if (!compound) {
            return nullptr;
        }
        return std::make_unique<FakeStorage>(journal_, root, "/");
    }

  private:
    Journal& journal_;
};

// What the fake document manager does: which calls succeed and which items exist.
struct ManagerScript {
    bool available = true;
    bool applicationOk = true;
    bool documentOk = true;
    bool newer = true;
    bool older = true;
    std::int32_t saveResult = 0;
    std::set<std::string> storages;  // add-in storage items of the document
    std::set<std::string> streams;   // add-in stream items of the document
    // Content of add-in storages as the older interface shows them.
    std::map<std::string, std::shared_ptr<Node>> storageContent;
    // Stream items that also answer the storage interface (older interface).
    std::set<std::string> streamsAnsweringStorage;
    std::u16string openedPath;  // as the application was given it
    bool pathAllocationFails = false;
};

class Counted {
  public:
    Counted(Journal& journal, std::string name) : journal_(journal), name_(std::move(name)) {
        ++journal_.live;
    }
    virtual ~Counted() {
        --journal_.live;
        journal_.log("release " + name_);
    }

  protected:
    Journal& journal_;

  private:
    std::string name_;
};

class FakeItem : public AddinItem, Counted {
  public:
    FakeItem(Journal& j, std::string name, std::shared_ptr<Node> content)
        : Counted(j, "item " + name), name_(std::move(name)), content_(std::move(content)) {}
    std::unique_ptr<Storage> queryStorage() override {
        journal_.log("item.queryStorage " + name_);
        if (!content_) {
            return nullptr;
        }
        return std::make_unique<FakeStorage>(journal_, content_, name_ + "/");
    }

  private:
    std::string name_;
    std::shared_ptr<Node> content_;
};

class FakeNewer : public NewerDocument, Counted {
  public:
    FakeNewer(Journal& j, ManagerScript& s) : Counted(j, "newer"), s_(s) {}
    bool removeStorageItem(const std::u16string& name) override {
        journal_.log("newer.removeStorage " + Narrow(name));
        return s_.storages.erase(Narrow(name)) > 0;
    }
    bool removeStreamItem(const std::u16string& name) override {
        journal_.log("newer.removeStream " + Narrow(name));
        return s_.streams.erase(Narrow(name)) > 0;
    }
    std::unique_ptr<AddinItem> openStreamItem(const std::u16string& name, bool flag) override {
        journal_.log("newer.openStream " + Narrow(name) + (flag ? " true" : " false"));
        if (!s_.streams.count(Narrow(name))) {
            return nullptr;
        }
        return std::make_unique<FakeItem>(journal_, Narrow(name), nullptr);
    }
    bool releaseStreamItem(const std::u16string& name) override {
        journal_.log("newer.releaseStream " + Narrow(name));
        return true;
    }

  private:
    ManagerScript& s_;
};

class FakeOlder : public OlderDocument, Counted {
  public:
    FakeOlder(Journal& j, ManagerScript& s) : Counted(j, "older"), s_(s) {}
    std::unique_ptr<AddinItem> openStreamItem(const std::u16string& name, bool flag) override {
        const std::string n = Narrow(name);
        journal_.log("older.openStream " + n + (flag ? " true" : " false"));
        if (!s_.streams.count(n)) {
            return nullptr;
        }
        std::shared_ptr<Node> content;
        if (s_.streamsAnsweringStorage.count(n)) {
            content = s_.storageContent[n];
        }
        return std::make_unique<FakeItem>(journal_, n, content);
    }
    bool releaseStreamItem(const std::u16string& name) override {
        journal_.log("older.releaseStream " + Narrow(name));
        return true;
    }
    std::unique_ptr<AddinItem> openStorageItem(const std::u16string& name, bool flag) override {
        const std::string n = Narrow(name);
        journal_.log("older.openStorage " + n + (flag ? " true" : " false"));
        if (!s_.storages.count(n)) {
            return nullptr;
        }
        auto& content = s_.storageContent[n];
        if (!content) {
            content = std::make_shared<Node>();
        }
        return std::make_unique<FakeItem>(journal_, n, content);
    }
    // Releasing an emptied storage item removes it.
    bool releaseStorageItem(const std::u16string& name) override {
        const std::string n = Narrow(name);
        journal_.log("older.releaseStorage " + n);
        return s_.storages.erase(n) > 0;
    }

  private:
    ManagerScript& s_;
};

class FakeDocument : public ManagedDocument, Counted {
  public:
    FakeDocument(Journal& j, ManagerScript& s) : Counted(j, "document"), s_(s) {}
    std::int32_t save() override {
        journal_.log("save");
        return s_.saveResult;
    }
    void close() override { journal_.log("close"); }
    std::unique_ptr<NewerDocument> queryNewer() override {
        if (!s_.newer) {
            return nullptr;
        }
        return std::make_unique<FakeNewer>(journal_, s_);
    }
    std::unique_ptr<OlderDocument> queryOlder() override {
        if (!s_.older) {
            return nullptr;
        }
        return std::make_unique<FakeOlder>(journal_, s_);
    }

  private:
    ManagerScript& s_;
};

class FakeApplication : public DocumentApplication, Counted {
  public:
    FakeApplication(Journal& j, ManagerScript& s) : Counted(j, "application"), s_(s) {}
    std::unique_ptr<ManagedDocument> openDocument(const std::u16string& path,
                                                  DocumentType type) override {
        journal_.log("openDocument " + Narrow(path) + " " + std::to_string(static_cast<int>(type)));
        s_.openedPath = path;
        if (s_.pathAllocationFails) {
            throw std::bad_alloc();
        }
        if (!s_.documentOk) {
            return nullptr;
        }
        return std::make_unique<FakeDocument>(journal_, s_);
    }

  private:
    ManagerScript& s_;
};

class FakeFactory : public DocumentFactory, Counted {
  public:
    FakeFactory(Journal& j, ManagerScript& s) : Counted(j, "factory"), s_(s) {}
    std::unique_ptr<DocumentApplication> getApplication() override {
        journal_.log("getApplication");
        if (!s_.applicationOk) {
            return nullptr;
        }
        return std::make_unique<FakeApplication>(journal_, s_);
    }

  private:
    ManagerScript& s_;
};

class FakeDocumentManager : public DocumentManager {
  public:
    explicit FakeDocumentManager(Journal& journal) : journal_(journal) {}
    ManagerScript script;
    std::unique_ptr<DocumentFactory> createFactory() override {
        journal_.log("createFactory");
        if (!script.available) {
            return nullptr;
        }
        return std::make_unique<FakeFactory>(journal_, script);
    }

  private:
    Journal& journal_;
};

}  // namespace purge::fakes
