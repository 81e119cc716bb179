#pragma once
// Reading and writing picture files through the Windows Imaging Component.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vellum {

struct Picture {
    long width = 0;
    long height = 0;
    std::vector<std::uint32_t> pixels;  // 32-bit BGR, top byte clear, top row first
};

// The description of a 32-bit top-down DIB: rows from the top, pixels as
// written to memory, so that reads and writes need no conversion.
BITMAPINFO topDown32(long width, long height);

// The format follows the extension: .png or .bmp.
void savePicture(HDC dc, HBITMAP bitmap, long width, long height, const std::wstring& path, const wchar_t* source);
Picture loadPicture(const std::wstring& path, const wchar_t* source);
// Paints a picture at (0, 0) of a device context.
void paintPicture(HDC dc, const Picture& picture, const wchar_t* source);

}  // namespace vellum
