#include "LibraryChildWindow.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "WideText.h"
#include "data/Cp1252.h"
#include "resource.h"

namespace material::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"BaseForm";
constexpr int kTreeId = 1;
constexpr int kTreeImageSize = 16;

// The tree's image list, in the order of the model's image keys.
struct TreeImage {
    std::string_view key;
    int bitmap;
};
constexpr std::array<TreeImage, 4> kTreeImages{{
    {kImageOpenBook, IDB_OPENBOOK},
    {kImageClosedBook, IDB_CLOSEDBOOK},
    {kImageLeaf, IDB_LEAF},
    {kImageSelectedLeaf, IDB_LEAF1},
}};

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

void registerClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance(), kWindowClass, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = DefMDIChildProcW;
    windowClass.hInstance = instance();
    windowClass.hIcon = LoadIconW(instance(), MAKEINTRESOURCEW(IDI_CLOSEDBOOK));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
}

std::wstring nodeText(const LibraryNode& node) {
    return widen(DecodeLibraryText(node.text));
}

}  // namespace

LibraryChildWindow::LibraryChildWindow(HWND mdiClient, const LibraryTree& tree, Handlers handlers)
    : tree_(tree), handlers_(std::move(handlers)) {
    registerClass();
    menu_ = LoadMenuW(instance(), MAKEINTRESOURCEW(IDR_LIBRARY_MENU));
    accelerators_ = LoadAcceleratorsW(instance(), MAKEINTRESOURCEW(IDR_LIBRARY_ACCELERATORS));
    window_ =
        CreateMDIWindowW(kWindowClass, L"", WS_CLIPCHILDREN | WS_MAXIMIZE, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mdiClient, instance(), 0);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    createTree();
}

LibraryChildWindow::~LibraryChildWindow() {
    handlers_ = {};
    unload();
    ImageList_Destroy(images_);
    DestroyMenu(menu_);
    DestroyAcceleratorTable(accelerators_);
}

void LibraryChildWindow::createTree() {
    tree_view_ =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                        WS_CHILD | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                            TVS_SHOWSELALWAYS | TVS_EDITLABELS,
                        0, 0, 0, 0, window_, reinterpret_cast<HMENU>(kTreeId), instance(), nullptr);
    images_ = ImageList_Create(kTreeImageSize, kTreeImageSize, ILC_COLOR32,
                               static_cast<int>(kTreeImages.size()), 0);
    for (const TreeImage& image : kTreeImages) {
        auto* picture = static_cast<HBITMAP>(LoadImageW(instance(), MAKEINTRESOURCEW(image.bitmap),
                                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ImageList_Add(images_, picture, nullptr);
        DeleteObject(picture);
    }
    TreeView_SetImageList(tree_view_, images_, TVSIL_NORMAL);
    RECT area{};
    GetClientRect(window_, &area);
    MoveWindow(tree_view_, 0, 0, area.right, area.bottom, FALSE);
}

void LibraryChildWindow::setCaption(const std::wstring& caption) {
    SetWindowTextW(window_, caption.c_str());
}

void LibraryChildWindow::showTree() {
    ShowWindow(tree_view_, SW_SHOW);
}

void LibraryChildWindow::unload() {
    if (window_ == nullptr) {
        return;
    }
    unloading_ = true;
    SendMessageW(GetParent(window_), WM_MDIDESTROY, reinterpret_cast<WPARAM>(window_), 0);
}

LRESULT CALLBACK LibraryChildWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* self = reinterpret_cast<LibraryChildWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefMDIChildProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT LibraryChildWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND self = window_;
    switch (message) {
        case WM_SIZE:
            MoveWindow(tree_view_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            break;  // the MDI child's own handling follows
        case WM_COMMAND:
            if (lParam == 0 && handlers_.command) {
                handlers_.command(LOWORD(wParam));
                return 0;
            }
            break;
        case WM_NOTIFY:
            return onTreeNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_MDIACTIVATE:
            if (handlers_.activated) {
                handlers_.activated(reinterpret_cast<HWND>(lParam) == window_);
            }
            break;
        case WM_CLOSE:
            if (unloading_ || !handlers_.closeRequested || handlers_.closeRequested()) {
                unload();
            }
            return 0;
        case WM_NCDESTROY: {
            window_ = nullptr;
            tree_view_ = nullptr;
            items_.clear();
            auto destroyed = std::move(handlers_.destroyed);
            if (destroyed) {
                destroyed();
            }
            break;
        }
        default:
            break;
    }
    return DefMDIChildProcW(self, message, wParam, lParam);
}

LRESULT LibraryChildWindow::onTreeNotify(const NMHDR& header) {
    if (header.hwndFrom != tree_view_ || header.code != TVN_ITEMEXPANDEDW || mirroring_) {
        return 0;
    }
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    const std::string* key = keyOf(change.itemNew.hItem);
    if (key != nullptr && handlers_.expanded) {
        handlers_.expanded(*key, (change.action & TVE_EXPAND) != 0);
    }
    return 0;
}

const std::string* LibraryChildWindow::keyOf(HTREEITEM item) const {
    for (const auto& [key, shown] : items_) {
        if (shown == item) {
            return &key;
        }
    }
    return nullptr;
}

int LibraryChildWindow::imageIndex(const std::string& image) const {
    for (size_t i = 0; i < kTreeImages.size(); ++i) {
        if (kTreeImages[i].key == image) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void LibraryChildWindow::insertNode(const LibraryNode& node) {
    const auto parent = items_.find(node.parentKey);
    const std::wstring text = nodeText(node);
    TVINSERTSTRUCTW insert{};
    insert.hParent = node.isCategory() || parent == items_.end() ? TVI_ROOT : parent->second;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.iImage = insert.item.iSelectedImage = imageIndex(node.image);
    items_[node.key] = TreeView_InsertItem(tree_view_, &insert);
}

void LibraryChildWindow::updateItem(HTREEITEM item, const LibraryNode& node) {
    const std::wstring text = nodeText(node);
    TVITEMW change{};
    change.hItem = item;
    change.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    change.pszText = const_cast<wchar_t*>(text.c_str());
    change.iImage = change.iSelectedImage = imageIndex(node.image);
    TreeView_SetItem(tree_view_, &change);
    mirroring_ = true;
    TreeView_Expand(tree_view_, item, node.expanded ? TVE_EXPAND : TVE_COLLAPSE);
    mirroring_ = false;
}

void LibraryChildWindow::TreeRebuilt() {
    if (tree_view_ == nullptr) {
        return;
    }
    TreeView_DeleteAllItems(tree_view_);
    items_.clear();
    for (const std::string& categoryKey : tree_.Roots()) {
        const LibraryNode* category = tree_.Find(categoryKey);
        insertNode(*category);
        for (const std::string& childKey : category->children) {
            insertNode(*tree_.Find(childKey));
        }
        if (category->expanded) {
            mirroring_ = true;
            TreeView_Expand(tree_view_, items_[categoryKey], TVE_EXPAND);
            mirroring_ = false;
        }
    }
    SelectionChanged(tree_.Selected());
}

void LibraryChildWindow::NodeAdded(const LibraryNode& node) {
    if (tree_view_ != nullptr) {
        insertNode(node);
    }
}

void LibraryChildWindow::NodeRemoved(const std::string& key) {
    const auto item = items_.find(key);
    if (item == items_.end()) {
        return;
    }
    // Removing a category removes its materials' items with it: forget those too.
    std::vector<HTREEITEM> gone{item->second};
    for (HTREEITEM child = TreeView_GetChild(tree_view_, item->second); child != nullptr;
         child = TreeView_GetNextSibling(tree_view_, child)) {
        gone.push_back(child);
    }
    TreeView_DeleteItem(tree_view_, item->second);
    std::erase_if(items_, [&](const auto& entry) {
        return std::find(gone.begin(), gone.end(), entry.second) != gone.end();
    });
}

void LibraryChildWindow::NodeChanged(const LibraryNode& node) {
    const auto item = items_.find(node.key);
    if (item != items_.end()) {
        updateItem(item->second, node);
    }
}

void LibraryChildWindow::SelectionChanged(const LibraryNode* node) {
    if (tree_view_ == nullptr) {
        return;
    }
    const auto item = node != nullptr ? items_.find(node->key) : items_.end();
    if (item == items_.end()) {
        TreeView_SelectItem(tree_view_, nullptr);
        return;
    }
    TreeView_SelectItem(tree_view_, item->second);
    TreeView_EnsureVisible(tree_view_, item->second);
}

}  // namespace material::win32
