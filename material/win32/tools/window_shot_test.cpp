// Pictures of a shown window under Wine: a window of known colours, with a child, is
// copied and saved as PNG, and the PNG is read back through the imaging component.
#include <gtest/gtest.h>
#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "WindowShot.h"

namespace material::win32 {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);

LRESULT CALLBACK paintSolid(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT all;
    GetClientRect(window, &all);
    const auto fill = [dc](const RECT& area, COLORREF colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &area, brush);
        DeleteObject(brush);
    };
    // The top-level window: blue with a red square; its child: green.
    const bool child = GetParent(window) != nullptr;
    fill(all, child ? kGreen : kBlue);
    if (!child) {
        fill(RECT{10, 10, 50, 40}, kRed);
    }
    EndPaint(window, &paint);
    return 0;
}

std::uint32_t rgbOf(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// What the imaging component reads back from a PNG: its size and BGRA pixels.
struct ReadPicture {
    UINT width = 0;
    UINT height = 0;
    std::vector<BYTE> bgra;

    std::uint32_t rgbAt(UINT x, UINT y) const {
        const BYTE* pixel = &bgra[(y * width + x) * 4];
        return (pixel[2] << 16) | (pixel[1] << 8) | pixel[0];
    }
    BYTE alphaAt(UINT x, UINT y) const { return bgra[(y * width + x) * 4 + 3]; }
};

ReadPicture readPng(const std::wstring& path) {
    ReadPicture picture;
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(frame->GetSize(&picture.width, &picture.height)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA,
                                        WICBitmapDitherTypeNone, nullptr, 0,
                                        WICBitmapPaletteTypeCustom))) {
        picture.bgra.resize(picture.width * picture.height * 4);
        converter->CopyPixels(nullptr, picture.width * 4, static_cast<UINT>(picture.bgra.size()),
                              picture.bgra.data());
    }
    for (IUnknown* object : {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame),
                             static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(factory)}) {
        if (object != nullptr) {
            object->Release();
        }
    }
    return picture;
}

class WindowShotTest : public ::testing::Test {
  protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 120;

    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = paintSolid;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KtShotTestWindow";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, L"KtShotTestWindow", L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                 kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        CreateWindowExW(0, L"KtShotTestWindow", L"", WS_CHILD | WS_VISIBLE, 100, 60, 60, 40, window,
                        nullptr, GetModuleHandleW(nullptr), nullptr);
        folder = std::filesystem::temp_directory_path() / "kt-window-shot-test";
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        DestroyWindow(window);
        std::filesystem::remove_all(folder);
        CoUninitialize();
    }

    HWND window = nullptr;
    std::filesystem::path folder;
};

// Points of the window and the colour each must show.
struct Probe {
    int x, y;
    COLORREF colour;
};
const Probe kProbes[] = {
    {0, 0, kBlue},   {199, 119, kBlue}, {10, 10, kRed},    {49, 39, kRed},
    {50, 40, kBlue}, {100, 60, kGreen}, {159, 99, kGreen}, {160, 100, kBlue},
};

TEST_F(WindowShotTest, TheCopyHoldsTheWindowAndItsChildrenInPlace) {
    ASSERT_NE(window, nullptr);
    Canvas canvas(kWidth, kHeight);
    captureWindow(window, canvas);
    for (const Probe& probe : kProbes) {
        EXPECT_EQ(canvas.rgbAt(probe.x, probe.y), rgbOf(probe.colour))
            << "at " << probe.x << "," << probe.y;
    }
}

TEST_F(WindowShotTest, TheSavedPngReadsBackOpaqueWithTheSameColours) {
    Canvas canvas(kWidth, kHeight);
    captureWindow(window, canvas);
    const std::wstring path = (folder / L"shot.png").wstring();
    // Over an older picture too: it is replaced, not appended to.
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(savePng(canvas, path));
        const ReadPicture picture = readPng(path);
        ASSERT_EQ(picture.width, static_cast<UINT>(kWidth));
        ASSERT_EQ(picture.height, static_cast<UINT>(kHeight));
        for (const Probe& probe : kProbes) {
            EXPECT_EQ(picture.rgbAt(probe.x, probe.y), rgbOf(probe.colour))
                << "at " << probe.x << "," << probe.y;
            EXPECT_EQ(picture.alphaAt(probe.x, probe.y), 0xFF);
        }
    }
}

TEST_F(WindowShotTest, APictureThatCannotBeWrittenIsReportedAndLeavesNoFile) {
    Canvas canvas(kWidth, kHeight);
    captureWindow(window, canvas);
    const std::filesystem::path missing = folder / L"missing" / L"shot.png";
    EXPECT_FALSE(savePng(canvas, missing.wstring()));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace material::win32
