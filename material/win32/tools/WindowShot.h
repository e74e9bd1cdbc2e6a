// Pictures of a shown top-level window, for the documentation: its pixels copied from
// the window's own DC (complete, children and frame included, under Wine's null display
// driver) into a 32-bit bitmap, and saved as PNG through the Windows imaging component.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace material::win32 {

// A 32-bit top-down DIB section selected into its own memory DC.
class Canvas {
  public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The pixel at (x, y) as 0xRRGGBB.
    std::uint32_t rgbAt(int x, int y) const;
    const BYTE* bits() const { return bits_; }

  private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    BYTE* bits_ = nullptr;
};

// Repaints `window` and its children now and copies the whole window, frame included.
void captureWindow(HWND window, Canvas& canvas);

// Writes the canvas as an opaque PNG; false (and no picture) when any step fails.
// COM must be initialised on the calling thread.
bool savePng(const Canvas& canvas, const std::wstring& path);

// Dispatches every message waiting for this thread, paints included.
void drainMessages();

}  // namespace material::win32
