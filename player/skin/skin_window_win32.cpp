#include "player/skin/skin_window_win32.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <utility>

#include "player/skin/placement.h"
#include "player/skin/skin_texts.h"

namespace tessel::player {

namespace {

std::wstring SystemReason(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason;
    if (length != 0 && text) {
        reason.assign(text, length);
        while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
            reason.pop_back();
    }
    ::LocalFree(text);
    wchar_t number[32];
    std::swprintf(number, 32, L"(%lu)", static_cast<unsigned long>(code));
    return reason.empty() ? std::wstring(number) : reason + L" " + number;
}

SkinFailure Failure(const wchar_t* headline, const std::wstring& file, std::wstring reason) {
    return SkinFailure{headline, file, std::move(reason)};
}

// The loader's own checks are few: a file whose header claims a huge picture makes it
// try to allocate that much. Read the header first and refuse absurd sizes.
std::optional<std::wstring> CheckFileAndBitmapHeader(const std::wstring& path, bool expectBitmap) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return std::wstring(skin_texts::kFileMissing);
        return SystemReason(code);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return std::wstring(skin_texts::kNotAFile);
    if (!expectBitmap) return std::nullopt;

    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SystemReason(::GetLastError());
    unsigned char header[26] = {};
    DWORD got = 0;
    const BOOL read = ::ReadFile(file, header, sizeof header, &got, nullptr);
    const DWORD readError = ::GetLastError();
    ::CloseHandle(file);
    if (!read) return SystemReason(readError);
    if (got < 18 || header[0] != 'B' || header[1] != 'M') return std::wstring(skin_texts::kNotABitmap);
    auto u32 = [&](int at) {
        return std::uint32_t(header[at]) | std::uint32_t(header[at + 1]) << 8 | std::uint32_t(header[at + 2]) << 16 |
               std::uint32_t(header[at + 3]) << 24;
    };
    std::int64_t width = 0, height = 0;
    const std::uint32_t infoSize = u32(14);
    if (infoSize == 12 && got >= 22) {  // the old core header: 16-bit sides
        width = header[18] | header[19] << 8;
        height = header[20] | header[21] << 8;
    } else if (infoSize >= 40 && got >= 26) {
        width = std::int32_t(u32(18));
        height = std::int32_t(u32(22));
        if (height < 0) height = -height;  // top-down
    } else {
        return std::wstring(skin_texts::kNotABitmap);
    }
    if (width <= 0 || height <= 0) return std::wstring(skin_texts::kPictureEmpty);
    if (width > kMaxSkinSide || height > kMaxSkinSide)
        return skin_texts::kPictureTooLarge + std::to_wstring(width) + L" x " + std::to_wstring(height);
    return std::nullopt;
}

// One row's runs as one region.
counted_hrgn RowRegion(const PixelRun* runs, std::size_t count) {
    if (count == 1) return Adopt<counted_hrgn>(::CreateRectRgn(runs[0].left, runs[0].y, runs[0].right, runs[0].y + 1));
    std::vector<std::byte> buffer(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(count);
    data->rdh.nRgnSize = DWORD(count * sizeof(RECT));
    data->rdh.rcBound = {runs[0].left, runs[0].y, runs[count - 1].right, runs[0].y + 1};
    RECT* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < count; ++i) rects[i] = {runs[i].left, runs[i].y, runs[i].right, runs[i].y + 1};
    return Adopt<counted_hrgn>(::ExtCreateRegion(nullptr, DWORD(buffer.size()), data));
}

}  // namespace

std::wstring SkinFailure::Message() const {
    std::wstring text = headline;
    text += L"\r\n\r\n";
    if (!file.empty()) text += skin_texts::kFileLabel + file + L"\r\n";
    if (!reason.empty()) text += skin_texts::kReasonLabel + reason;
    return text;
}

std::optional<SkinFailure> ReadMaskBitmap(const std::wstring& path, MaskBitmap& out) {
    if (auto problem = CheckFileAndBitmapHeader(path, true))
        return Failure(skin_texts::kMaskUnusable, path, std::move(*problem));
    counted_hbitmap bitmap = Adopt<counted_hbitmap>(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!bitmap) {
        const DWORD code = ::GetLastError();
        return Failure(skin_texts::kMaskUnusable, path, code ? SystemReason(code) : skin_texts::kNotABitmap);
    }
    BITMAP info{};
    if (::GetObjectW(bitmap.get(), sizeof info, &info) == 0)
        return Failure(skin_texts::kMaskUnusable, path, skin_texts::kNotABitmap);
    if (info.bmWidth <= 0 || info.bmHeight <= 0)
        return Failure(skin_texts::kMaskUnusable, path, skin_texts::kPictureEmpty);
    if (info.bmWidth > kMaxSkinSide || info.bmHeight > kMaxSkinSide)
        return Failure(skin_texts::kMaskUnusable, path,
                       skin_texts::kPictureTooLarge + std::to_wstring(info.bmWidth) + L" x " +
                           std::to_wstring(info.bmHeight));

    if (!ReadBitmapPixels(bitmap.get(), out))
        return Failure(skin_texts::kMaskUnusable, path, SystemReason(::GetLastError()));
    return std::nullopt;
}

bool ReadBitmapPixels(HBITMAP bitmap, MaskBitmap& out) {
    BITMAP info{};
    if (::GetObjectW(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
    // One bulk read, whatever the bitmap's depth: 32 bits per pixel, top row first.
    counted_memory_dc dc = Adopt<counted_memory_dc>(::CreateCompatibleDC(nullptr));
    if (!dc) return false;
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    MaskBitmap mask;
    mask.width = info.bmWidth;
    mask.height = info.bmHeight;
    mask.pixels.resize(std::size_t(info.bmWidth) * std::size_t(info.bmHeight));
    const int rows =
        ::GetDIBits(dc.get(), bitmap, 0, UINT(info.bmHeight), mask.pixels.data(), &request, DIB_RGB_COLORS);
    if (rows != info.bmHeight) return false;
    out = std::move(mask);
    return true;
}

counted_hrgn RegionFromRuns(const std::vector<PixelRun>& runs) {
    std::vector<counted_hrgn> rows;
    for (std::size_t first = 0; first < runs.size();) {
        std::size_t end = first + 1;
        while (end < runs.size() && runs[end].y == runs[first].y) ++end;
        rows.push_back(RowRegion(runs.data() + first, end - first));
        if (!rows.back()) return {};
        first = end;
    }
    // Merging neighbours pairwise keeps both operands of every union small: rows that
    // look alike coalesce into bands as they meet.
    while (rows.size() > 1) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < rows.size(); i += 2) {
            if (i + 1 < rows.size()) {
                if (::CombineRgn(rows[i].get(), rows[i].get(), rows[i + 1].get(), RGN_OR) == ERROR) return {};
                rows[i + 1].reset();
            }
            if (kept != i) rows[kept] = std::move(rows[i]);
            ++kept;
        }
        rows.resize(kept);
    }
    return rows.empty() ? counted_hrgn() : std::move(rows.front());
}

std::optional<SkinFailure> ShapeWindowFromMask(HWND window, const std::wstring& maskPath, std::int32_t scanWidth,
                                               std::int32_t scanHeight, const RgbColour& key) {
    if (!::IsWindow(window)) return Failure(skin_texts::kShapeFailed, maskPath, skin_texts::kNoSuchWindow);
    MaskBitmap mask;
    if (auto failure = ReadMaskBitmap(maskPath, mask)) return failure;
    const std::vector<PixelRun> runs = MaskToRuns(mask.View(), scanWidth, scanHeight,
                                                  DibPixel(key.red, key.green, key.blue));
    if (runs.empty()) {
        // Nothing opaque: no shape at all, the window shows its whole rectangle.
        if (!::SetWindowRgn(window, nullptr, TRUE))
            return Failure(skin_texts::kShapeFailed, maskPath, SystemReason(::GetLastError()));
        return std::nullopt;
    }
    counted_hrgn region = RegionFromRuns(runs);
    if (!region) return Failure(skin_texts::kShapeFailed, maskPath, SystemReason(::GetLastError()));
    if (!::SetWindowRgn(window, region.get(), TRUE))
        return Failure(skin_texts::kShapeFailed, maskPath, SystemReason(::GetLastError()));
    GiveAway(region);  // the window frees it when it gets its next shape
    return std::nullopt;
}

PixelSize SkinFormPixelSize(const SkinLayout& layout, TwipsPerPixel factors) {
    const TwipsSize twips = SkinFormSizeTwips(layout, factors);
    return {TwipsToPixels(twips.width, factors.x), TwipsToPixels(twips.height, factors.y)};
}

std::optional<SkinFailure> SizeSkinWindow(HWND skinForm, const SkinLayout& layout, TwipsPerPixel factors) {
    const PixelSize size = SkinFormPixelSize(layout, factors);
    if (!::SetWindowPos(skinForm, nullptr, 0, 0, size.width, size.height,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER))
        return Failure(skin_texts::kPlaceFailed, L"SkinForm", SystemReason(::GetLastError()));
    return std::nullopt;
}

std::optional<SkinFailure> PlaceWindows(HWND skinForm, HWND playerForm, std::int32_t playerOffsetX,
                                        std::int32_t playerOffsetY, TwipsPerPixel factors) {
    RECT skin{}, player{};
    if (!::GetWindowRect(skinForm, &skin))
        return Failure(skin_texts::kPlaceFailed, L"SkinForm", SystemReason(::GetLastError()));
    if (!::GetWindowRect(playerForm, &player))
        return Failure(skin_texts::kPlaceFailed, L"PlayerForm", SystemReason(::GetLastError()));
    PlacementInput in;
    in.skinLeft = PixelsToTwips(skin.left, factors.x);
    in.skinTop = PixelsToTwips(skin.top, factors.y);
    in.skinHeight = PixelsToTwips(skin.bottom - skin.top, factors.y);
    in.playerWidth = PixelsToTwips(player.right - player.left, factors.x);
    in.playerHeight = PixelsToTwips(player.bottom - player.top, factors.y);
    in.playerOffsetX = playerOffsetX;
    in.playerOffsetY = playerOffsetY;
    in.factors = factors;
    const PixelPoint at = PlayerFormPosition(in);
    // The body window never takes the activation: the keys belong to the skin window.
    if (!::SetWindowPos(playerForm, HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE))
        return Failure(skin_texts::kPlaceFailed, L"PlayerForm", SystemReason(::GetLastError()));
    // Second, so the skin window ends above the body window; activated, so the keys
    // reach it at once after "0,0移動" or a skin change. A hidden one (start-up, the
    // windows hidden) is only placed: activating it would take the focus from the
    // window the user is in for a window nobody sees.
    const UINT activate = ::IsWindowVisible(skinForm) ? 0u : SWP_NOACTIVATE;
    if (!::SetWindowPos(skinForm, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | activate))
        return Failure(skin_texts::kPlaceFailed, L"SkinForm", SystemReason(::GetLastError()));
    return std::nullopt;
}

std::optional<SkinFailure> LoadSkinBitmap(const std::wstring& path, unique_hbitmap& out) {
    if (auto problem = CheckFileAndBitmapHeader(path, true))
        return Failure(skin_texts::kPictureUnusable, path, std::move(*problem));
    unique_hbitmap bitmap(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!bitmap) {
        const DWORD code = ::GetLastError();
        return Failure(skin_texts::kPictureUnusable, path, code ? SystemReason(code) : skin_texts::kNotABitmap);
    }
    out = std::move(bitmap);
    return std::nullopt;
}

std::optional<SkinFailure> LoadSkinIcon(const std::wstring& path, int size, unique_hicon& out) {
    if (auto problem = CheckFileAndBitmapHeader(path, false))
        return Failure(skin_texts::kIconUnusable, path, std::move(*problem));
    const UINT flags = LR_LOADFROMFILE | (size == 0 ? LR_DEFAULTSIZE : 0);
    unique_hicon icon(static_cast<HICON>(::LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, flags)));
    if (!icon) {
        const DWORD code = ::GetLastError();
        return Failure(skin_texts::kIconUnusable, path, code ? SystemReason(code) : skin_texts::kNotAnIcon);
    }
    out = std::move(icon);
    return std::nullopt;
}

}  // namespace tessel::player
