#include "LibraryChildWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "WideText.h"
#include "app/LibraryEditor.h"
#include "app/TreeFilter.h"
#include "data/Cp1252.h"
#include "data/library/LibraryController.h"
#include "resource.h"

namespace material::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"BaseForm";
constexpr int kTreeImageSize = 16;
// A refused field takes the focus back once the focus change under way has ended.
constexpr UINT kReturnFocusMessage = WM_APP + 1;
// A label edit is handled once the tree's editor has gone.
constexpr UINT kRenameMessage = WM_APP + 2;

// Control ids. Commands of the menus are 1000 and above, so a control's notification
// never reads as a command.
enum ControlId : int {
    kTreeId = 101,
    kPanelId,
    kCategoryId,
    kNameId,
    kDescriptionId,
    kAddId,
    kResetId,
    kClearId,
    kFilterId,
    kLabelId,
};

// Sizes in pixels at 96 dots per inch.
constexpr int kMargin = 6;
constexpr int kGap = 4;
constexpr int kTreeMinimumWidth = 200;
constexpr int kButtonHeight = 25;

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

int imageIndex(std::string_view image) {
    for (std::size_t i = 0; i < kTreeImages.size(); ++i) {
        if (kTreeImages[i].key == image) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The pictures of a node, unselected and selected. A material shows the leaf, and the
// selected leaf while it is the tree's selection: the tree view swaps them itself, so a
// click changes no item (the model marks the material shown in the same way).
struct NodeImages {
    int normal;
    int selected;
};
NodeImages imagesOf(const LibraryNode& node) {
    if (!node.isCategory() && (node.image == kImageLeaf || node.image == kImageSelectedLeaf)) {
        return {imageIndex(kImageLeaf), imageIndex(kImageSelectedLeaf)};
    }
    const int image = imageIndex(node.image);
    return {image, image};
}

std::wstring libraryTextShown(std::string_view bytes) {
    return widen(DecodeLibraryText(bytes));
}

EncodedText libraryTextTyped(const std::wstring& text) {
    return EncodeLibraryText(narrow(text));
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HFONT createMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

SIZE textSize(HWND window, HFONT font, const std::wstring& text) {
    HDC context = GetDC(window);
    HGDIOBJ old = SelectObject(context, font);
    SIZE size{};
    GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(context, old);
    ReleaseDC(window, context);
    return size;
}

// Moves a control unless it is there already: the window is laid out several times while
// it opens, and every move is a round trip to the window system.
void moveTo(HWND control, int x, int y, int width, int height) {
    RECT now{};
    GetWindowRect(control, &now);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&now), 2);
    if (now.left != x || now.top != y || now.right - now.left != width ||
        now.bottom - now.top != height) {
        MoveWindow(control, x, y, width, height, TRUE);
    }
}

// Holds a flag up while the window changes its own controls.
class Raised {
  public:
    explicit Raised(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Raised() { flag_ = was_; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

  private:
    bool& flag_;
    bool was_;
};

}  // namespace

LibraryChildWindow::LibraryChildWindow(HWND mdiClient, LibraryController& library,
                                       LibraryEditor& editor, Handlers handlers)
    : library_(library), editor_(editor), handlers_(std::move(handlers)) {
    registerClass();
    menu_ = LoadMenuW(instance(), MAKEINTRESOURCEW(IDR_LIBRARY_MENU));
    accelerators_ = LoadAcceleratorsW(instance(), MAKEINTRESOURCEW(IDR_LIBRARY_ACCELERATORS));
    font_ = createMessageFont();
    // Built hidden: the controls are made and placed without being drawn, and the library
    // operations show the window once it holds the library.
    window_ =
        CreateMDIWindowW(kWindowClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mdiClient, instance(), 0);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    // Dialog navigation (Tab, arrows) passes into the panel's own controls.
    SetWindowLongPtrW(window_, GWL_EXSTYLE,
                      GetWindowLongPtrW(window_, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    createControls();
    LibraryWindowView& view = *this;
    controller_ =
        std::make_unique<LibraryWindowController>(library_, editor_, panel_->controller(), view);
    controller_->setUnloadedHandler([this] {
        if (handlers_.showLibraryInFrame) {
            handlers_.showLibraryInFrame(false);
        }
    });
    // Laid out when shown: a hidden window gets its size (WM_SIZE) then.
}

LibraryChildWindow::~LibraryChildWindow() {
    handlers_ = {};
    if (controller_ && !controller_->unloaded()) {
        library_.Tree().SetListener(nullptr);
    }
    unload();
    ImageList_Destroy(images_);
    DestroyMenu(menu_);
    DestroyAcceleratorTable(accelerators_);
    DeleteObject(font_);
}

// ---- Controls ----------------------------------------------------------------------------

void LibraryChildWindow::createControls() {
    // Created in the tab order: the grid is reached from the tree without passing the
    // Category field, whose focus starts a new material; the filter field comes last,
    // Ctrl+F reaching it from anywhere.
    createTree();
    panel_ = std::make_unique<PropertyPanelWindow>(window_, kPanelId, library_, editor_.Prompts());
    categoryField_ = createField(L"Category     :", kCategoryId);
    nameField_ = createField(L"Name :", kNameId);
    descriptionField_ = createField(L"Description :", kDescriptionId);
    // The file keeps 50 characters of a description; more would be lost on saving.
    SendMessageW(descriptionField_, EM_LIMITTEXT, kDescriptionFieldLimit, 0);
    addButton_ = createButton(L"&Add New Material", kAddId);
    resetButton_ = createButton(L"&Reset", kResetId);
    clearButton_ = createButton(L"&Clear", kClearId);
    ShowWindow(addButton_, SW_HIDE);
    filterField_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0,
        0, 0, window_, reinterpret_cast<HMENU>(kFilterId), instance(), nullptr);
    SendMessageW(filterField_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(filterField_, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"Filter (Ctrl+F)"));
}

HWND LibraryChildWindow::createField(const wchar_t* caption, int id) {
    HWND label =
        CreateWindowExW(0, WC_STATICW, caption, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0,
                        window_, reinterpret_cast<HMENU>(kLabelId), instance(), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    HWND field = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_EDITW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0,
        0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    SendMessageW(field, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    keptTexts_[field] = L"";
    return field;
}

HWND LibraryChildWindow::createButton(const wchar_t* caption, int id) {
    HWND button = CreateWindowExW(
        0, WC_BUTTONW, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
        window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return button;
}

void LibraryChildWindow::measure() {
    const int dpi = static_cast<int>(GetDpiForWindow(window_));
    const auto px = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    metrics_.dpi = dpi;
    metrics_.lineHeight = textSize(window_, font_, L"Ag").cy + px(8);
    metrics_.labelWidth = 0;
    for (const wchar_t* caption : {L"Category     :", L"Name :", L"Description :"}) {
        metrics_.labelWidth =
            std::max<int>(metrics_.labelWidth, textSize(window_, font_, caption).cx);
    }
    metrics_.labelWidth += px(kGap) * 2;
    metrics_.narrowButton = std::max<int>(px(80), textSize(window_, font_, L"Clear").cx + px(24));
    metrics_.wideButton = textSize(window_, font_, L"Add New Material").cx + px(24);
}

void LibraryChildWindow::layout() {
    RECT client{};
    GetClientRect(window_, &client);
    if (metrics_.dpi != static_cast<int>(GetDpiForWindow(window_))) {
        measure();
    }
    const int dpi = metrics_.dpi;
    const auto px = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    const int lineHeight = metrics_.lineHeight;
    const int width = client.right;
    const int height = client.bottom;

    // The tree side: the filter field over the tree.
    const int treeWidth = std::max(px(kTreeMinimumWidth), width / 3);
    moveTo(filterField_, px(kMargin), px(kMargin), treeWidth, lineHeight);
    const int treeTop = px(kMargin) + lineHeight + px(kGap);
    moveTo(treeView_, px(kMargin), treeTop, treeWidth, std::max(0, height - treeTop - px(kMargin)));

    // The panel side: three labelled fields, the property panel, the commands.
    const int left = px(kMargin) * 2 + treeWidth;
    const int right = std::max(left, width - px(kMargin));
    const int labelWidth = metrics_.labelWidth;
    int top = px(kMargin);
    for (HWND field : {categoryField_, nameField_, descriptionField_}) {
        HWND label = GetWindow(field, GW_HWNDPREV);
        moveTo(label, left, top + px(3), labelWidth, lineHeight);
        moveTo(field, left + labelWidth, top, std::max(0, right - left - labelWidth), lineHeight);
        top += lineHeight + px(kGap);
    }
    const int buttonTop = height - px(kMargin) - px(kButtonHeight);
    const RECT panelArea{left, top + px(kGap), right, std::max<LONG>(top, buttonTop - px(kGap))};
    panel_->place(panelArea);

    // "&Add New Material" and "&Reset" are never shown together: they share a place.
    const int narrow = metrics_.narrowButton;
    const int wide = metrics_.wideButton;
    moveTo(addButton_, left, buttonTop, wide, px(kButtonHeight));
    moveTo(resetButton_, left, buttonTop, narrow, px(kButtonHeight));
    moveTo(clearButton_, left + narrow + px(kGap), buttonTop, narrow, px(kButtonHeight));
}

void LibraryChildWindow::setCaption(const std::wstring& caption) {
    // A maximised window's caption is also the frame's: each change redraws both.
    if (windowText(window_) != caption) {
        SetWindowTextW(window_, caption.c_str());
    }
}

void LibraryChildWindow::showTree() {
    ShowWindow(treeView_, SW_SHOW);
    SetFocus(treeView_);
}

void LibraryChildWindow::ShowTree() {
    ShowWindow(treeView_, SW_SHOW);
}

void LibraryChildWindow::showValuePanel(bool shown) {
    ShowWindow(panel_->window(), shown ? SW_SHOW : SW_HIDE);
}

void LibraryChildWindow::hidePanelCommands() {
    for (HWND button : {addButton_, resetButton_, clearButton_}) {
        ShowWindow(button, SW_HIDE);
    }
}

void LibraryChildWindow::ShowNewMaterialMode(bool on) {
    // Only the grid goes: the model-type and unit lists stay in view.
    panel_->showGrid(!on);
    ShowWindow(addButton_, on ? SW_SHOW : SW_HIDE);
    ShowWindow(resetButton_, on ? SW_HIDE : SW_SHOW);
    ShowWindow(clearButton_, on ? SW_HIDE : SW_SHOW);
}

// ---- Life ----------------------------------------------------------------------------------

void LibraryChildWindow::unload() {
    if (window_ == nullptr) {
        return;
    }
    if (controller_ && !unloading_) {
        unloading_ = true;
        controller_->unload();  // comes back through CloseWindow
    }
    unloading_ = true;
    if (window_ != nullptr) {
        SendMessageW(GetParent(window_), WM_MDIDESTROY, reinterpret_cast<WPARAM>(window_), 0);
    }
}

void LibraryChildWindow::CloseWindow() {
    if (window_ != nullptr) {
        unloading_ = true;
        SendMessageW(GetParent(window_), WM_MDIDESTROY, reinterpret_cast<WPARAM>(window_), 0);
    }
}

void LibraryChildWindow::ShowLibraryInFrame(bool open) {
    if (handlers_.showLibraryInFrame) {
        handlers_.showLibraryInFrame(open);
    }
}

void LibraryChildWindow::CloseFrame() {
    if (handlers_.closeFrame) {
        handlers_.closeFrame();
    }
}

void LibraryChildWindow::onDestroyed() {
    window_ = nullptr;
    treeView_ = nullptr;
    items_.clear();
    if (controller_ && !controller_->unloaded()) {
        library_.Tree().SetListener(nullptr);
    }
    auto destroyed = std::move(handlers_.destroyed);
    if (destroyed) {
        destroyed();
    }
}

// ---- Messages ------------------------------------------------------------------------------

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
            layout();
            break;  // the MDI child's own handling follows
        case WM_COMMAND:
            if (lParam != 0 && LOWORD(wParam) < 1000) {
                onFieldCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
                return 0;
            }
            if (LOWORD(wParam) == IDCANCEL && GetFocus() == filterField_) {
                SetWindowTextW(filterField_, L"");  // Escape empties the filter
                return 0;
            }
            onCommand(LOWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return onTreeNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CONTEXTMENU:
            showContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_) {
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ClientToScreen(window_, &at);
                dragOver(at);
            }
            break;
        case WM_LBUTTONUP:
            if (dragging_) {
                POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ClientToScreen(window_, &at);
                endDrag(true, at);
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            if (dragging_ && reinterpret_cast<HWND>(lParam) != window_) {
                endDrag(false, {});
            }
            break;
        case kReturnFocusMessage: {
            const Raised refocusing(refocusing_);
            SetFocus(reinterpret_cast<HWND>(wParam));
            return 0;
        }
        case kRenameMessage:
            controller_->onLabelEdited(renamedKey_, libraryTextTyped(renamedText_));
            return 0;
        case WM_SETFOCUS:
            SetFocus(lastFocus_ != nullptr && IsWindowVisible(lastFocus_) ? lastFocus_ : treeView_);
            return 0;
        case WM_MDIACTIVATE: {
            const bool active = reinterpret_cast<HWND>(lParam) == window_;
            HWND focus = GetFocus();
            if (!active && focus != nullptr && IsChild(window_, focus)) {
                lastFocus_ = focus;
            }
            if (handlers_.activated) {
                handlers_.activated(active);
            }
            break;
        }
        case WM_CLOSE:
            if (unloading_ || !controller_ || controller_->closeRequested()) {
                unloading_ = true;
                if (window_ != nullptr) {
                    SendMessageW(GetParent(window_), WM_MDIDESTROY,
                                 reinterpret_cast<WPARAM>(window_), 0);
                }
            }
            return 0;
        case WM_NCDESTROY: {
            const LRESULT result = DefMDIChildProcW(self, message, wParam, lParam);
            onDestroyed();
            return result;
        }
        default:
            break;
    }
    return DefMDIChildProcW(self, message, wParam, lParam);
}

void LibraryChildWindow::onCommand(int id) {
    switch (id) {
        case ID_LIBRARY_NEW:
            library_.NewLibrary();
            break;
        case ID_LIBRARY_OPEN:
            library_.OpenLibrary();
            break;
        case ID_LIBRARY_CLOSE:
            library_.CloseLibrary();
            break;
        case ID_LIBRARY_SAVE:
            controller_->onSave();
            break;
        case ID_LIBRARY_SAVE_AS:
            library_.SaveAs();
            break;
        case ID_LIBRARY_EXIT:
            controller_->onExit();
            break;
        case ID_EDIT_NEW:
            controller_->onEditNewMaterial(fieldText(categoryField_), fieldText(nameField_),
                                           fieldText(descriptionField_));
            break;
        case ID_EDIT_CLEAR:
        case kClearId:
            controller_->onClearValues();
            break;
        case ID_EDIT_RESET:
        case kResetId:
            controller_->onMaterialSet(fieldText(categoryField_), fieldText(nameField_),
                                       fieldText(descriptionField_));
            break;
        case kAddId:
            controller_->onNewMaterial(fieldText(categoryField_), fieldText(nameField_),
                                       fieldText(descriptionField_));
            break;
        case ID_EDIT_DELETE:
            library_.DeleteMaterial();
            break;
        case ID_EDIT_COPY:
            controller_->onCopyMaterial();
            break;
        case ID_EDIT_PASTE:
            controller_->onPasteMaterial();
            break;
        case ID_EDIT_UNDO:
            library_.Undo();
            break;
        case ID_EDIT_REDO:
            library_.Redo();
            break;
        case ID_EDIT_FIND:
            focusFilter();
            break;
        default:
            if (handlers_.frameCommand) {
                handlers_.frameCommand(id);  // View and Help
            }
            break;
    }
}

// ---- Fields ------------------------------------------------------------------------------

void LibraryChildWindow::onFieldCommand(HWND control, int code) {
    if (control == addButton_ || control == resetButton_ || control == clearButton_) {
        if (code == BN_CLICKED) {
            onCommand(GetDlgCtrlID(control));
        }
        return;
    }
    if (control == filterField_) {
        if (code == EN_CHANGE) {
            applyFilter();
        }
        return;
    }
    if (keptTexts_.find(control) == keptTexts_.end()) {
        return;
    }
    switch (code) {
        case EN_SETFOCUS:
            // After the click that gave the focus, which would place the caret instead.
            PostMessageW(control, EM_SETSEL, 0, -1);
            controller_->fieldEntered(fieldRole(control));
            break;
        case EN_KILLFOCUS:
            if (!refocusing_ && focusStaysInWindow()) {
                fieldLeft(control);
            }
            break;
        case EN_CHANGE:
            fieldEdited(control);
            break;
        default:
            break;
    }
}

PanelField LibraryChildWindow::fieldRole(HWND field) const {
    return field == categoryField_ ? PanelField::Category
           : field == nameField_   ? PanelField::Name
                                   : PanelField::None;
}

bool LibraryChildWindow::focusStaysInWindow() const {
    // Another window or a message box taking the focus is no leaving.
    HWND focus = GetFocus();
    return focus != nullptr && GetAncestor(focus, GA_ROOT) == GetAncestor(window_, GA_ROOT);
}

void LibraryChildWindow::fieldLeft(HWND field) {
    controller_->fieldLeft(fieldRole(field), fieldText(field));
}

void LibraryChildWindow::fieldEdited(HWND field) {
    const std::wstring text = windowText(field);
    if (settingText_) {
        keptTexts_[field] = text;
        return;
    }
    const EncodedText typed = libraryTextTyped(text);
    if (!controller_->fieldEdited(typed)) {
        // A character the library cannot hold: the field takes back its last text.
        DWORD caret = 0;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
        const std::wstring& kept = keptTexts_[field];
        const Raised setting(settingText_);
        SetWindowTextW(field, kept.c_str());
        const auto at =
            static_cast<WPARAM>(std::min<std::size_t>(caret > 0 ? caret - 1 : 0, kept.size()));
        SendMessageW(field, EM_SETSEL, at, static_cast<LPARAM>(at));
        return;
    }
    keptTexts_[field] = text;
    if (field == descriptionField_) {
        // Stored as typed as well as on leaving: a save by shortcut or toolbar leaves the
        // focus where it is, and the description would be missing from the file.
        controller_->storeDescription(typed.bytes);
    }
}

void LibraryChildWindow::setFieldText(HWND field, const std::string& libraryText) {
    const std::wstring text = libraryTextShown(libraryText);
    if (windowText(field) != text) {
        const Raised setting(settingText_);
        SetWindowTextW(field, text.c_str());
    }
}

std::string LibraryChildWindow::fieldText(HWND field) const {
    return libraryTextTyped(windowText(field)).bytes;
}

void LibraryChildWindow::SetPanelTexts(const std::string& category, const std::string& name,
                                       const std::string& description) {
    setFieldText(categoryField_, category);
    setFieldText(nameField_, name);
    setFieldText(descriptionField_, description);
}

void LibraryChildWindow::ReturnFocus(PanelField which) {
    // The field this takes the focus from is not checked now: two refused fields would
    // otherwise send it to and fro for ever. It is checked when the user leaves it.
    HWND field = which == PanelField::Category ? categoryField_ : nameField_;
    PostMessageW(window_, kReturnFocusMessage, reinterpret_cast<WPARAM>(field), 0);
}

// ---- Filter --------------------------------------------------------------------------------

void LibraryChildWindow::focusFilter() {
    SetFocus(filterField_);
    SendMessageW(filterField_, EM_SETSEL, 0, -1);
}

void LibraryChildWindow::applyFilter() {
    fillTree();
}

void LibraryChildWindow::refilter() {
    if (GetWindowTextLengthW(filterField_) > 0) {
        fillTree();
    }
}

// ---- Tree mirror ---------------------------------------------------------------------------

void LibraryChildWindow::createTree() {
    treeView_ =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                        WS_CHILD | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                            TVS_SHOWSELALWAYS | TVS_EDITLABELS,
                        0, 0, 0, 0, window_, reinterpret_cast<HMENU>(kTreeId), instance(), nullptr);
    SendMessageW(treeView_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    images_ = ImageList_Create(kTreeImageSize, kTreeImageSize, ILC_COLOR32,
                               static_cast<int>(kTreeImages.size()), 0);
    for (const TreeImage& image : kTreeImages) {
        auto* picture = static_cast<HBITMAP>(LoadImageW(instance(), MAKEINTRESOURCEW(image.bitmap),
                                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ImageList_Add(images_, picture, nullptr);
        DeleteObject(picture);
    }
    TreeView_SetImageList(treeView_, images_, TVSIL_NORMAL);
}

void LibraryChildWindow::insertNode(const LibraryNode& node) {
    const auto parent = items_.find(node.parentKey);
    const std::wstring text = libraryTextShown(node.text);
    const auto [entry, added] = items_.try_emplace(node.key, nullptr);
    TVINSERTSTRUCTW insert{};
    insert.hParent = node.isCategory() || parent == items_.end() ? TVI_ROOT : parent->second;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    const NodeImages images = imagesOf(node);
    insert.item.iImage = images.normal;
    insert.item.iSelectedImage = images.selected;
    // The map's key lives as long as the item: it is the item's key.
    insert.item.lParam = reinterpret_cast<LPARAM>(&entry->first);
    entry->second = TreeView_InsertItem(treeView_, &insert);
}

void LibraryChildWindow::updateItem(HTREEITEM item, const LibraryNode& node) {
    // Only what changed is set: each change makes the tree view measure and repaint.
    wchar_t shownText[256] = {};
    TVITEMW shown{};
    shown.hItem = item;
    shown.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_STATE;
    shown.stateMask = TVIS_EXPANDED;
    shown.pszText = shownText;
    shown.cchTextMax = 256;
    TreeView_GetItem(treeView_, &shown);
    const std::wstring text = libraryTextShown(node.text);
    TVITEMW change{};
    change.hItem = item;
    if (text != shownText) {
        change.mask |= TVIF_TEXT;
        change.pszText = const_cast<wchar_t*>(text.c_str());
    }
    const NodeImages images = imagesOf(node);
    if (shown.iImage != images.normal) {
        change.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        change.iImage = images.normal;
        change.iSelectedImage = images.selected;
    }
    if (change.mask != 0) {
        TreeView_SetItem(treeView_, &change);
    }
    if (node.isCategory() && ((shown.state & TVIS_EXPANDED) != 0) != node.expanded) {
        const Raised mirroring(mirroring_);
        TreeView_Expand(treeView_, item, node.expanded ? TVE_EXPAND : TVE_COLLAPSE);
    }
}

void LibraryChildWindow::fillTree() {
    if (treeView_ == nullptr) {
        return;
    }
    const Raised mirroring(mirroring_);
    SendMessageW(treeView_, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(treeView_);
    items_.clear();
    const MaterialFilter filter(libraryTextTyped(windowText(filterField_)));
    for (const std::string& categoryKey : library_.Tree().Roots()) {
        if (const LibraryNode* category = library_.Tree().Find(categoryKey)) {
            fillCategory(*category, filter);
        }
    }
    SendMessageW(treeView_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(treeView_, nullptr, TRUE);
    const LibraryNode* selected = library_.Tree().Selected();
    const auto item = selected != nullptr ? items_.find(selected->key) : items_.end();
    if (item != items_.end()) {
        TreeView_SelectItem(treeView_, item->second);
    }
}

void LibraryChildWindow::fillCategory(const LibraryNode& category, const MaterialFilter& filter) {
    std::vector<int> positions;
    positions.reserve(category.children.size());
    for (const std::string& child : category.children) {
        positions.push_back(editor_.PositionOf(child));
    }
    const CategoryFiltering result =
        FilterCategory(filter, library_.Content(), category.key, positions, category.expanded);
    if (!result.shown) {
        return;
    }
    insertNode(category);
    for (std::size_t c = 0; c < category.children.size(); ++c) {
        const LibraryNode* child = library_.Tree().Find(category.children[c]);
        if (child != nullptr && result.childShown[c]) {
            insertNode(*child);
        }
    }
    if (category.expanded || result.expand) {
        // The materials found are brought into view; the model keeps its own state.
        TreeView_Expand(treeView_, items_[category.key], TVE_EXPAND);
    }
}

void LibraryChildWindow::TreeRebuilt() {
    fillTree();
    SelectionChanged(library_.Tree().Selected());
}

void LibraryChildWindow::NodeAdded(const LibraryNode& node) {
    if (treeView_ == nullptr) {
        return;
    }
    if (GetWindowTextLengthW(filterField_) > 0) {
        fillTree();
        return;
    }
    const Raised mirroring(mirroring_);
    insertNode(node);
}

void LibraryChildWindow::NodeRemoved(const std::string& key) {
    const auto item = items_.find(key);
    if (item == items_.end()) {
        return;
    }
    // Removing a category removes its materials' items with it: forget those too.
    std::vector<HTREEITEM> gone{item->second};
    for (HTREEITEM child = TreeView_GetChild(treeView_, item->second); child != nullptr;
         child = TreeView_GetNextSibling(treeView_, child)) {
        gone.push_back(child);
    }
    {
        const Raised mirroring(mirroring_);
        TreeView_DeleteItem(treeView_, item->second);
    }
    std::erase_if(items_, [&](const auto& entry) {
        return std::find(gone.begin(), gone.end(), entry.second) != gone.end();
    });
}

void LibraryChildWindow::NodeChanged(const LibraryNode& node) {
    if (GetWindowTextLengthW(filterField_) > 0 && !node.isCategory()) {
        refilter();  // a renamed material may now pass the filter, or no longer
        return;
    }
    const auto item = items_.find(node.key);
    if (item != items_.end()) {
        updateItem(item->second, node);
    }
}

void LibraryChildWindow::SelectionChanged(const LibraryNode* node) {
    if (treeView_ == nullptr) {
        return;
    }
    const auto item = node != nullptr ? items_.find(node->key) : items_.end();
    {
        const Raised mirroring(mirroring_);
        // Selecting an item also scrolls it into view.
        TreeView_SelectItem(treeView_, item != items_.end() ? item->second : nullptr);
    }
    if (controller_) {
        controller_->onSelectionChanged(node != nullptr ? &node->key : nullptr,
                                        node != nullptr && node->isCategory());
    }
}

const std::string* LibraryChildWindow::keyOf(HTREEITEM item) const {
    if (item == nullptr) {
        return nullptr;
    }
    TVITEMW request{};
    request.hItem = item;
    request.mask = TVIF_PARAM;
    if (!TreeView_GetItem(treeView_, &request)) {
        return nullptr;
    }
    return reinterpret_cast<const std::string*>(request.lParam);
}

HTREEITEM LibraryChildWindow::itemAt(POINT screenPoint) const {
    TVHITTESTINFO hit{};
    hit.pt = screenPoint;
    ScreenToClient(treeView_, &hit.pt);
    TreeView_HitTest(treeView_, &hit);
    return (hit.flags & TVHT_ONITEM) != 0 ? hit.hItem : nullptr;
}

// ---- Tree events ---------------------------------------------------------------------------

LRESULT LibraryChildWindow::onTreeNotify(const NMHDR& header) {
    if (header.hwndFrom != treeView_) {
        return 0;
    }
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    switch (header.code) {
        case TVN_SELCHANGEDW:
            // Only a click or a key is the user's: the tree view also selects on its own,
            // its first node when it takes the focus with nothing selected.
            if (!mirroring_ && (change.action == TVC_BYMOUSE || change.action == TVC_BYKEYBOARD)) {
                onSelectionChangedByUser(change);
            }
            return 0;
        case TVN_ITEMEXPANDEDW:
            if (!mirroring_) {
                if (const std::string* key = keyOf(change.itemNew.hItem)) {
                    // The model shows the open or closed book for the category.
                    library_.Tree().SetExpanded(*key, (change.action & TVE_EXPAND) != 0);
                }
            }
            return 0;
        case NM_CLICK:
            onTreeClicked();
            return 0;
        case NM_RCLICK: {
            POINT at{};
            GetCursorPos(&at);
            showContextMenu(at);
            return TRUE;
        }
        case TVN_KEYDOWN: {
            const auto& key = reinterpret_cast<const NMTVKEYDOWN&>(header);
            if (key.wVKey == VK_DELETE) {
                library_.DeleteMaterial();
                return TRUE;
            }
            if (key.wVKey == VK_F2) {
                if (HTREEITEM selected = TreeView_GetSelection(treeView_)) {
                    TreeView_EditLabel(treeView_, selected);
                }
                return TRUE;
            }
            return 0;
        }
        case TVN_BEGINLABELEDITW:
            return FALSE;  // every node can be renamed
        case TVN_ENDLABELEDITW: {
            const auto& edit = reinterpret_cast<const NMTVDISPINFOW&>(header);
            const std::string* key = keyOf(edit.item.hItem);
            if (edit.item.pszText != nullptr && key != nullptr) {
                // Handled once the editor has gone: a message box shown while it is still
                // open would take its focus and end the edit a second time.
                renamedKey_ = *key;
                renamedText_ = edit.item.pszText;
                PostMessageW(window_, kRenameMessage, 0, 0);
            }
            return FALSE;  // the label changes when the model says so
        }
        case TVN_BEGINDRAGW:
            beginDrag(change);
            return 0;
        default:
            return 0;
    }
}

void LibraryChildWindow::onSelectionChangedByUser(const NMTREEVIEWW& change) {
    const std::string* key = keyOf(change.itemNew.hItem);
    if (key == nullptr) {
        return;
    }
    justSelected_ = change.action == TVC_BYMOUSE;
    const std::string selected = *key;  // the model's selection may rebuild the tree
    {
        const Raised mirroring(mirroring_);
        library_.Tree().Select(selected);
    }
    controller_->TreeView1_NodeClick(selected);
}

void LibraryChildWindow::onTreeClicked() {
    // The node that is selected already, clicked again, is shown again.
    if (justSelected_) {
        justSelected_ = false;
        return;
    }
    POINT at{};
    GetCursorPos(&at);
    HTREEITEM item = itemAt(at);
    if (item != nullptr && item == TreeView_GetSelection(treeView_)) {
        if (const std::string* key = keyOf(item)) {
            controller_->TreeView1_NodeClick(std::string(*key));
        }
    }
}

void LibraryChildWindow::showContextMenu(POINT at) {
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: under the selected node.
        RECT item{};
        HTREEITEM selected = TreeView_GetSelection(treeView_);
        if (selected != nullptr && TreeView_GetItemRect(treeView_, selected, &item, TRUE)) {
            at = {item.left, item.bottom};
        }
        ClientToScreen(treeView_, &at);
    }
    // The Edit menu, whose commands come back as the window's own.
    TrackPopupMenu(GetSubMenu(menu_, 1), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_,
                   nullptr);
}

// ---- Drag and drop -------------------------------------------------------------------------

void LibraryChildWindow::beginDrag(const NMTREEVIEWW& change) {
    const std::string* key = keyOf(change.itemNew.hItem);
    const LibraryNode* node = key != nullptr ? library_.Tree().Find(*key) : nullptr;
    if (node == nullptr || node->isCategory()) {
        return;  // only materials move
    }
    dragSource_ = *key;
    library_.SetDragSourceKey(dragSource_);
    dragging_ = true;
    SetCapture(window_);
    SetCursor(LoadIconW(instance(), MAKEINTRESOURCEW(IDI_DRAG)));
}

void LibraryChildWindow::dragOver(POINT screenPoint) {
    TreeView_SelectDropTarget(treeView_, itemAt(screenPoint));
}

void LibraryChildWindow::endDrag(bool dropped, POINT screenPoint) {
    dragging_ = false;
    TreeView_SelectDropTarget(treeView_, nullptr);
    if (GetCapture() == window_) {
        ReleaseCapture();
    }
    if (!dropped) {
        return;
    }
    const std::string* target = keyOf(itemAt(screenPoint));
    controller_->onDrop(dragSource_, target != nullptr ? *target : std::string());
}

}  // namespace material::win32
