#include "WindowShot.h"

#include <wincodec.h>

#include <vector>

namespace material::win32 {

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

std::uint32_t Canvas::rgbAt(int x, int y) const {
    GdiFlush();
    const BYTE* pixel = bits_ + (static_cast<std::size_t>(y) * width_ + x) * 4;
    return (pixel[2] << 16) | (pixel[1] << 8) | pixel[0];
}

void captureWindow(HWND window, Canvas& canvas) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    drainMessages();
    HDC source = GetWindowDC(window);
    BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
    GdiFlush();
}

namespace {

// Releases the imaging objects however far the encoding got.
struct Encoding {
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    bool fileCreated = false;

    ~Encoding() {
        for (IUnknown* object : {static_cast<IUnknown*>(frame), static_cast<IUnknown*>(encoder),
                                 static_cast<IUnknown*>(stream), static_cast<IUnknown*>(factory)}) {
            if (object != nullptr) {
                object->Release();
            }
        }
    }
};

// Encodes `pixels` (the canvas's rows, opaque) into a PNG file at `path`.
bool encode(Encoding& png, const Canvas& canvas, const std::vector<BYTE>& pixels,
            const std::wstring& path) {
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&png.factory))) ||
        FAILED(png.factory->CreateStream(&png.stream)) ||
        FAILED(png.stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE))) {
        return false;
    }
    png.fileCreated = true;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    return SUCCEEDED(png.factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &png.encoder)) &&
           SUCCEEDED(png.encoder->Initialize(png.stream, WICBitmapEncoderNoCache)) &&
           SUCCEEDED(png.encoder->CreateNewFrame(&png.frame, nullptr)) &&
           SUCCEEDED(png.frame->Initialize(nullptr)) &&
           SUCCEEDED(png.frame->SetSize(canvas.width(), canvas.height())) &&
           SUCCEEDED(png.frame->SetPixelFormat(&format)) &&
           format == GUID_WICPixelFormat32bppBGRA &&
           SUCCEEDED(png.frame->WritePixels(canvas.height(), canvas.width() * 4,
                                            static_cast<UINT>(pixels.size()),
                                            const_cast<BYTE*>(pixels.data()))) &&
           SUCCEEDED(png.frame->Commit()) && SUCCEEDED(png.encoder->Commit());
}

}  // namespace

bool savePng(const Canvas& canvas, const std::wstring& path) {
    GdiFlush();
    const std::size_t bytes = static_cast<std::size_t>(canvas.width()) * canvas.height() * 4;
    std::vector<BYTE> pixels(canvas.bits(), canvas.bits() + bytes);
    for (std::size_t i = 3; i < pixels.size(); i += 4) {
        pixels[i] = 0xFF;  // GDI leaves alpha at zero, which would save a clear picture
    }
    bool written = false;
    bool created = false;
    {
        Encoding png;
        written = encode(png, canvas, pixels, path);
        created = png.fileCreated;
    }  // the file is closed here
    if (!written && created) {
        DeleteFileW(path.c_str());  // whatever the stream had begun to write
    }
    return written;
}

void drainMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace material::win32
