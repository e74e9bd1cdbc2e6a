// Renders the Win32 dialog to a PNG for the documentation (not a test):
//   wine studypurge_win32_shot.exe <output.png>
// The dialog is made hidden from the program's own resources, shows a typed path and
// two ticks, and is drawn through WM_PRINT, each child into its own bitmap (Wine does
// not print children as part of their parent), then saved with the imaging component.
#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <cstdio>
#include <vector>

#include "CkwpurgeDlg.h"
#include "HelpViewer.h"
#include "Win32Prompts.h"
#include "resource.h"

namespace {

class NoHelp : public spdialog::HelpViewer {
  public:
    bool show(void*) override { return false; }
};

// A 32-bit top-down DIB section selected into its own memory DC.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    BYTE* bits() const { return bits_; }

  private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    BYTE* bits_ = nullptr;
};

void printWindow(HWND window, HDC dc, UINT parts) {
    SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), parts);
}

// The frame and caption, drawn here because Wine's null display driver leaves the
// non-client area of a printed window blank.
void drawFrame(HWND dialog, HDC dc, int width, int height) {
    RECT outer = {0, 0, width, height};
    DrawEdge(dc, &outer, EDGE_RAISED, BF_RECT);
    const int border = GetSystemMetrics(SM_CXFIXEDFRAME);
    RECT caption = {border, border, width - border, border + GetSystemMetrics(SM_CYCAPTION) - 1};
    DrawCaption(dialog, dc, &caption, DC_ACTIVE | DC_TEXT | DC_ICON | DC_GRADIENT);
    const int button = GetSystemMetrics(SM_CYCAPTION) - 4;
    RECT close = {caption.right - button - 2, caption.top + 2, caption.right - 2,
                  caption.top + 2 + button};
    DrawFrameControl(dc, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE);
}

// The dialog with its frame, then every child at its place, bottom of the list first
// so that the group box lies under the controls inside it.
void render(HWND dialog, Canvas& canvas) {
    printWindow(dialog, canvas.dc(), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    RECT frame;
    GetWindowRect(dialog, &frame);
    drawFrame(dialog, canvas.dc(), canvas.width(), canvas.height());
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place;
        GetWindowRect(child, &place);
        Canvas piece(place.right - place.left, place.bottom - place.top);
        // The child's background first: the dialog's, under the piece.
        BitBlt(piece.dc(), 0, 0, piece.width(), piece.height(), canvas.dc(),
               place.left - frame.left, place.top - frame.top, SRCCOPY);
        printWindow(child, piece.dc(), PRF_NONCLIENT | PRF_CLIENT);
        if (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
            RECT edge = {0, 0, piece.width(), piece.height()};
            DrawEdge(piece.dc(), &edge, EDGE_SUNKEN, BF_RECT);
        }
        BitBlt(canvas.dc(), place.left - frame.left, place.top - frame.top, piece.width(),
               piece.height(), piece.dc(), 0, 0, SRCCOPY);
    }
}

bool savePng(const Canvas& canvas, const wchar_t* path) {
    GdiFlush();
    const int stride = canvas.width() * 4;
    std::vector<BYTE> pixels(canvas.bits(), canvas.bits() + stride * canvas.height());
    for (std::size_t i = 3; i < pixels.size(); i += 4) {
        pixels[i] = 0xFF;  // GDI leaves alpha at zero
    }
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    const bool saved =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromFilename(path, GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
        SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(canvas.width(), canvas.height())) &&
        SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat32bppBGRA &&
        SUCCEEDED(frame->WritePixels(canvas.height(), stride, static_cast<UINT>(pixels.size()),
                                     pixels.data())) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    for (IUnknown* object : {static_cast<IUnknown*>(frame), static_cast<IUnknown*>(encoder),
                             static_cast<IUnknown*>(stream), static_cast<IUnknown*>(factory)}) {
        if (object != nullptr) {
            object->Release();
        }
    }
    return saved;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: studypurge_win32_shot <output.png>\n", stderr);
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    spwin::Win32MessageBoxes messages;
    spwin::Win32FileChooser files;
    NoHelp help;
    spwin::CkwpurgeDlg dialog(GetModuleHandleW(nullptr),
                              {messages, files, help, [](purge::PurgeDialogPort&) {}});
    HWND window = dialog.Create();
    if (window == nullptr) {
        std::fputs("the dialog could not be created\n", stderr);
        return 1;
    }
    SetDlgItemTextW(window, IDC_FILE_PATH, L"C:\\Designs\\Pump housing.pldprt");
    CheckDlgButton(window, IDC_CLEAN_SIMULATION, BST_CHECKED);
    CheckDlgButton(window, IDC_CLEAN_MOTION, BST_CHECKED);

    RECT frame;
    GetWindowRect(window, &frame);
    Canvas canvas(frame.right - frame.left, frame.bottom - frame.top);
    render(window, canvas);
    const bool saved = savePng(canvas, argv[1]);
    if (!saved) {
        std::fputs("the picture could not be saved\n", stderr);
    }
    CoUninitialize();
    return saved ? 0 : 1;
}
