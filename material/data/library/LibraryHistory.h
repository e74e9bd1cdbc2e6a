#pragma once
// The undo history of the open library and whether it changed since it was opened,
// created or saved. Every user action that changes the library is one EditStep: a few
// splices of the material lists (a changed material is one material replaced by
// another) or, for a grid entry, one value of one material.

#include <cstddef>
#include <optional>
#include <vector>

#include "data/Library.h"

namespace material {

// One material as the library holds it: its entry, its record and its twin.
struct HeldMaterial {
    MaterialEntry entry;
    clsMaterial material;
    clsMaterial twin;
};

// Materials `removed` at position `at` were replaced by `inserted`.
struct Splice {
    int at = 0;
    std::vector<HeldMaterial> removed;
    std::vector<HeldMaterial> inserted;
};

// One value of the record of material `position` changed.
struct ValueEdit {
    int position = -1;
    PropertySlot slot = kNoSlot;
    bool hadValue = false;
    bool hasValue = false;
    double oldValue = 0.0;
    double newValue = 0.0;
};

struct EditStep {
    std::vector<Splice> splices;
    std::optional<ValueEdit> value;
    // Steps of one continued action (typing a description) share a key; 0 never merges.
    int mergeKey = 0;
    // The material to show once the step is undone, and once it is done again.
    int shownBefore = -1;
    int shownAfter = -1;

    bool changesStructure() const { return !splices.empty(); }
};

// Does the step on the content, or takes it back.
void ApplyStep(const EditStep& step, LibraryContent& content);
void RevertStep(const EditStep& step, LibraryContent& content);

class LibraryHistory {
  public:
    // A fresh history: nothing to undo; `saved` tells whether the library as it stands
    // is what its file holds (false for a library imported from a workbook).
    void Reset(bool saved);
    // Records a step that has been done. A step with the merge key of the last step,
    // while that one is still open, joins it: the last step ends as this one ends.
    void Record(EditStep step);
    // The last step may no longer take others in (the user has moved on).
    void Seal() { open_ = false; }

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // The step to take back, or null; the history moves back past it.
    const EditStep* Undo();
    // The step to do again, or null; the history moves on past it.
    const EditStep* Redo();

    void MarkSaved();
    bool Modified() const { return !saved_ || *saved_ != done_; }

    std::size_t StepCount() const { return steps_.size(); }
    // Bytes the recorded steps hold, containers and texts included (an estimate).
    std::size_t MemoryBytes() const;

  private:
    std::vector<EditStep> steps_;
    std::size_t done_ = 0;
    std::optional<std::size_t> saved_ = 0;  // empty: no point of the history is saved
    bool open_ = false;
};

}  // namespace material
