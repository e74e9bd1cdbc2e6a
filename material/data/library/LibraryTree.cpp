#include "LibraryTree.h"

#include <algorithm>

namespace material {

void LibraryTree::Clear() {
    nodes_.clear();
    roots_.clear();
    selected_.clear();
    Notify([](TreeListener& l) { l.TreeRebuilt(); });
}

bool LibraryTree::AddCategory(const std::string& key, const std::string& text) {
    if (nodes_.contains(key)) {
        return false;
    }
    LibraryNode node;
    node.key = key;
    node.text = text;
    node.image = kImageClosedBook;
    node.kind = NodeKind::Category;
    const LibraryNode& added = nodes_.emplace(key, std::move(node)).first->second;
    roots_.push_back(key);
    Notify([&](TreeListener& l) { l.NodeAdded(added); });
    return true;
}

bool LibraryTree::AddMaterial(const std::string& parentKey, const std::string& key,
                              const std::string& text) {
    LibraryNode* parent = FindMutable(parentKey);
    if (parent == nullptr || !parent->isCategory() || nodes_.contains(key)) {
        return false;
    }
    parent->children.push_back(key);
    LibraryNode node;
    node.key = key;
    node.text = text;
    node.image = kImageLeaf;
    node.kind = NodeKind::Material;
    node.parentKey = parentKey;
    const LibraryNode& added = nodes_.emplace(key, std::move(node)).first->second;
    Notify([&](TreeListener& l) { l.NodeAdded(added); });
    return true;
}

void LibraryTree::Remove(const std::string& nodeKey) {
    const std::string key = nodeKey;  // `nodeKey` may live in the node erased below
    LibraryNode* node = FindMutable(key);
    if (node == nullptr) {
        return;
    }
    const bool dropsSelection =
        selected_ == key ||
        std::find(node->children.begin(), node->children.end(), selected_) != node->children.end();
    for (const std::string& child : node->children) {
        nodes_.erase(child);
    }
    if (node->isCategory()) {
        std::erase(roots_, key);
    } else if (LibraryNode* parent = FindMutable(node->parentKey); parent != nullptr) {
        std::erase(parent->children, key);
    }
    nodes_.erase(key);
    Notify([&](TreeListener& l) { l.NodeRemoved(key); });
    if (dropsSelection) {
        ClearSelection();
    }
}

void LibraryTree::Select(const std::string& key) {
    selected_ = nodes_.contains(key) ? key : std::string();
    const LibraryNode* node = Selected();
    Notify([&](TreeListener& l) { l.SelectionChanged(node); });
}

void LibraryTree::SetText(const std::string& key, const std::string& text) {
    if (LibraryNode* node = FindMutable(key)) {
        node->text = text;
        Changed(*node);
    }
}

void LibraryTree::SetImage(const std::string& key, const std::string& image) {
    if (LibraryNode* node = FindMutable(key)) {
        node->image = image;
        Changed(*node);
    }
}

void LibraryTree::SetExpanded(const std::string& key, bool expanded) {
    LibraryNode* node = FindMutable(key);
    if (node == nullptr || !node->isCategory()) {
        return;
    }
    node->expanded = expanded;
    node->image = expanded ? kImageOpenBook : kImageClosedBook;
    Changed(*node);
}

const LibraryNode* LibraryTree::Find(const std::string& key) const {
    const auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

LibraryNode* LibraryTree::FindMutable(const std::string& key) {
    const auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : &it->second;
}

void LibraryTree::Changed(const LibraryNode& node) {
    Notify([&](TreeListener& l) { l.NodeChanged(node); });
}

}  // namespace material
