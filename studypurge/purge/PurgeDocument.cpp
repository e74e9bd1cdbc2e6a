#include "PurgeDocument.h"

#include <algorithm>
#include <new>

#include "PurgeRoutines.h"

namespace purge {
namespace {

const std::u16string kMotionLoadMarker = u"KM_MOTION_LOAD_";

// Flow keeps two fixed 30-character names.
const std::u16string kFlowNames[] = {u"0994155B-AA3F-4edb-AC0E-F92608",
                                     u"32952DE6-9CEC-411d-83A6-BAAF76"};

const std::u16string kMotionFixedNames[] = {u"MDI_DDMPL", u"MDI_DDMPL3", u"MSC_MOTION_LOAD_1",
                                            u"KMMotionLoadMapU", u"Animator__ZLB"};

ProductSelection SelectionOf(const PurgeDialogPort& dialog) {
    ProductSelection s;
    s.simulation = dialog.cleanSimulation();
    s.simulationQuiklet = dialog.cleanSimulationQuiklet();
    s.flow = dialog.cleanFlow();
    s.motion = dialog.cleanMotion();
    s.sustainability = dialog.cleanSustainability();
    return s;
}

std::vector<std::u16string> MotionLoadStreams(Storage& storage) {
    std::vector<std::u16string> names;
    const auto elements = storage.elements();
    if (!elements) {
        return names;
    }
    for (const StorageElement& e : *elements) {
        if (e.type == ElementType::Stream &&
            e.name.find(kMotionLoadMarker) != std::u16string::npos) {
            names.push_back(e.name);
        }
    }
    return names;
}

// Compound-file route: true when a sub-storage could be opened.
bool PurgeCompoundFile(const ProductSelection& s, std::unique_ptr<Storage> root) {
    // Direct mode: every destroyed element is gone at once; nothing to commit.
    return ForEachSubStorage(
        s, *root, [&](const std::u16string&, Storage& sub) { PurgeSubStorage(s, &sub); });
}

// Runs the removals of the ticked products in order; the result is that of the last
// removal performed.
bool RemoveProductItems(const ProductSelection& s, ManagedDocument* doc) {
    bool cleaned = false;
    if (s.simulation) {
        cleaned = RemoveAddinStorage(u"Korworks", doc);
        cleaned = RemoveAddinStorage(u"KorworksCommon", doc);
    }
    if (s.simulationQuiklet) {
        cleaned = RemoveAddinStorage(u"KorvexQuiklet", doc);
    }
    if (s.flow) {
        for (const auto& name : kFlowNames) {
            cleaned = RemoveAddinStorage(name, doc);
        }
    }
    if (s.motion) {
        std::vector<std::u16string> loads;
        CollectMotionLoadNames(doc, loads);
        cleaned = RemoveAddinStream(u"KMMotionLoadMapU", doc);
        cleaned = RemoveAddinStream(u"Animator", doc);
        for (const auto& name : loads) {
            cleaned = RemoveAddinStream(name, doc);
        }
    }
    if (s.sustainability) {
        cleaned = RemoveAddinStream(u"SUSTAINABILITY2010FULL", doc);
    }
    return cleaned;
}

enum class ManagerOutcome { NotAvailable, NotOpened, Done };

ManagerOutcome PurgeThroughManager(const ProductSelection& s, const std::string& path,
                                   DocumentManager& manager, bool& cleaned) {
    auto factory = manager.createFactory();
    if (!factory) {
        return ManagerOutcome::NotAvailable;
    }
    auto application = factory->getApplication();
    if (!application) {
        return ManagerOutcome::NotOpened;
    }
    auto document = application->openDocument(Utf8ToUtf16(path), DocumentTypeForPath(path));
    if (!document) {
        application.reset();
        return ManagerOutcome::NotOpened;
    }
    cleaned = RemoveProductItems(s, document.get());
    const std::int32_t saveResult = document->save();
    document->close();
    if (saveResult != 0) {
        cleaned = false;
    }
    document.reset();
    application.reset();
    factory.reset();
    return ManagerOutcome::Done;
}

void ResetDialog(PurgeDialogPort& dialog, bool cleaned) {
    dialog.reset();
    if (cleaned) {
        dialog.setStatusText(kSuccessText);
    }
}

void RunPurge(PurgeDialogPort& dialog, StorageSystem& storage, DocumentManager& manager) {
    const std::string path = dialog.filePath();
    if (!storage.fileExists(path)) {
        dialog.showMessage(kFileNotFoundText);
        return;
    }
    const ProductSelection selection = SelectionOf(dialog);
    OpenFailure failure;
    if (auto root = storage.open(path, AccessMode::ReadWrite, failure)) {
        ResetDialog(dialog, PurgeCompoundFile(selection, std::move(root)));
        return;
    }
    bool cleaned = false;
    switch (PurgeThroughManager(selection, path, manager, cleaned)) {
        case ManagerOutcome::NotAvailable:
            // Neither route could touch the file: say so instead of looking done, and
            // why when the compound-file layer knows.
            dialog.showMessage(failure.problem == OpenProblem::Damaged
                                   ? DamagedText(failure.reason)
                                   : std::string(kNotOpenedText));
            return;
        case ManagerOutcome::NotOpened:
            return;
        case ManagerOutcome::Done:
            ResetDialog(dialog, cleaned);
            return;
    }
}

}  // namespace

std::string DamagedText(const std::string& reason) {
    return "The document is damaged: " + reason + ". Nothing was changed.";
}

bool ForEachSubStorage(const ProductSelection& s, Storage& root,
                       const std::function<void(const std::u16string&, Storage&)>& visit) {
    bool opened = false;
    auto visitIfOpens = [&](const std::u16string& name) {
        if (auto sub = root.openStorage(name)) {
            opened = true;
            visit(name, *sub);
        }
    };
    if (s.simulation || s.simulationQuiklet || s.flow || s.motion) {
        visitIfOpens(u"ThirdPtyStore");
    }
    if (s.motion || s.sustainability) {
        visitIfOpens(u"ThirdPty");
    }
    return opened;
}

void ForEachProductItem(const ProductSelection& s, Storage& sub,
                        const std::function<void(const std::u16string&)>& act) {
    if (s.simulationQuiklet) {
        act(u"KorvexQuiklet");
    }
    if (s.simulation) {
        act(u"Korworks");
    }
    if (s.flow) {
        for (const auto& name : kFlowNames) {
            act(name);
        }
    }
    if (s.motion) {
        const std::vector<std::u16string> loads = MotionLoadStreams(sub);
        for (const auto& name : kMotionFixedNames) {
            act(name);
        }
        for (const auto& name : loads) {
            act(name);
        }
    }
    if (s.sustainability) {
        act(u"SUSTAINABILITY2010FULL");
    }
}

bool PurgeSubStorage(const ProductSelection& s, Storage* sub) {
    if (!sub) {
        return false;
    }
    // Results of single removals are ignored: a missing item is no error.
    ForEachProductItem(s, *sub, [&](const std::u16string& name) { sub->destroyElement(name); });
    return true;
}

bool EmptyStorage(Storage& storage) {
    const auto elements = storage.elements();
    if (!elements) {
        return false;
    }
    for (const StorageElement& e : *elements) {
        storage.destroyElement(e.name);
    }
    return true;
}

bool RemoveAddinStorage(const std::u16string& name, ManagedDocument* doc) {
    if (!doc) {
        return false;
    }
    if (auto newer = doc->queryNewer()) {
        return newer->removeStorageItem(name);
    }
    if (auto older = doc->queryOlder()) {
        if (auto item = older->openStorageItem(name, true)) {
            if (auto storage = item->queryStorage()) {
                EmptyStorage(*storage);
            }
        }
        return older->releaseStorageItem(name);
    }
    return false;
}

bool RemoveAddinStream(const std::u16string& name, ManagedDocument* doc) {
    if (!doc) {
        return false;
    }
    if (auto newer = doc->queryNewer()) {
        return newer->removeStreamItem(name);
    }
    if (auto older = doc->queryOlder()) {
        if (auto item = older->openStreamItem(name, true)) {
            if (auto storage = item->queryStorage()) {
                EmptyStorage(*storage);
            }
        }
        older->releaseStreamItem(name);
    }
    return false;
}

void CollectMotionLoadNames(ManagedDocument* doc, std::vector<std::u16string>& list) {
    if (!doc) {
        return;
    }
    auto newer = doc->queryNewer();
    if (!newer) {
        return;
    }
    for (int i = 1;; ++i) {
        std::u16string name = kMotionLoadMarker;
        for (char c : std::to_string(i)) {
            name.push_back(static_cast<char16_t>(c));
        }
        auto item = newer->openStreamItem(name, false);
        newer->releaseStreamItem(name);
        if (!item) {
            return;
        }
        list.push_back(name);
    }
}

DocumentType DocumentTypeForPath(std::string_view path) {
    std::string lower(path);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower.find(".pldprt") != std::string::npos ? DocumentType::Part : DocumentType::Assembly;
}

void PurgeDocument(PurgeDialogPort& dialog, StorageSystem& storage, DocumentManager& manager) {
    try {
        RunPurge(dialog, storage, manager);
    } catch (const std::bad_alloc&) {
        // A name or path that could not be allocated ends the operation; every object
        // obtained so far has been released on the way out.
        dialog.showMessage("Out of memory.");
    }
}

}  // namespace purge
