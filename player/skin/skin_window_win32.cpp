#include "player/skin/skin_window_win32.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "common/fileio.h"
#include "player/skin/image_files.h"
#include "player/skin/placement.h"
#include "player/shared/texts.h"
#include "player/skin/skin_scale.h"
#include "win32/error_text.h"

namespace tessel::player {

namespace {

SkinFailure Failure(const wchar_t* headline, const std::wstring& file, std::wstring reason) {
    return SkinFailure{headline, file, std::move(reason)};
}

// The reason for a picture file that cannot be used, or nothing for a file that exists.
std::optional<std::wstring> CheckFileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return std::wstring(skin_texts::kFileMissing);
        return win32::ErrorText(L"GetFileAttributes", code);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return std::wstring(skin_texts::kNotAFile);
    return std::nullopt;
}

std::wstring ImageReason(ImageProblem problem, const BmpImage* sized) {
    switch (problem) {
        case ImageProblem::NotABitmap: return skin_texts::kNotABitmap;
        case ImageProblem::NotAnIcon: return skin_texts::kNotAnIcon;
        case ImageProblem::Truncated: return skin_texts::kImageTruncated;
        case ImageProblem::Empty: return skin_texts::kPictureEmpty;
        case ImageProblem::TooLarge:
            return sized ? skin_texts::kPictureTooLarge + std::to_wstring(sized->width) + L" x " +
                               std::to_wstring(sized->height)
                         : std::wstring(skin_texts::kImageTooLarge);
        case ImageProblem::Unsupported: return skin_texts::kImageUnsupported;
        case ImageProblem::None: break;
    }
    return {};
}

// The largest bitmap file a skin can need: the largest headers, palette and masks and
// a 32-bit picture of the largest sides. Anything longer is not read into memory.
constexpr std::uint64_t kMaxBitmapFileBytes =
    14 + 124 + 16 + 1024 + std::uint64_t(kMaxSkinSide) * 4 * std::uint64_t(kMaxSkinSide);
// Icons hold at most a few images of at most 256 x 256.
constexpr std::uint64_t kMaxIconFileBytes = 16u << 20;

// Reads and decodes a bitmap file with our own bounds-checked reader; the reason when
// it cannot be used.
std::optional<std::wstring> ReadBitmapFile(const std::wstring& path, BmpImage& out) {
    if (auto problem = CheckFileExists(path)) return problem;
    const std::optional<std::uint64_t> size = FileSizeOf(PathFromWide(path));
    if (size && *size > kMaxBitmapFileBytes) return std::wstring(skin_texts::kImageTooLarge);
    std::string bytes;
    std::wstring error;
    if (!ReadWholeFile(PathFromWide(path), bytes, error)) return error;
    const ImageProblem problem = DecodeBmp(bytes, kMaxSkinSide, out);
    if (problem == ImageProblem::None) return std::nullopt;
    return ImageReason(problem, &out);
}

// Beyond kMaxSkinSide screen pixels no window of ours reaches, so a picture grown for a
// skin scale keeps only what can show: the grown copy of a huge picture would take
// gigabytes.
BmpImage CropForScale(BmpImage image, int scale) {
    const std::int32_t width = std::min(image.width, kMaxSkinSide / scale);
    const std::int32_t height = std::min(image.height, kMaxSkinSide / scale);
    if (width == image.width && height == image.height) return image;
    BmpImage cropped;
    cropped.width = width;
    cropped.height = height;
    cropped.pixels.resize(std::size_t(width) * std::size_t(height));
    for (std::int32_t y = 0; y < height; ++y)
        std::copy_n(image.pixels.begin() + std::ptrdiff_t(y) * image.width, width,
                    cropped.pixels.begin() + std::ptrdiff_t(y) * width);
    return cropped;
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
    BmpImage image;
    if (auto problem = ReadBitmapFile(path, image)) return Failure(skin_texts::kMaskUnusable, path, std::move(*problem));
    out.width = image.width;
    out.height = image.height;
    out.pixels = std::move(image.pixels);
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

namespace {

// The runs of the mask's shape, or the failure when the mask is unreadable or its shape
// more complex than the display carries (a display asked for such a shape ends the
// program: under an X server with an error nobody can catch).
std::optional<SkinFailure> ReadShapeRuns(const std::wstring& maskPath, std::int32_t scanWidth,
                                         std::int32_t scanHeight, const RgbColour& key, std::vector<PixelRun>& runs) {
    MaskBitmap mask;
    if (auto failure = ReadMaskBitmap(maskPath, mask)) return failure;
    runs = MaskToRuns(mask.View(), scanWidth, scanHeight, DibPixel(key.red, key.green, key.blue));
    const std::size_t rectangles = ShapeRectangleCount(runs);
    if (rectangles > kMaxShapeRectangles)
        return Failure(skin_texts::kMaskUnusable, maskPath,
                       skin_texts::kShapeTooComplex + std::to_wstring(rectangles) + skin_texts::kShapeTooComplexLimit +
                           std::to_wstring(kMaxShapeRectangles) + skin_texts::kShapeTooComplexEnd);
    return std::nullopt;
}

}  // namespace

std::optional<SkinFailure> CheckMaskShape(const std::wstring& maskPath, std::int32_t scanWidth,
                                          std::int32_t scanHeight, const RgbColour& key) {
    std::vector<PixelRun> runs;
    return ReadShapeRuns(maskPath, scanWidth, scanHeight, key, runs);
}

std::optional<SkinFailure> ShapeWindowFromMask(HWND window, const std::wstring& maskPath, std::int32_t scanWidth,
                                               std::int32_t scanHeight, const RgbColour& key, int scale) {
    if (!::IsWindow(window)) return Failure(skin_texts::kShapeFailed, maskPath, skin_texts::kNoSuchWindow);
    std::vector<PixelRun> runs;
    if (auto failure = ReadShapeRuns(maskPath, scanWidth, scanHeight, key, runs)) return failure;
    runs = ScaleRuns(runs, scale);
    if (runs.empty()) {
        // Nothing opaque: no shape at all, the window shows its whole rectangle.
        if (!::SetWindowRgn(window, nullptr, TRUE))
            return Failure(skin_texts::kShapeFailed, maskPath, win32::LastErrorText(L"SetWindowRgn"));
        return std::nullopt;
    }
    counted_hrgn region = RegionFromRuns(runs);
    if (!region) return Failure(skin_texts::kShapeFailed, maskPath, win32::LastErrorText(L"ExtCreateRegion"));
    if (!::SetWindowRgn(window, region.get(), TRUE))
        return Failure(skin_texts::kShapeFailed, maskPath, win32::LastErrorText(L"SetWindowRgn"));
    GiveAway(region);  // the window frees it when it gets its next shape
    return std::nullopt;
}

PixelSize SkinFormPixelSize(const SkinLayout& layout, TwipsPerPixel factors) {
    const TwipsSize twips = SkinFormSizeTwips(layout, factors);
    return {TwipsToPixels(twips.width, factors.x), TwipsToPixels(twips.height, factors.y)};
}

std::optional<SkinFailure> SizeSkinWindow(HWND skinForm, const SkinLayout& layout, TwipsPerPixel factors,
                                          int scale) {
    const PixelSize size = SkinFormPixelSize(layout, factors);
    if (!::SetWindowPos(skinForm, nullptr, 0, 0, size.width * scale, size.height * scale,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER))
        return Failure(skin_texts::kPlaceFailed, L"SkinForm", win32::LastErrorText(L"SetWindowPos"));
    return std::nullopt;
}

std::optional<SkinFailure> PlaceWindows(HWND skinForm, HWND playerForm, std::int32_t playerOffsetX,
                                        std::int32_t playerOffsetY, TwipsPerPixel factors) {
    RECT skin{}, player{};
    if (!::GetWindowRect(skinForm, &skin))
        return Failure(skin_texts::kPlaceFailed, L"SkinForm", win32::LastErrorText(L"GetWindowRect"));
    if (!::GetWindowRect(playerForm, &player))
        return Failure(skin_texts::kPlaceFailed, L"PlayerForm", win32::LastErrorText(L"GetWindowRect"));
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
        return Failure(skin_texts::kPlaceFailed, L"PlayerForm", win32::LastErrorText(L"SetWindowPos"));
    // Second, so the skin window ends above the body window; activated, so the keys
    // reach it at once after "0,0移動" or a skin change. A hidden one (start-up, the
    // windows hidden) is only placed: activating it would take the focus from the
    // window the user is in for a window nobody sees.
    const UINT activate = ::IsWindowVisible(skinForm) ? 0u : SWP_NOACTIVATE;
    if (!::SetWindowPos(skinForm, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | activate))
        return Failure(skin_texts::kPlaceFailed, L"SkinForm", win32::LastErrorText(L"SetWindowPos"));
    return std::nullopt;
}

std::optional<SkinFailure> LoadSkinBitmap(const std::wstring& path, win32::unique_hbitmap& out, int scale) {
    BmpImage image;
    if (auto problem = ReadBitmapFile(path, image)) return Failure(skin_texts::kPictureUnusable, path, std::move(*problem));
    if (scale > 1) image = ScaleNearest(CropForScale(std::move(image), scale), scale);
    // The decoded pixels go into a section of our own: the system's loader never sees
    // the file.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top row first, as decoded
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win32::unique_hbitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return Failure(skin_texts::kPictureUnusable, path, win32::LastErrorText(L"CreateDIBSection"));
    std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(std::uint32_t));
    ::GdiFlush();
    out = std::move(bitmap);
    return std::nullopt;
}

std::optional<SkinFailure> LoadSkinIcon(const std::wstring& path, int size, win32::unique_hicon& out) {
    if (auto problem = CheckFileExists(path)) return Failure(skin_texts::kIconUnusable, path, std::move(*problem));
    const std::optional<std::uint64_t> length = FileSizeOf(PathFromWide(path));
    if (length && *length > kMaxIconFileBytes)
        return Failure(skin_texts::kIconUnusable, path, skin_texts::kImageTooLarge);
    std::string bytes;
    std::wstring error;
    if (!ReadWholeFile(PathFromWide(path), bytes, error)) return Failure(skin_texts::kIconUnusable, path, error);
    // The system's loader reads the images where the icon's directory says they are.
    if (const ImageProblem problem = CheckIco(bytes); problem != ImageProblem::None)
        return Failure(skin_texts::kIconUnusable, path, ImageReason(problem, nullptr));
    const UINT flags = LR_LOADFROMFILE | (size == 0 ? LR_DEFAULTSIZE : 0);
    win32::unique_hicon icon(
        static_cast<HICON>(::LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, flags)));
    if (!icon) {
        // Some loaders fail without saying why; "the operation succeeded" is no reason.
        const DWORD code = ::GetLastError();
        return Failure(skin_texts::kIconUnusable, path,
                       code ? win32::ErrorText(L"LoadImage", code) : skin_texts::kNotAnIcon);
    }
    out = std::move(icon);
    return std::nullopt;
}

}  // namespace tessel::player
