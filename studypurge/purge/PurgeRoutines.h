#pragma once
// The removal routines behind PurgeDocument, exposed for the program's tests.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "DocumentManager.h"
#include "PurgeDocument.h"
#include "Storage.h"

namespace purge {

// User texts of the operation (string table entries 102 and 103, and the message for a
// document that neither route could open).
inline constexpr char kFileNotFoundText[] =
    "Simulation file is not found, pleease check input file pathname.";
inline constexpr char kSuccessText[] =
    "Success - Simulation data is cleaned from the file for selected simulation product(s).";
inline constexpr char kNotOpenedText[] =
    "The file could not be opened for cleaning. It is not a PLANDRY document, or it is "
    "open in another program. Nothing was changed.";

// The message for a document the compound-file layer found damaged.
std::string DamagedText(const std::string& reason);

// The five product ticks of the dialog.
struct ProductSelection {
    bool simulation = false;
    bool simulationQuiklet = false;
    bool flow = false;
    bool motion = false;
    bool sustainability = false;
};

// Compound-file route inside one opened sub-storage; true whenever one was given.
bool PurgeSubStorage(const ProductSelection& selection, Storage* subStorage);

// The compound-file route's walk, shared by the dialog's purge and the command line:
// opens each sub-storage the selection needs, in order, and calls `visit` on it.
// True when a sub-storage could be opened.
bool ForEachSubStorage(const ProductSelection& selection, Storage& root,
                       const std::function<void(const std::u16string&, Storage&)>& visit);
// Calls `act` with every item name the selection removes from one sub-storage, in
// the order of removal (the motion loads are listed before the fixed motion names go).
void ForEachProductItem(const ProductSelection& selection, Storage& subStorage,
                        const std::function<void(const std::u16string&)>& act);

// Destroys every element of `storage`; true once its elements could be enumerated.
bool EmptyStorage(Storage& storage);

// Document-manager route removals of one named add-in item.
bool RemoveAddinStorage(const std::u16string& name, ManagedDocument* document);
bool RemoveAddinStream(const std::u16string& name, ManagedDocument* document);

// Appends "KM_MOTION_LOAD_1", "KM_MOTION_LOAD_2", ... for as long as they exist.
void CollectMotionLoadNames(ManagedDocument* document, std::vector<std::u16string>& list);

// Part when the lower-cased path contains ".pldprt" anywhere, else assembly.
DocumentType DocumentTypeForPath(std::string_view path);

// UTF-8 to UTF-16; malformed sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace purge
