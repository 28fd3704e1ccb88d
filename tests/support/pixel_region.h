// The straightforward shape of a mask, one pixel at a time: a memory DC with the mask
// selected, one GetPixel per point of the scan column by column, and one one-pixel
// region OR-ed in per opaque point. Slow, but obviously right: the tests compare the
// fast shapes with it and the benchmark measures against it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tessel::test {

// The region of a loaded mask (not selected anywhere), or null when no point is opaque.
inline HRGN PixelByPixelRegionOfBitmap(HBITMAP bitmap, int scanWidth, int scanHeight, COLORREF key) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    HRGN region = nullptr;
    for (int x = 0; x < scanWidth; ++x) {
        for (int y = 0; y < scanHeight; ++y) {
            if (::GetPixel(dc, x, y) == key) continue;  // outside the bitmap: CLR_INVALID, opaque
            if (!region) region = ::CreateRectRgn(x, y, x + 1, y + 1);
            HRGN dot = ::CreateRectRgn(x, y, x + 1, y + 1);
            ::CombineRgn(region, region, dot, RGN_OR);
            ::DeleteObject(dot);
        }
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return region;
}

// The same from the file, or null when the mask cannot be loaded.
inline HRGN PixelByPixelRegion(const std::wstring& maskPath, int scanWidth, int scanHeight, COLORREF key) {
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(nullptr, maskPath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bitmap) return nullptr;
    HRGN region = PixelByPixelRegionOfBitmap(bitmap, scanWidth, scanHeight, key);
    ::DeleteObject(bitmap);
    return region;
}

// A region k times as large: every rectangle's corners times k, so each point becomes
// a k x k block. Null when the region cannot be read.
inline HRGN ScaledRegion(HRGN region, int k) {
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    if (size == 0) return nullptr;
    std::vector<BYTE> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (::GetRegionData(region, size, data) != size) return nullptr;
    RECT* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        rects[i] = RECT{rects[i].left * k, rects[i].top * k, rects[i].right * k, rects[i].bottom * k};
    const RECT& b = data->rdh.rcBound;
    data->rdh.rcBound = RECT{b.left * k, b.top * k, b.right * k, b.bottom * k};
    return ::ExtCreateRegion(nullptr, size, data);
}

// True if both cover the same points (EqualRgn is unreliable for regions read back
// from a window under Wine: their rectangles are coalesced differently).
inline bool SameRegion(HRGN a, HRGN b) {
    HRGN difference = ::CreateRectRgn(0, 0, 0, 0);
    const int kind = ::CombineRgn(difference, a, b, RGN_XOR);
    ::DeleteObject(difference);
    return kind == NULLREGION;
}

}  // namespace tessel::test
