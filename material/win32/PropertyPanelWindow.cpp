#include "PropertyPanelWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "WideText.h"
#include "data/Cp1252.h"
#include "data/Material.h"
#include "units/UnitSystems.h"

namespace material::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"PropertyPanel";
constexpr int kTypeComboId = 1;
constexpr int kUnitsComboId = 2;
constexpr int kGridId = 3;
constexpr int kEditorId = 4;
constexpr int kTypeLabelId = 5;
constexpr int kUnitsLabelId = 6;
// Posted when the focus went from the grid to another control: handled once the focus
// has settled, since a refused entry shows a message box.
constexpr UINT kGridLeftMessage = WM_APP + 1;

// Layout, in pixels at 96 DPI (scaled to the window's).
constexpr int kGap = 4;
constexpr int kListSpacing = 12;
constexpr int kListDropHeight = 260;
// Room the list view leaves around a cell's text, beside the text itself.
constexpr int kCellMargin = 14;
constexpr int kTooltipWidth = 400;

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

// Library texts (Windows-1252) in the controls' UTF-16 and back.
std::wstring shown(const std::string& libraryText) {
    return widen(DecodeLibraryText(libraryText));
}

std::string libraryText(const std::wstring& text) {
    return EncodeLibraryText(narrow(text)).bytes;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool pressed(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

// A window and its descendants.
bool within(HWND outer, HWND window) {
    return window != nullptr && (window == outer || IsChild(outer, window));
}

}  // namespace

// ---- Construction ----------------------------------------------------------------------------

PropertyPanelWindow::PropertyPanelWindow(HWND parent, int id, LibraryController& library,
                                         LibraryPrompts& prompts)
    : controller_(library, prompts, *this) {
    registerClass();
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, L"",
                              WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), this);
    font_ = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
    if (font_ == nullptr) {
        font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    createLists();
    createGrid();
    createTooltip();
}

PropertyPanelWindow::~PropertyPanelWindow() {
    closing_ = true;
    if (tooltip_ != nullptr) {
        DestroyWindow(tooltip_);
    }
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void PropertyPanelWindow::registerClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance(), kWindowClass, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
}

HWND PropertyPanelWindow::child(const wchar_t* className, const wchar_t* text, DWORD style,
                                DWORD extendedStyle, int id) {
    HWND control = CreateWindowExW(
        extendedStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return control;
}

void PropertyPanelWindow::createLists() {
    typeLabel_ = child(L"STATIC", L"Type           :", SS_LEFT | SS_NOPREFIX, 0, kTypeLabelId);
    typeCombo_ =
        child(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, kTypeComboId);
    unitsLabel_ = child(L"STATIC", L"Units  :", SS_LEFT | SS_NOPREFIX, 0, kUnitsLabelId);
    unitsCombo_ =
        child(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, kUnitsComboId);
}

void PropertyPanelWindow::createGrid() {
    grid_ = child(WC_LISTVIEWW, L"",
                  WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                  WS_EX_CLIENTEDGE, kGridId);
    ListView_SetExtendedListViewStyle(grid_, LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    for (int c = 0; c < kGridColumnCount; ++c) {
        const std::wstring heading = HeadingText(c);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = c == kValueColumn ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.pszText = const_cast<wchar_t*>(heading.c_str());
        column.cx = ListView_GetStringWidth(grid_, heading.c_str()) + scaled(kCellMargin);
        column.iSubItem = c;
        ListView_InsertColumn(grid_, c, &column);
    }
    SetWindowSubclass(grid_, gridProcedure, 0, reinterpret_cast<DWORD_PTR>(this));

    editor_ = CreateWindowExW(0, WC_EDITW, L"", WS_CHILD | ES_AUTOHSCROLL | ES_RIGHT, 0, 0, 0, 0,
                              grid_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)),
                              instance(), nullptr);
    SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SetWindowSubclass(editor_, editorProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

void PropertyPanelWindow::createTooltip() {
    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance(), nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, scaled(kTooltipWidth));
    TTTOOLINFOW tool = toolInfo();
    tool.uFlags = TTF_SUBCLASS;
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

TTTOOLINFOW PropertyPanelWindow::toolInfo() const {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = grid_;
    tool.uId = 1;
    return tool;
}

HWND PropertyPanelWindow::cellEditor() const {
    return editing_ ? editor_ : nullptr;
}

// ---- Layout ----------------------------------------------------------------------------------

void PropertyPanelWindow::place(const RECT& area) {
    // The window is laid out again and again while it opens; the same place costs nothing.
    if (placed_ && EqualRect(&area, &placedAt_)) {
        return;
    }
    MoveWindow(window_, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    layout();
    if (!placed_) {
        ShowWindow(window_, SW_SHOWNA);  // later the library window decides what shows
    }
    placed_ = true;
    placedAt_ = area;
}

void PropertyPanelWindow::showGrid(bool shown) {
    if (!shown) {
        DropOpenEditor();
    }
    ShowWindow(grid_, shown ? SW_SHOWNA : SW_HIDE);
}

int PropertyPanelWindow::textWidth(const std::wstring& text) const {
    HDC context = GetDC(window_);
    auto* previous = static_cast<HFONT>(SelectObject(context, font_));
    SIZE size{};
    GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(context, previous);
    ReleaseDC(window_, context);
    return size.cx;
}

int PropertyPanelWindow::scaled(int pixels) const {
    return MulDiv(pixels, static_cast<int>(GetDpiForWindow(window_)), USER_DEFAULT_SCREEN_DPI);
}

int PropertyPanelWindow::unitsComboWidth() const {
    // Wide enough for its longest entry beside the drop-down button.
    int widest = 0;
    for (int i = 0; i < ComboBox_GetCount(unitsCombo_); ++i) {
        std::wstring text(static_cast<size_t>(ComboBox_GetLBTextLen(unitsCombo_, i)) + 1, L'\0');
        ComboBox_GetLBText(unitsCombo_, i, text.data());
        text.resize(text.size() - 1);
        widest = std::max(widest, textWidth(text));
    }
    return std::max(widest, scaled(40)) + GetSystemMetrics(SM_CXVSCROLL) + scaled(12);
}

void PropertyPanelWindow::layout() {
    RECT client{};
    GetClientRect(window_, &client);
    RECT combo{};
    GetWindowRect(typeCombo_, &combo);
    const int listHeight = combo.bottom - combo.top;
    const int typeLabelWidth = textWidth(windowText(typeLabel_));
    const int unitsLabelWidth = textWidth(windowText(unitsLabel_));
    const int unitsWidth = unitsComboWidth();
    // The units list keeps its width; the type list takes the rest of the row.
    const int unitsLeft = std::max(static_cast<int>(client.right) - unitsWidth, 0);
    const int unitsLabelLeft = unitsLeft - scaled(kGap) - unitsLabelWidth;
    const int typeLeft = typeLabelWidth + scaled(kGap);
    const int typeWidth = std::max(unitsLabelLeft - scaled(kListSpacing) - typeLeft, scaled(40));
    // Labels sit on the lists' text line.
    const int labelTop = std::max((listHeight - textHeight()) / 2, 0);

    MoveWindow(typeLabel_, 0, labelTop, typeLabelWidth, textHeight(), TRUE);
    MoveWindow(typeCombo_, typeLeft, 0, typeWidth, scaled(kListDropHeight), TRUE);
    MoveWindow(unitsLabel_, unitsLabelLeft, labelTop, unitsLabelWidth, textHeight(), TRUE);
    MoveWindow(unitsCombo_, unitsLeft, 0, unitsWidth, scaled(kListDropHeight), TRUE);
    const int gridTop = listHeight + scaled(kGap);
    MoveWindow(grid_, 0, gridTop, client.right,
               std::max(static_cast<int>(client.bottom) - gridTop, 0), TRUE);
    fillLastColumn(widestTexts().back());
    placeEditor();
}

int PropertyPanelWindow::textHeight() const {
    HDC context = GetDC(window_);
    auto* previous = static_cast<HFONT>(SelectObject(context, font_));
    TEXTMETRICW metrics{};
    GetTextMetricsW(context, &metrics);
    SelectObject(context, previous);
    ReleaseDC(window_, context);
    return metrics.tmHeight;
}

// ---- Window procedures -----------------------------------------------------------------------

LRESULT CALLBACK PropertyPanelWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<PropertyPanelWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(window, message, wParam, lParam);
}

LRESULT PropertyPanelWindow::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (grid_ != nullptr) {
                layout();
            }
            return 0;
        case WM_COMMAND:
            onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case kGridLeftMessage:
            onGridLeft();
            return 0;
        case WM_DESTROY:
            // The children go after this: their focus changes are no user's.
            closing_ = true;
            break;
        case WM_NCDESTROY:
            closing_ = true;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = typeCombo_ = unitsCombo_ = grid_ = editor_ = nullptr;
            editing_ = false;
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PropertyPanelWindow::onCommand(HWND control, UINT code) {
    if (control == nullptr || closing_) {
        return;
    }
    if (code == CBN_SETFOCUS && (control == typeCombo_ || control == unitsCombo_)) {
        controller_.onListFocused();
    } else if (code == CBN_SELCHANGE && control == typeCombo_) {
        controller_.onTypeChosen(ComboBox_GetCurSel(typeCombo_));
    } else if (code == CBN_SELCHANGE && control == unitsCombo_) {
        controller_.onUnitsChosen(ComboBox_GetCurSel(unitsCombo_));
    }
}

LRESULT PropertyPanelWindow::onNotify(const NMHDR& header) {
    if (header.hwndFrom != grid_) {
        return 0;
    }
    switch (header.code) {
        case NM_CUSTOMDRAW:
            return onCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
        case LVN_ITEMCHANGING: {
            // The panel keeps its own current cell: the list view never selects a row,
            // which would paint the whole first cell as selected beside it.
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            return (change.uChanged & LVIF_STATE) != 0 && (change.uNewState & LVIS_SELECTED) != 0;
        }
        default:
            return 0;
    }
}

LRESULT PropertyPanelWindow::onCustomDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            const GridCell cell{static_cast<int>(draw.nmcd.dwItemSpec) + 1, draw.iSubItem};
            const bool isCurrent =
                current_ && current_->row == cell.row && current_->column == cell.column;
            const bool focused = within(grid_, GetFocus());
            draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
            if (isCurrent) {
                draw.clrTextBk = GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
                draw.clrText = GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
            } else {
                draw.clrTextBk = GetSysColor(COLOR_WINDOW);
                draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
            }
            return CDRF_NEWFONT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

LRESULT CALLBACK PropertyPanelWindow::gridProcedure(HWND window, UINT message, WPARAM wParam,
                                                    LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<PropertyPanelWindow*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, gridProcedure, 0);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return self->handleGrid(window, message, wParam, lParam);
}

LRESULT PropertyPanelWindow::handleGrid(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return gridDialogCode(reinterpret_cast<const MSG*>(lParam));
        case WM_KEYDOWN:
            if (onGridKey(static_cast<UINT>(wParam))) {
                return 0;
            }
            break;
        case WM_CHAR:
            onGridCharacter(static_cast<wchar_t>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            onGridClick(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                        message == WM_LBUTTONDBLCLK);
            return 0;
        case WM_MOUSEMOVE:
            onGridHover(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            break;
        case WM_SETFOCUS:
            onGridFocused();
            break;
        case WM_KILLFOCUS:
            onFocusLeaving(reinterpret_cast<HWND>(wParam));
            InvalidateRect(window, nullptr, FALSE);
            break;
        case WM_VSCROLL:
        case WM_HSCROLL:
        case WM_MOUSEWHEEL:
        case WM_NOTIFY: {
            // Scrolling and column sizing move the cells: the editor follows its cell.
            const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            placeEditor();
            return result;
        }
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK PropertyPanelWindow::editorProcedure(HWND window, UINT message, WPARAM wParam,
                                                      LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<PropertyPanelWindow*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, editorProcedure, 0);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return self->handleEditor(window, message, wParam, lParam);
}

LRESULT PropertyPanelWindow::handleEditor(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter and Escape end the entry rather than pressing a dialog's buttons.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            LRESULT code =
                DefSubclassProc(window, message, wParam, lParam) | DLGC_WANTARROWS | DLGC_WANTCHARS;
            if (key != nullptr && key->message == WM_KEYDOWN &&
                (key->wParam == VK_RETURN || key->wParam == VK_ESCAPE)) {
                code |= DLGC_WANTMESSAGE;
            }
            return code;
        }
        case WM_KEYDOWN:
            if (onEditorKey(static_cast<UINT>(wParam))) {
                return 0;
            }
            break;
        case WM_CHAR:
            // Enter, Escape and Tab were handled as keys; a single-line edit would beep.
            if (wParam == L'\r' || wParam == L'\x1b' || wParam == L'\t') {
                return 0;
            }
            break;
        case WM_KILLFOCUS:
            onFocusLeaving(reinterpret_cast<HWND>(wParam));
            InvalidateRect(grid_, nullptr, FALSE);  // the current cell shows the focus gone
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// ---- Keyboard and mouse ----------------------------------------------------------------------

LRESULT PropertyPanelWindow::gridDialogCode(const MSG* key) const {
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
        code |= DLGC_WANTMESSAGE;  // Enter opens the value cell's editor
    }
    return code;
}

bool PropertyPanelWindow::onGridKey(UINT key) {
    if (key == VK_TAB) {
        leaveByTab();
        return true;
    }
    if (key == VK_F2 || key == VK_RETURN) {
        if (current_ && current_->column == kValueColumn) {
            openEditor(current_->row, nullptr);
        }
        return true;
    }
    const std::optional<GridCell> target = keyTarget(key);
    if (!target) {
        return false;
    }
    // With no current cell, the first key shows where the keys start from.
    moveTo(current_ ? *target : GridCell{1, kPropertyColumn});
    return true;
}

std::optional<GridCell> PropertyPanelWindow::keyTarget(UINT key) const {
    const int rows = RowCount();
    const GridCell at = current_.value_or(GridCell{1, kPropertyColumn});
    const int page = std::max(ListView_GetCountPerPage(grid_), 1);
    const bool control = pressed(VK_CONTROL);
    GridCell to = at;
    switch (key) {
        case VK_UP:
            to.row -= 1;
            break;
        case VK_DOWN:
            to.row += 1;
            break;
        case VK_LEFT:
            to.column -= 1;
            break;
        case VK_RIGHT:
            to.column += 1;
            break;
        case VK_PRIOR:
            to.row -= page;
            break;
        case VK_NEXT:
            to.row += page;
            break;
        case VK_HOME:  // Ctrl+Home: the first row
            if (control) {
                to.row = 1;
            } else {
                to.column = 0;
            }
            break;
        case VK_END:  // Ctrl+End: the last row
            if (control) {
                to.row = rows;
            } else {
                to.column = kGridColumnCount - 1;
            }
            break;
        default:
            return std::nullopt;
    }
    if (rows == 0) {
        return std::nullopt;
    }
    return GridCell{std::clamp(to.row, 1, rows), std::clamp(to.column, 0, kGridColumnCount - 1)};
}

void PropertyPanelWindow::onGridCharacter(wchar_t character) {
    // Typing on the value cell starts an entry with what was typed.
    if (character >= L' ' && current_ && current_->column == kValueColumn && !editing_) {
        const wchar_t typed[2] = {character, L'\0'};
        openEditor(current_->row, typed);
    }
}

bool PropertyPanelWindow::onEditorKey(UINT key) {
    switch (key) {
        case VK_RETURN:
            CommitOpenEditor();
            return true;
        case VK_ESCAPE:
            DropOpenEditor();
            return true;
        case VK_UP:
        case VK_DOWN:
            if (current_) {
                const int row = current_->row + (key == VK_UP ? -1 : 1);
                moveTo({std::clamp(row, 1, std::max(RowCount(), 1)), current_->column});
            }
            return true;
        case VK_TAB:
            leaveByTab();
            return true;
        default:
            return false;
    }
}

void PropertyPanelWindow::leaveByTab() {
    // Without a dialog loop around the panel, Tab still moves on as in a dialog.
    HWND dialog = GetParent(window_);
    while (dialog != nullptr && (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD) != 0 &&
           (GetWindowLongPtrW(GetParent(dialog), GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0) {
        dialog = GetParent(dialog);
    }
    HWND next = GetNextDlgTabItem(dialog, GetFocus(), pressed(VK_SHIFT));
    if (next != nullptr && !within(grid_, next)) {
        SetFocus(next);
    }
}

std::optional<GridCell> PropertyPanelWindow::cellAt(POINT point) const {
    LVHITTESTINFO hit{};
    hit.pt = point;
    if (ListView_SubItemHitTest(grid_, &hit) < 0 || hit.iItem < 0 ||
        (hit.flags & LVHT_ONITEM) == 0) {
        return std::nullopt;
    }
    return GridCell{hit.iItem + 1, hit.iSubItem};
}

void PropertyPanelWindow::onGridClick(POINT point, bool doubleClick) {
    if (!within(grid_, GetFocus())) {
        clicking_ = true;
        SetFocus(grid_);
        clicking_ = false;
    }
    const std::optional<GridCell> cell = cellAt(point);
    if (!cell) {
        return;
    }
    const bool same = current_ && current_->row == cell->row && current_->column == cell->column;
    if (!same) {
        moveTo(*cell);
    } else if (doubleClick && cell->column == kValueColumn && !editing_) {
        openEditor(cell->row, nullptr);
    }
}

void PropertyPanelWindow::onGridFocused() {
    InvalidateRect(grid_, nullptr, FALSE);
    // Arriving by keyboard with no current cell, the first cell becomes current so that
    // the keys have a place to start from; a click picks its own cell.
    if (!clicking_ && !current_ && RowCount() > 0) {
        moveTo({1, kPropertyColumn});
    }
}

void PropertyPanelWindow::onFocusLeaving(HWND to) {
    if (!closing_ && leavesGridWithinWindow(to)) {
        PostMessageW(window_, kGridLeftMessage, 0, 0);
    }
}

bool PropertyPanelWindow::leavesGridWithinWindow(HWND to) const {
    // Only a move to another control of this window leaves the grid: a message box or
    // another program taking the focus does not.
    return to != nullptr && !within(grid_, to) &&
           GetAncestor(to, GA_ROOT) == GetAncestor(window_, GA_ROOT);
}

void PropertyPanelWindow::onGridLeft() {
    // The focus may have come back meanwhile.
    if (!closing_ && leavesGridWithinWindow(GetFocus())) {
        controller_.VSFlexGrid1_LostFocus();
    }
}

void PropertyPanelWindow::onGridHover(POINT point) {
    const std::optional<GridCell> cell = cellAt(point);
    const int row = cell && cell->column == kValueColumn ? cell->row : 0;
    if (row == hoverRow_) {
        return;
    }
    hoverRow_ = row;
    TTTOOLINFOW tool = toolInfo();
    std::wstring text;
    if (row > 0) {
        ListView_GetSubItemRect(grid_, row - 1, kValueColumn, LVIR_BOUNDS, &tool.rect);
        text = widen(DecodeLibraryText(ValueTooltip(row)));
    }
    SendMessageW(tooltip_, TTM_POP, 0, 0);
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.lpszText = text.data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// ---- Current cell and editor -----------------------------------------------------------------

void PropertyPanelWindow::moveTo(GridCell to) {
    // An open editor hands its text to its cell before the move is told.
    CommitOpenEditor();
    const GridCell from = current_.value_or(GridCell{});
    if (current_) {
        redrawRow(current_->row);
    }
    current_ = to;
    redrawRow(to.row);
    ListView_EnsureVisible(grid_, to.row - 1, FALSE);
    controller_.onCellMoved(from, to);
}

void PropertyPanelWindow::redrawRow(int row) {
    if (row >= 1 && row <= RowCount()) {
        ListView_RedrawItems(grid_, row - 1, row - 1);
    }
}

void PropertyPanelWindow::openEditor(int row, const wchar_t* typed) {
    // Without a material an entry would be stored nowhere.
    if (!valuesEditable_ || row < 1 || row > RowCount()) {
        return;
    }
    const bool reopened = editing_ && editRow_ == row;
    editing_ = true;
    editRow_ = row;
    const std::wstring text = typed != nullptr ? std::wstring(typed) : shown(cellText(row));
    SetWindowTextW(editor_, text.c_str());
    ListView_EnsureVisible(grid_, row - 1, FALSE);
    placeEditor();
    SetFocus(editor_);
    if (typed != nullptr) {
        Edit_SetSel(editor_, static_cast<int>(text.size()), static_cast<int>(text.size()));
    } else {
        Edit_SetSel(editor_, 0, -1);
    }
    if (!reopened) {
        controller_.onEditorOpened({row, kValueColumn});
    }
}

const std::string& PropertyPanelWindow::cellText(int row) const {
    return cells_[static_cast<size_t>(row - 1)][kValueColumn];
}

void PropertyPanelWindow::placeEditor() {
    if (!editing_ || editor_ == nullptr) {
        return;
    }
    RECT cell{};
    ListView_GetSubItemRect(grid_, editRow_ - 1, kValueColumn, LVIR_BOUNDS, &cell);
    // Inside the grid lines.
    MoveWindow(editor_, cell.left + 1, cell.top + 1, cell.right - cell.left - 2,
               cell.bottom - cell.top - 1, TRUE);
    // A row scrolled up under the heading takes its editor out of view; it stays open.
    RECT heading{};
    GetWindowRect(ListView_GetHeader(grid_), &heading);
    MapWindowPoints(nullptr, grid_, reinterpret_cast<POINT*>(&heading), 2);
    ShowWindow(editor_, cell.top + 1 < heading.bottom ? SW_HIDE : SW_SHOWNA);
}

void PropertyPanelWindow::closeEditor() {
    const bool hadFocus = GetFocus() == editor_;
    editing_ = false;
    if (hadFocus) {
        SetFocus(grid_);
    }
    ShowWindow(editor_, SW_HIDE);
}

// ---- PropertyGridView ------------------------------------------------------------------------

int PropertyPanelWindow::RowCount() const {
    return static_cast<int>(cells_.size());
}

std::string PropertyPanelWindow::CellText(GridCell cell) const {
    if (cell.row < 1 || cell.row > RowCount() || cell.column < 0 ||
        cell.column >= kGridColumnCount) {
        return {};
    }
    return cells_[static_cast<size_t>(cell.row - 1)][static_cast<size_t>(cell.column)];
}

std::optional<GridCell> PropertyPanelWindow::CurrentCell() const {
    return current_;
}

void PropertyPanelWindow::SetCurrentCell(GridCell cell) {
    if (cell.row >= 1 && cell.row <= RowCount() && cell.column >= 0 &&
        cell.column < kGridColumnCount) {
        moveTo(cell);
    }
}

std::wstring PropertyPanelWindow::HeadingText(int column) const {
    if (column < 0 || column >= kGridColumnCount) {
        return {};
    }
    const std::string_view heading = kGridHeadings[static_cast<size_t>(column)];
    return shown(std::string(heading));
}

int PropertyPanelWindow::ColumnWidth(int column) const {
    return ListView_GetColumnWidth(grid_, column);
}

std::string PropertyPanelWindow::ValueTooltip(int row) const {
    // Read at the moment of asking, so that an entry just stored shows in it.
    const clsMaterial* material = controller_.CurrentMaterial();
    if (!showValues_ || material == nullptr || row < 1 || row > RowCount()) {
        return {};
    }
    return GridValueTooltip(*material, lookupCodes_[static_cast<size_t>(row - 1)]);
}

void PropertyPanelWindow::fillCombo(HWND combo, const std::vector<std::string>& texts,
                                    int selected) {
    // Filled and selected without a notification: no choice of the user's.
    SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
    ComboBox_ResetContent(combo);
    for (const std::string& text : texts) {
        ComboBox_AddString(combo, shown(text).c_str());
    }
    ComboBox_SetCurSel(combo, selected);
    SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(combo, nullptr, TRUE);
}

void PropertyPanelWindow::FillTypeList(const std::vector<std::string>& texts, int selected) {
    fillCombo(typeCombo_, texts, selected);
}

void PropertyPanelWindow::FillUnitList(const std::vector<std::string>& texts, int selected) {
    fillCombo(unitsCombo_, texts, selected);
    layout();  // the list is as wide as its entries
}

void PropertyPanelWindow::SelectUnitPosition(int position) {
    ComboBox_SetCurSel(unitsCombo_, position);
}

void PropertyPanelWindow::RebuildGrid(const FlexGridHost& host, int modelType,
                                      const UnitCaptions& captions) {
    DropOpenEditor();
    current_.reset();
    hoverRow_ = -1;
    const clsMaterial* material = host.CurrentMaterial();
    const int position = host.UnitListPosition();
    const std::vector<GridRowLayout> rows =
        GridRows(modelType, position, captions, material != nullptr);
    showValues_ = material != nullptr && GridShowsValues(modelType);
    valuesEditable_ = material != nullptr;
    const std::string_view system = UnitSystemAtPosition(position);

    std::vector<std::array<std::string, kGridColumnCount>> before = std::move(cells_);
    cells_.clear();
    lookupCodes_.clear();
    for (const GridRowLayout& row : rows) {
        std::string value = showValues_ ? GridValueText(*material, row.lookupCode, system) : "";
        if (std::optional<std::string> number = NumericCellText(value, host.Numbers())) {
            value = std::move(*number);
        }
        cells_.push_back({row.code, row.description, std::move(value), row.units});
        lookupCodes_.push_back(row.lookupCode);
    }
    showRows(before);
    FitColumns();
}

void PropertyPanelWindow::showRows(
    const std::vector<std::array<std::string, kGridColumnCount>>& before) {
    if (before.size() == cells_.size() && ListView_GetItemCount(grid_) == RowCount()) {
        // The same rows (another material of the same type): only the changed texts are
        // set, and only their cells repainted.
        for (int r = 1; r <= RowCount(); ++r) {
            for (int c = 0; c < kGridColumnCount; ++c) {
                const auto row = static_cast<size_t>(r - 1);
                const auto column = static_cast<size_t>(c);
                if (before[row][column] != cells_[row][column]) {
                    showCell(r, c);
                }
            }
        }
        return;
    }
    SendMessageW(grid_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(grid_);
    for (int r = 0; r < RowCount(); ++r) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        const std::wstring code = shown(cells_[static_cast<size_t>(r)][0]);
        item.pszText = const_cast<wchar_t*>(code.c_str());
        ListView_InsertItem(grid_, &item);
        for (int c = 1; c < kGridColumnCount; ++c) {
            showCell(r + 1, c);
        }
    }
    SendMessageW(grid_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(grid_, nullptr, TRUE);
}

void PropertyPanelWindow::showCell(int row, int column) {
    std::wstring text = shown(cells_[static_cast<size_t>(row - 1)][static_cast<size_t>(column)]);
    ListView_SetItemText(grid_, row - 1, column, text.data());
}

void PropertyPanelWindow::SetCellText(GridCell cell, const std::string& text) {
    if (cell.row < 1 || cell.row > RowCount() || cell.column < 0 ||
        cell.column >= kGridColumnCount) {
        return;
    }
    cells_[static_cast<size_t>(cell.row - 1)][static_cast<size_t>(cell.column)] = text;
    showCell(cell.row, cell.column);
}

std::array<int, kGridColumnCount> PropertyPanelWindow::widestTexts() const {
    // One device context for every text: each one taken is a round trip to the window
    // system, which would cost more than the measuring.
    std::array<int, kGridColumnCount> widest{};
    HDC context = GetDC(grid_);
    HGDIOBJ old =
        SelectObject(context, reinterpret_cast<HFONT>(SendMessageW(grid_, WM_GETFONT, 0, 0)));
    const auto width = [context](const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    for (int c = 0; c < kGridColumnCount; ++c) {
        int& column = widest[static_cast<size_t>(c)];
        column = width(HeadingText(c));
        for (const auto& row : cells_) {
            column = std::max(column, width(shown(row[static_cast<size_t>(c)])));
        }
        column += scaled(kCellMargin);
    }
    SelectObject(context, old);
    ReleaseDC(grid_, context);
    return widest;
}

void PropertyPanelWindow::FitColumns() {
    // Every column but the last fits its widest text; the last fills the rest.
    const std::array<int, kGridColumnCount> widest = widestTexts();
    for (int c = 0; c + 1 < kGridColumnCount; ++c) {
        if (ColumnWidth(c) != widest[static_cast<size_t>(c)]) {
            ListView_SetColumnWidth(grid_, c, widest[static_cast<size_t>(c)]);
        }
    }
    fillLastColumn(widest.back());
    placeEditor();
}

void PropertyPanelWindow::fillLastColumn(int widest) {
    RECT client{};
    GetClientRect(grid_, &client);
    int taken = 0;
    for (int c = 0; c + 1 < kGridColumnCount; ++c) {
        taken += ColumnWidth(c);
    }
    const int last = kGridColumnCount - 1;
    const int width = std::max(widest, static_cast<int>(client.right) - taken);
    if (ColumnWidth(last) != width) {
        ListView_SetColumnWidth(grid_, last, width);
    }
}

void PropertyPanelWindow::StartEditing(int row) {
    openEditor(row, nullptr);
}

void PropertyPanelWindow::CommitOpenEditor() {
    if (!editing_) {
        return;
    }
    const std::string text = libraryText(windowText(editor_));
    const int row = editRow_;
    closeEditor();
    SetCellText({row, kValueColumn}, text);
}

void PropertyPanelWindow::DropOpenEditor() {
    if (editing_) {
        closeEditor();
    }
}

}  // namespace material::win32
