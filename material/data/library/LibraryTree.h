#pragma once
// The library window's tree as a toolkit-free model: one root node per category and
// one child node per material. The window mirrors it through TreeListener.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace material {

// Image keys of the window's image list.
inline constexpr std::string_view kImageOpenBook = "openbook";
inline constexpr std::string_view kImageClosedBook = "closedbook";
inline constexpr std::string_view kImageLeaf = "leaf";
inline constexpr std::string_view kImageSelectedLeaf = "leaf1";

enum class NodeKind { Category, Material };

struct LibraryNode {
    std::string key;
    std::string text;
    std::string image;
    NodeKind kind = NodeKind::Category;
    std::string parentKey;  // empty for a category
    std::vector<std::string> children;
    bool expanded = false;

    bool isCategory() const { return kind == NodeKind::Category; }
};

// Change notices; every member has an empty default.
class TreeListener {
  public:
    virtual ~TreeListener() = default;
    // The whole tree changed (cleared or filled again): show it anew, with the
    // selection that LibraryTree::Selected() gives.
    virtual void TreeRebuilt() {}
    virtual void NodeAdded(const LibraryNode& /*node*/) {}
    virtual void NodeRemoved(const std::string& /*key*/) {}
    // Text, image or expansion of a node changed.
    virtual void NodeChanged(const LibraryNode& /*node*/) {}
    // The selected node changed (null: none); the window scrolls it into view.
    virtual void SelectionChanged(const LibraryNode* /*node*/) {}
};

class LibraryTree {
  public:
    void SetListener(TreeListener* listener) { listener_ = listener; }

    // Removes every node and the selection.
    void Clear();
    // Clears the tree and runs `fill` with notices held back, then sends one TreeRebuilt.
    template <typename Fill>
    void Rebuild(Fill&& fill) {
        ++quiet_;
        Clear();
        fill();
        --quiet_;
        Notify([](TreeListener& l) { l.TreeRebuilt(); });
    }

    // Adds a root category node (image "closedbook"); false, and nothing added, when a
    // node with that key exists already.
    bool AddCategory(const std::string& key, const std::string& text);
    // Adds a material node as the last child of category `parentKey` (image "leaf");
    // false when the category is missing or the key is taken.
    bool AddMaterial(const std::string& parentKey, const std::string& key, const std::string& text);
    // Removes a node and its children; the selection is dropped when it was among them.
    void Remove(const std::string& key);

    // Selects a node; an unknown key selects none.
    void Select(const std::string& key);
    void ClearSelection() { Select({}); }
    void SetText(const std::string& key, const std::string& text);
    void SetImage(const std::string& key, const std::string& image);
    // Expanding a category shows "openbook", collapsing it "closedbook".
    void SetExpanded(const std::string& key, bool expanded);

    const LibraryNode* Find(const std::string& key) const;
    const LibraryNode* Selected() const { return Find(selected_); }
    // Category keys in the order the categories were added.
    const std::vector<std::string>& Roots() const { return roots_; }
    std::size_t NodeCount() const { return nodes_.size(); }
    bool Empty() const { return nodes_.empty(); }

  private:
    template <typename Fn>
    void Notify(Fn&& fn) {
        if (listener_ != nullptr && quiet_ == 0) {
            fn(*listener_);
        }
    }
    LibraryNode* FindMutable(const std::string& key);
    void Changed(const LibraryNode& node);

    std::unordered_map<std::string, LibraryNode> nodes_;
    std::vector<std::string> roots_;
    std::string selected_;
    TreeListener* listener_ = nullptr;
    int quiet_ = 0;
};

}  // namespace material
