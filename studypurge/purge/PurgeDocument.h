#pragma once
// The "Clean File" operation: removes the stored data of the chosen analysis
// products from one CAD document, in place.

#include <string>

namespace purge {

// What the operation reads from and reports to the dialog. The dialog implements it
// with Qt; tests with scripted fakes.
class PurgeDialogPort {
  public:
    virtual ~PurgeDialogPort() = default;

    // The document path as the user typed or chose it (UTF-8).
    virtual std::string filePath() const = 0;
    virtual bool cleanSimulation() const = 0;
    virtual bool cleanSimulationQuiklet() const = 0;
    virtual bool cleanFlow() const = 0;
    virtual bool cleanMotion() const = 0;
    virtual bool cleanSustainability() const = 0;

    // Clears the path and the five ticks and shows the cleared state.
    virtual void reset() = 0;
    // Sets the status line under the product ticks.
    virtual void setStatusText(const std::string& text) = 0;
    // A modal message box with an OK button.
    virtual void showMessage(const std::string& text) = 0;
};

class StorageSystem;    // opens compound files (ole32 on Windows, our own layer on Linux)
class DocumentManager;  // the CAD host's document manager component

// The platform's own storage system and document manager.
StorageSystem& platformStorageSystem();
DocumentManager& platformDocumentManager();

// Runs the whole operation, including the dialog's reset and status text at the end.
// The caller has made sure that the path is not empty and one product is ticked.
void PurgeDocument(PurgeDialogPort& dialog, StorageSystem& storage = platformStorageSystem(),
                   DocumentManager& manager = platformDocumentManager());

}  // namespace purge
