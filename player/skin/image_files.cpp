#include "player/skin/image_files.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstddef>

namespace tessel::player {
namespace {

// Little-endian fields at offsets the caller has checked with Has().
class Bytes {
public:
    explicit Bytes(std::string_view data) : d_(data) {}
    std::size_t Size() const { return d_.size(); }
    bool Has(std::uint64_t at, std::uint64_t count) const { return at <= d_.size() && count <= d_.size() - at; }
    std::uint8_t U8(std::size_t at) const { return static_cast<std::uint8_t>(d_[at]); }
    std::uint32_t U16(std::size_t at) const { return U8(at) | std::uint32_t(U8(at + 1)) << 8; }
    std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
    std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }

private:
    std::string_view d_;
};

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kJpeg = 4, kPng = 5, kAlphaBitFields = 6;

std::uint64_t RowBytes(std::uint64_t width, std::uint32_t bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// A channel of a masked pixel, scaled to 0..255.
std::uint32_t Channel(std::uint32_t value, std::uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t top = mask >> shift;
    const std::uint32_t v = (value & mask) >> shift;
    if (top == 255) return v;
    return static_cast<std::uint32_t>((std::uint64_t(v) * 255 + top / 2) / top);
}

struct Palette {
    std::vector<std::uint32_t> colours;
    std::uint32_t At(std::uint32_t index) const { return index < colours.size() ? colours[index] : 0; }
};

// Run-length encoded rows (bottom-up only): pixels the encoding never reaches stay black.
void DecodeRle(Bytes data, std::size_t at, std::size_t end, bool fourBit, const Palette& palette,
               BmpImage& image) {
    std::int64_t x = 0, row = 0;
    const std::int64_t width = image.width, height = image.height;
    auto put = [&](std::uint32_t index) {
        if (x < width && row < height) image.pixels[std::size_t((height - 1 - row) * width + x)] = palette.At(index);
        ++x;
    };
    while (at + 2 <= end && row < height) {
        const std::uint32_t count = data.U8(at), value = data.U8(at + 1);
        at += 2;
        if (count > 0) {
            for (std::uint32_t i = 0; i < count; ++i) put(fourBit ? ((i % 2 == 0) ? value >> 4 : value & 15) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of bitmap
            return;
        } else if (value == 2) {  // move right and up
            if (at + 2 > end) return;
            x += data.U8(at);
            row += data.U8(at + 1);
            at += 2;
        } else {  // `value` pixels as they stand, padded to a whole word
            const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
            if (at + bytes > end) return;
            for (std::uint32_t i = 0; i < value; ++i) {
                const std::uint32_t b = data.U8(at + (fourBit ? i / 2 : i));
                put(fourBit ? ((i % 2 == 0) ? b >> 4 : b & 15) : b);
            }
            at += (bytes + 1) / 2 * 2;
        }
    }
}

}  // namespace

ImageProblem DecodeBmp(std::string_view file, std::int32_t maxSide, BmpImage& out) {
    const Bytes d(file);
    if (!d.Has(0, 2) || file[0] != 'B' || file[1] != 'M') return ImageProblem::NotABitmap;
    if (!d.Has(0, 18)) return ImageProblem::Truncated;
    const std::uint32_t dataAt = d.U32(10);
    const std::uint32_t headerSize = d.U32(14);
    const bool core = headerSize == 12;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124)
        return ImageProblem::NotABitmap;
    if (!d.Has(14, headerSize)) return ImageProblem::Truncated;

    std::int64_t width = 0, height = 0;
    std::uint32_t planes = 0, bits = 0, compression = kRgb, compressedSize = 0, coloursUsed = 0;
    if (core) {
        width = d.U16(18);
        height = d.U16(20);
        planes = d.U16(22);
        bits = d.U16(24);
    } else {
        width = d.I32(18);
        height = d.I32(22);
        planes = d.U16(26);
        bits = d.U16(28);
        compression = d.U32(30);
        compressedSize = d.U32(34);
        coloursUsed = d.U32(46);
    }
    if (planes != 1) return ImageProblem::NotABitmap;
    const bool topDown = height < 0;
    if (topDown) height = -height;  // INT32_MIN fits the 64 bits and is too large below
    if (width < 0) return ImageProblem::NotABitmap;
    if (width == 0 || height == 0) return ImageProblem::Empty;
    if (width > maxSide || height > maxSide) {
        out = BmpImage{};  // the sides claimed, for the report; no pixels
        out.width = static_cast<std::int32_t>(std::min<std::int64_t>(width, INT32_MAX));
        out.height = static_cast<std::int32_t>(std::min<std::int64_t>(height, INT32_MAX));
        return ImageProblem::TooLarge;
    }

    if (compression == kJpeg || compression == kPng) return ImageProblem::Unsupported;
    const bool rle = compression == kRle8 || compression == kRle4;
    const bool masked = compression == kBitFields || compression == kAlphaBitFields;
    if (compression > kAlphaBitFields) return ImageProblem::NotABitmap;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return ImageProblem::NotABitmap;
    if ((compression == kRle8 && bits != 8) || (compression == kRle4 && bits != 4)) return ImageProblem::NotABitmap;
    if (masked && bits != 16 && bits != 32) return ImageProblem::NotABitmap;
    if (rle && topDown) return ImageProblem::NotABitmap;

    // Bit masks: inside the larger headers, else right after the 40-byte one.
    std::uint32_t red = bits == 16 ? 0x7C00u : 0xFF0000u, green = bits == 16 ? 0x03E0u : 0xFF00u,
                  blue = bits == 16 ? 0x001Fu : 0xFFu;
    std::uint64_t afterHeader = 14 + std::uint64_t(headerSize);
    if (masked) {
        std::uint64_t masksAt = 54;
        if (headerSize == 40) {
            const std::uint64_t maskBytes = compression == kAlphaBitFields ? 16 : 12;
            if (!d.Has(afterHeader, maskBytes)) return ImageProblem::Truncated;
            afterHeader += maskBytes;
        }
        red = d.U32(std::size_t(masksAt));
        green = d.U32(std::size_t(masksAt + 4));
        blue = d.U32(std::size_t(masksAt + 8));
    }

    Palette palette;
    if (bits <= 8) {
        const std::uint64_t full = 1u << bits;
        const std::uint64_t entries = (coloursUsed == 0 || coloursUsed > full) ? full : coloursUsed;
        const std::uint64_t entrySize = core ? 3 : 4;
        if (!d.Has(afterHeader, entries * entrySize)) return ImageProblem::Truncated;
        palette.colours.resize(std::size_t(entries));
        for (std::uint64_t i = 0; i < entries; ++i) {
            const std::size_t at = std::size_t(afterHeader + i * entrySize);
            palette.colours[std::size_t(i)] = std::uint32_t(d.U8(at + 2)) << 16 | std::uint32_t(d.U8(at + 1)) << 8 | d.U8(at);
        }
    }

    const std::uint64_t stride = RowBytes(std::uint64_t(width), bits);
    if (rle) {
        if (dataAt > d.Size()) return ImageProblem::Truncated;
        if (compressedSize != 0 && !d.Has(dataAt, compressedSize)) return ImageProblem::Truncated;
    } else if (!d.Has(dataAt, stride * std::uint64_t(height))) {
        return ImageProblem::Truncated;
    }

    BmpImage image;
    image.width = static_cast<std::int32_t>(width);
    image.height = static_cast<std::int32_t>(height);
    image.pixels.assign(std::size_t(width) * std::size_t(height), 0);
    if (rle) {
        const std::size_t end = compressedSize != 0 ? std::size_t(dataAt) + compressedSize : d.Size();
        DecodeRle(d, dataAt, end, compression == kRle4, palette, image);
        out = std::move(image);
        return ImageProblem::None;
    }
    for (std::int64_t y = 0; y < height; ++y) {
        const std::int64_t fileRow = topDown ? y : height - 1 - y;
        const std::size_t row = std::size_t(dataAt + std::uint64_t(fileRow) * stride);
        std::uint32_t* target = image.pixels.data() + std::size_t(y * width);
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t colour = 0;
            switch (bits) {
                case 1: colour = palette.At((d.U8(row + std::size_t(x / 8)) >> (7 - x % 8)) & 1); break;
                case 4: colour = palette.At((d.U8(row + std::size_t(x / 2)) >> (x % 2 == 0 ? 4 : 0)) & 15); break;
                case 8: colour = palette.At(d.U8(row + std::size_t(x))); break;
                case 16: {
                    const std::uint32_t v = d.U16(row + std::size_t(x * 2));
                    colour = Channel(v, red) << 16 | Channel(v, green) << 8 | Channel(v, blue);
                    break;
                }
                case 24: {
                    const std::size_t at = row + std::size_t(x * 3);
                    colour = std::uint32_t(d.U8(at + 2)) << 16 | std::uint32_t(d.U8(at + 1)) << 8 | d.U8(at);
                    break;
                }
                default: {  // 32
                    const std::uint32_t v = d.U32(row + std::size_t(x * 4));
                    colour = masked ? (Channel(v, red) << 16 | Channel(v, green) << 8 | Channel(v, blue))
                                    : (v & 0xFFFFFFu);
                    break;
                }
            }
            target[x] = colour;
        }
    }
    out = std::move(image);
    return ImageProblem::None;
}

ImageProblem CheckIco(std::string_view file) {
    const Bytes d(file);
    if (!d.Has(0, 6) || d.U16(0) != 0 || d.U16(2) != 1) return ImageProblem::NotAnIcon;
    const std::uint32_t count = d.U16(4);
    if (count == 0) return ImageProblem::Empty;
    if (!d.Has(6, std::uint64_t(count) * 16)) return ImageProblem::Truncated;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + std::size_t(i) * 16;
        const std::uint32_t bytes = d.U32(entry + 8), at = d.U32(entry + 12);
        if (!d.Has(at, bytes)) return ImageProblem::Truncated;
        const Bytes image(file.substr(at, bytes));
        static constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
        if (bytes >= 8 && file.substr(at, 8) == std::string_view(kPngSignature, 8)) {
            // The PNG decoder checks its own chunks; the header chunk must be there.
            if (!image.Has(8, 25) || file.substr(at + 12, 4) != "IHDR") return ImageProblem::Truncated;
            auto bigEndian = [&](std::size_t p) {
                return std::uint32_t(image.U8(p)) << 24 | std::uint32_t(image.U8(p + 1)) << 16 |
                       std::uint32_t(image.U8(p + 2)) << 8 | image.U8(p + 3);
            };
            const std::uint32_t w = bigEndian(16), h = bigEndian(20);
            if (w == 0 || h == 0) return ImageProblem::Empty;
            if (w > 256 || h > 256) return ImageProblem::TooLarge;
            continue;
        }
        if (!image.Has(0, 40)) return ImageProblem::Truncated;
        const std::uint32_t headerSize = image.U32(0);
        if (headerSize < 40 || headerSize > 124) return ImageProblem::NotAnIcon;
        if (!image.Has(0, headerSize)) return ImageProblem::Truncated;
        const std::int32_t w = image.I32(4), doubled = image.I32(8);
        const std::uint32_t bits = image.U16(14), compression = image.U32(16), used = image.U32(32);
        if (w < 0 || doubled < 0) return ImageProblem::NotAnIcon;
        if (w == 0 || doubled / 2 == 0) return ImageProblem::Empty;
        if (w > 256 || doubled / 2 > 256) return ImageProblem::TooLarge;
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return ImageProblem::NotAnIcon;
        if (compression != kRgb && !(compression == kBitFields && (bits == 16 || bits == 32)))
            return ImageProblem::Unsupported;
        const std::uint64_t h = std::uint64_t(doubled) / 2;
        const std::uint64_t full = bits <= 8 ? (1u << bits) : 0;
        const std::uint64_t paletteEntries = bits <= 8 ? ((used == 0 || used > full) ? full : used) : 0;
        const std::uint64_t need = headerSize + (compression == kBitFields && headerSize == 40 ? 12 : 0) +
                                   paletteEntries * 4 + RowBytes(std::uint64_t(w), bits) * h +
                                   RowBytes(std::uint64_t(w), 1) * h;
        if (need > bytes) return ImageProblem::Truncated;
    }
    return ImageProblem::None;
}

}  // namespace tessel::player
