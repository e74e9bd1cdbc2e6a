#include "LibraryHistory.h"

#include <iterator>

namespace material {
namespace {

template <typename T>
void EraseRange(std::vector<T>& items, int at, std::size_t count) {
    const auto first = items.begin() + at;
    items.erase(first, first + static_cast<std::ptrdiff_t>(count));
}

void Replace(LibraryContent& content, int at, std::size_t removeCount,
             const std::vector<HeldMaterial>& insert) {
    EraseRange(content.entries, at, removeCount);
    EraseRange(content.materials, at, removeCount);
    EraseRange(content.twins, at, removeCount);
    const auto count = static_cast<std::ptrdiff_t>(insert.size());
    content.entries.insert(content.entries.begin() + at, static_cast<std::size_t>(count), {});
    content.materials.insert(content.materials.begin() + at, static_cast<std::size_t>(count),
                             clsMaterial());
    content.twins.insert(content.twins.begin() + at, static_cast<std::size_t>(count),
                         clsMaterial());
    for (std::size_t i = 0; i < insert.size(); ++i) {
        const auto to = static_cast<std::size_t>(at) + i;
        content.entries[to] = insert[i].entry;
        content.materials[to] = insert[i].material;
        content.twins[to] = insert[i].twin;
    }
}

void SetValue(LibraryContent& content, const ValueEdit& edit, bool has, double value) {
    clsMaterial& record = content.materials[static_cast<std::size_t>(edit.position)];
    record.setProperty(clsMaterial::GetNthProperty(edit.slot));
    record.setValue(value);
    record.setHasValue(edit.slot, has);
}

std::size_t HeldBytes(const HeldMaterial& held) {
    const auto text = [](const std::string& s) {
        return s.capacity() > 15 ? s.capacity() + 1 : 0;  // beyond the short-string buffer
    };
    return sizeof(HeldMaterial) + text(held.entry.categoryKey) + text(held.entry.code) +
           text(held.entry.nameText) + text(held.entry.description) +
           text(held.material.MaterialName()) + text(held.material.MaterialDescription()) +
           text(held.twin.MaterialName()) + text(held.twin.MaterialDescription());
}

}  // namespace

void ApplyStep(const EditStep& step, LibraryContent& content) {
    for (const Splice& splice : step.splices) {
        Replace(content, splice.at, splice.removed.size(), splice.inserted);
    }
    if (step.value) {
        SetValue(content, *step.value, step.value->hasValue, step.value->newValue);
    }
}

void RevertStep(const EditStep& step, LibraryContent& content) {
    if (step.value) {
        SetValue(content, *step.value, step.value->hadValue, step.value->oldValue);
    }
    for (auto it = step.splices.rbegin(); it != step.splices.rend(); ++it) {
        Replace(content, it->at, it->inserted.size(), it->removed);
    }
}

void LibraryHistory::Reset(bool saved) {
    steps_.clear();
    steps_.shrink_to_fit();
    done_ = 0;
    saved_ = saved ? std::optional<std::size_t>(0) : std::nullopt;
    open_ = false;
}

void LibraryHistory::Record(EditStep step) {
    const bool joins = open_ && done_ > 0 && done_ == steps_.size() && step.mergeKey != 0 &&
                       steps_.back().mergeKey == step.mergeKey && saved_ != done_;
    if (joins) {
        EditStep& last = steps_.back();
        if (!last.splices.empty() && !step.splices.empty()) {
            last.splices.back().inserted = std::move(step.splices.back().inserted);
        }
        last.shownAfter = step.shownAfter;
        return;
    }
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
    if (saved_ && *saved_ > done_) {
        saved_.reset();  // the saved state was undone and is now out of reach
    }
    steps_.push_back(std::move(step));
    done_ = steps_.size();
    open_ = true;
}

const EditStep* LibraryHistory::Undo() {
    open_ = false;
    if (!CanUndo()) {
        return nullptr;
    }
    return &steps_[--done_];
}

const EditStep* LibraryHistory::Redo() {
    open_ = false;
    if (!CanRedo()) {
        return nullptr;
    }
    return &steps_[done_++];
}

void LibraryHistory::MarkSaved() {
    saved_ = done_;
    open_ = false;
}

std::size_t LibraryHistory::MemoryBytes() const {
    std::size_t bytes = steps_.capacity() * sizeof(EditStep);
    for (const EditStep& step : steps_) {
        bytes += step.splices.capacity() * sizeof(Splice);
        for (const Splice& splice : step.splices) {
            for (const HeldMaterial& held : splice.removed) {
                bytes += HeldBytes(held);
            }
            for (const HeldMaterial& held : splice.inserted) {
                bytes += HeldBytes(held);
            }
        }
    }
    return bytes;
}

}  // namespace material
