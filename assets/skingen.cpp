// skingen: draws the skins that ship with the player, and the pictures of the body
// window's five small command buttons. Standard C++ only: every picture is computed
// here and written byte by byte as an uncompressed BMP or ICO, so the build needs no
// image library and no file from anywhere else.
//
//   skingen PARTS_DIR BUTTONS_DIR
//
// PARTS_DIR receives one folder per skin (skin.bmp, s_mask.bmp, player.bmp,
// p_mask.bmp, task.ico, define.ini); BUTTONS_DIR receives cmd_<name>.bmp and
// cmd_<name>_down.bmp for the command buttons.
//
// How a skin is drawn: every shape is a predicate "is this point inside", sampled
// 4 x 4 times per pixel. The samples give the coverage of each pixel (for soft edges
// in the pictures) and, through an exact Euclidean distance transform, how deep a
// pixel lies inside its shape (for bevels and rims). Masks are binary: a pixel is
// opaque when at least half of it is covered.
//
// Geometry the player relies on:
//  * The body window is 96 x 83 pixels. Its top 15 rows hold the command buttons; the
//    rest is the picture box whose picture is player.bmp, drawn from the picture box's
//    own top-left corner, i.e. from window row 15. player.bmp is therefore 96 x 68,
//    and its rows are laid out for: image buttons 0-23 (four of 24 x 24), time
//    read-outs 24-35, time bar 36-45, title 46-57, volume bar 58-67.
//  * The skin window sits above the body window, so s_mask cuts away exactly the
//    body window's opaque pixels at the place define.ini line 5 puts it.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------
// Colours and images

struct Rgb {
    double r = 0, g = 0, b = 0;  // 0..255
};

Rgb Mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Scale(Rgb c, double k) { return {c.r * k, c.g * k, c.b * k}; }
Rgb Lighten(Rgb c, double k) {  // k > 0 towards white, k < 0 towards black
    return k >= 0 ? Mix(c, {255, 255, 255}, k) : Mix(c, {0, 0, 0}, -k);
}
std::uint8_t Channel(double v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
}

struct Image {
    int w = 0, h = 0;
    std::vector<Rgb> px;
    Image(int width, int height, Rgb fill = {}) : w(width), h(height), px(std::size_t(width) * height, fill) {}
    Rgb& at(int x, int y) { return px[std::size_t(y) * w + x]; }
    const Rgb& at(int x, int y) const { return px[std::size_t(y) * w + x]; }
    void Blend(int x, int y, Rgb c, double a) {
        if (x < 0 || y < 0 || x >= w || y >= h || a <= 0) return;
        at(x, y) = Mix(at(x, y), c, a);
    }
};

// Straight-alpha picture for icons.
struct Rgba {
    Image rgb;
    std::vector<double> alpha;
    Rgba(int w, int h) : rgb(w, h), alpha(std::size_t(w) * h, 0.0) {}
    void Over(int x, int y, Rgb c, double a) {  // paints c with coverage a over what is there
        if (x < 0 || y < 0 || x >= rgb.w || y >= rgb.h || a <= 0) return;
        double& da = alpha[std::size_t(y) * rgb.w + x];
        double out = a + da * (1 - a);
        if (out > 0) rgb.at(x, y) = Mix(rgb.at(x, y), c, a / out);
        da = out;
    }
};

// Deterministic value noise, so every build draws the same pictures.
double Hash(int x, int y, int seed) {
    std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u + std::uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0xFFFFFF);
}
double Smooth(double t) { t = std::clamp(t, 0.0, 1.0); return t * t * (3 - 2 * t); }
double ValueNoise(double x, double y, int seed) {
    int xi = int(std::floor(x)), yi = int(std::floor(y));
    double fx = Smooth(x - xi), fy = Smooth(y - yi);
    double a = Hash(xi, yi, seed), b = Hash(xi + 1, yi, seed);
    double c = Hash(xi, yi + 1, seed), d = Hash(xi + 1, yi + 1, seed);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

// ---------------------------------------------------------------------------------
// Shapes: predicates sampled into coverage and signed depth

using Shape = std::function<bool(double x, double y)>;

Shape RoundRect(double x0, double y0, double x1, double y1, double r) {
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
        double cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
        double dx = x - cx, dy = y - cy;
        return dx * dx + dy * dy <= r * r;
    };
}
Shape Chamfer(double x0, double y0, double x1, double y1, double c) {
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
        double dx = std::min(x - x0, x1 - x), dy = std::min(y - y0, y1 - y);
        return dx + dy >= c;
    };
}
Shape Circle(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
// Triangle through three points (either winding).
Shape Triangle(double ax, double ay, double bx, double by, double cx, double cy) {
    return [=](double x, double y) {
        double d1 = (x - bx) * (ay - by) - (ax - bx) * (y - by);
        double d2 = (x - cx) * (by - cy) - (bx - cx) * (y - cy);
        double d3 = (x - ax) * (cy - ay) - (cx - ax) * (y - ay);
        bool neg = d1 < 0 || d2 < 0 || d3 < 0, pos = d1 > 0 || d2 > 0 || d3 > 0;
        return !(neg && pos);
    };
}
Shape Union(Shape a, Shape b) { return [=](double x, double y) { return a(x, y) || b(x, y); }; }
Shape Minus(Shape a, Shape b) { return [=](double x, double y) { return a(x, y) && !b(x, y); }; }
Shape Moved(Shape a, double dx, double dy) { return [=](double x, double y) { return a(x - dx, y - dy); }; }

// One dimension of the exact squared Euclidean distance transform (lower envelope
// of parabolas).
void Edt1d(const std::vector<double>& f, std::vector<double>& d, std::vector<int>& v, std::vector<double>& z) {
    const int n = int(f.size());
    const double inf = 1e20;
    int k = 0;
    v[0] = 0;
    z[0] = -inf;
    z[1] = inf;
    for (int q = 1; q < n; ++q) {
        double s = ((f[q] + double(q) * q) - (f[v[k]] + double(v[k]) * v[k])) / (2.0 * q - 2.0 * v[k]);
        while (s <= z[k]) {
            --k;
            s = ((f[q] + double(q) * q) - (f[v[k]] + double(v[k]) * v[k])) / (2.0 * q - 2.0 * v[k]);
        }
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = inf;
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < q) ++k;
        d[q] = (double(q) - v[k]) * (double(q) - v[k]) + f[v[k]];
    }
}

// Squared distance from every cell to the nearest cell where `target` is true.
std::vector<double> Edt(const std::vector<bool>& target, int w, int h) {
    const double inf = 1e20;
    std::vector<double> grid(std::size_t(w) * h);
    for (std::size_t i = 0; i < grid.size(); ++i) grid[i] = target[i] ? 0.0 : inf;
    int n = std::max(w, h);
    std::vector<double> f(n), d(n), z(n + 1);
    std::vector<int> v(n);
    for (int x = 0; x < w; ++x) {
        f.assign(h, 0); d.assign(h, 0);
        for (int y = 0; y < h; ++y) f[y] = grid[std::size_t(y) * w + x];
        Edt1d(f, d, v, z);
        for (int y = 0; y < h; ++y) grid[std::size_t(y) * w + x] = d[y];
    }
    for (int y = 0; y < h; ++y) {
        f.assign(w, 0); d.assign(w, 0);
        for (int x = 0; x < w; ++x) f[x] = grid[std::size_t(y) * w + x];
        Edt1d(f, d, v, z);
        for (int x = 0; x < w; ++x) grid[std::size_t(y) * w + x] = d[x];
    }
    return grid;
}

// Coverage (0..1) and signed depth (pixels; > 0 inside, < 0 outside) of a shape.
struct Field {
    int w = 0, h = 0;
    std::vector<double> cover, depth;
    double Cover(int x, int y) const { return inside(x, y) ? cover[idx(x, y)] : 0.0; }
    double Depth(int x, int y) const {
        x = std::clamp(x, 0, w - 1);
        y = std::clamp(y, 0, h - 1);
        return depth[idx(x, y)];
    }
    bool Solid(int x, int y) const { return Cover(x, y) >= 0.5; }  // the binary mask
    // Unit vector pointing into the shape (the direction in which depth grows).
    void Inward(int x, int y, double& nx, double& ny) const {
        nx = (Depth(x + 1, y) - Depth(x - 1, y)) * 0.5;
        ny = (Depth(x, y + 1) - Depth(x, y - 1)) * 0.5;
        double len = std::hypot(nx, ny);
        if (len > 1e-9) { nx /= len; ny /= len; } else { nx = ny = 0; }
    }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    std::size_t idx(int x, int y) const { return std::size_t(y) * w + x; }
};

Field Sample(int w, int h, const Shape& shape) {
    constexpr int ss = 4;
    const int sw = w * ss, sh = h * ss;
    std::vector<bool> in(std::size_t(sw) * sh), out(std::size_t(sw) * sh);
    for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x) {
            bool v = shape((x + 0.5) / ss, (y + 0.5) / ss);
            in[std::size_t(y) * sw + x] = v;
            out[std::size_t(y) * sw + x] = !v;
        }
    // Distance of inside samples to the outside and of outside samples to the inside.
    std::vector<double> toOut = Edt(out, sw, sh), toIn = Edt(in, sw, sh);
    Field f;
    f.w = w;
    f.h = h;
    f.cover.assign(std::size_t(w) * h, 0.0);
    f.depth.assign(std::size_t(w) * h, 0.0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double c = 0, d = 0;
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i) {
                    std::size_t k = std::size_t(y * ss + j) * sw + (x * ss + i);
                    c += in[k] ? 1 : 0;
                    // Samples outside the picture count as outside the shape.
                    double dist = in[k] ? std::sqrt(toOut[k]) : -std::sqrt(toIn[k]);
                    d += std::min(dist, 1e6) / ss;
                }
            f.cover[f.idx(x, y)] = c / (ss * ss);
            // Edge of the picture: a shape touching it still has an edge there.
            double edge = std::min({x + 0.5, y + 0.5, w - x - 0.5, h - y - 0.5});
            double depth = d / (ss * ss);
            f.depth[f.idx(x, y)] = depth > 0 ? std::min(depth, edge + 0.5) : depth;
        }
    return f;
}

// Light from the upper left: > 0 on faces that turn towards it.
constexpr double kLightX = -0.6, kLightY = -0.8;

// Bevel term for a pixel of `f`: how much the rounded edge of width `width` faces the light.
double Bevel(const Field& f, int x, int y, double width) {
    double d = f.Depth(x, y);
    if (d <= 0 || d >= width) return 0.0;
    double nx, ny;
    f.Inward(x, y, nx, ny);
    double facing = -(nx * kLightX + ny * kLightY);
    double slope = 1.0 - d / width;
    return facing * slope * slope;
}

// Paints a shape in a flat or computed colour with soft edges.
void Fill(Image& img, const Field& f, const std::function<Rgb(int, int)>& colour, double opacity = 1.0) {
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            double c = f.Cover(x, y);
            if (c > 0) img.Blend(x, y, colour(x, y), c * opacity);
        }
}

// Squared-off flat-topped hexagon lattice: distance of (x, y) from the nearest cell
// edge, in pixels, for cells of apothem `a`.
double HexEdgeDistance(double x, double y, double a, double* cellX = nullptr, double* cellY = nullptr) {
    const double r = a / std::cos(kPi / 6);  // circumradius
    const double colStep = 1.5 * r, rowStep = 2 * a;
    int col = int(std::floor(x / colStep));
    double best = 1e9, bx = 0, by = 0;
    for (int c = col - 1; c <= col + 2; ++c) {
        double cx = c * colStep;
        double off = (c & 1) ? a : 0.0;
        int row = int(std::floor((y - off) / rowStep));
        for (int rr = row - 1; rr <= row + 2; ++rr) {
            double cy = rr * rowStep + off;
            double px = std::abs(x - cx), py = std::abs(y - cy);
            double norm = std::max(py, px * std::sin(kPi / 3) + py * 0.5);
            if (norm < best) { best = norm; bx = cx; by = cy; }
        }
    }
    if (cellX) *cellX = bx;
    if (cellY) *cellY = by;
    return a - best;
}

// ---------------------------------------------------------------------------------
// A small 5 x 7 pixel font for the word marks (only the letters we use)

struct Glyph { char c; std::array<const char*, 7> rows; };
const Glyph kFont[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
};

const Glyph* FindGlyph(char c) {
    for (const Glyph& g : kFont)
        if (g.c == c) return &g;
    return nullptr;
}

// Text as a shape: each lit cell is a square of `scale` pixels with slightly rounded
// corners, `tracking` extra pixels between letters.
Shape TextShape(std::string_view text, double x0, double y0, double scale, double tracking) {
    std::string s(text);
    return [=](double x, double y) {
        double lx = (x - x0), ly = (y - y0);
        if (ly < 0 || ly >= 7 * scale || lx < 0) return false;
        double advance = 5 * scale + tracking;
        int index = int(lx / advance);
        if (index >= int(s.size())) return false;
        const Glyph* g = FindGlyph(s[std::size_t(index)]);
        if (!g) return false;
        double gx = (lx - index * advance) / scale, gy = ly / scale;
        int cx = int(gx), cy = int(gy);
        if (cx >= 5 || cy >= 7 || g->rows[std::size_t(cy)][cx] != '#') return false;
        if (scale < 1.5) return true;
        // Round the outer corners of lit cells a little so large text is not blocky.
        auto lit = [&](int ix, int iy) {
            return ix >= 0 && iy >= 0 && ix < 5 && iy < 7 && g->rows[std::size_t(iy)][ix] == '#';
        };
        double fx = gx - cx, fy = gy - cy;
        int nx = fx < 0.5 ? -1 : 1, ny = fy < 0.5 ? -1 : 1;
        if (!lit(cx + nx, cy) && !lit(cx, cy + ny)) {
            double ex = fx < 0.5 ? 0.5 - fx : fx - 0.5, ey = fy < 0.5 ? 0.5 - fy : fy - 0.5;
            if (ex > 0.2 && ey > 0.2 && std::hypot(ex - 0.2, ey - 0.2) > 0.3) return false;
        }
        return true;
    };
}
double TextWidth(std::string_view text, double scale, double tracking) {
    return text.size() * (5 * scale + tracking) - tracking;
}

// Text with a soft glow around it.
void DrawGlowText(Image& img, std::string_view text, double x, double y, double scale, double tracking,
                  Rgb ink, Rgb glow, double glowStrength) {
    Field f = Sample(img.w, img.h, TextShape(text, x, y, scale, tracking));
    for (int py = 0; py < img.h; ++py)
        for (int px = 0; px < img.w; ++px) {
            double d = f.Depth(px, py);
            if (d < 0 && d > -4) img.Blend(px, py, glow, glowStrength * std::pow(1 + d / 4, 2));
        }
    Fill(img, f, [&](int, int) { return ink; });
}

// ---------------------------------------------------------------------------------
// File writers

void PutLe(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}

void WriteFileAtomically(const fs::path& path, const std::string& bytes) {
    fs::path tmp = path;
    tmp += ".partial";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + tmp.string());
    }
    fs::rename(tmp, path);
}

// 24-bit uncompressed BMP, bottom-up rows padded to four bytes, 96 dpi.
std::string EncodeBmp(const Image& img) {
    const std::uint32_t rowBytes = (std::uint32_t(img.w) * 3 + 3) & ~3u;
    const std::uint32_t dataSize = rowBytes * std::uint32_t(img.h);
    std::string out;
    out += "BM";
    PutLe(out, 14 + 40 + dataSize, 4);
    PutLe(out, 0, 4);
    PutLe(out, 14 + 40, 4);
    PutLe(out, 40, 4);
    PutLe(out, std::uint32_t(img.w), 4);
    PutLe(out, std::uint32_t(img.h), 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);  // BI_RGB
    PutLe(out, dataSize, 4);
    PutLe(out, 3780, 4);  // 96 dpi
    PutLe(out, 3780, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int y = img.h - 1; y >= 0; --y) {
        std::uint32_t written = 0;
        for (int x = 0; x < img.w; ++x) {
            const Rgb& c = img.at(x, y);
            out.push_back(char(Channel(c.b)));
            out.push_back(char(Channel(c.g)));
            out.push_back(char(Channel(c.r)));
            written += 3;
        }
        for (; written < rowBytes; ++written) out.push_back('\0');
    }
    return out;
}

// Icon file with 32-bit images (alpha) and their 1-bit AND masks for old readers.
std::string EncodeIco(const std::vector<const Rgba*>& images) {
    std::vector<std::string> blobs;
    for (const Rgba* im : images) {
        const int w = im->rgb.w, h = im->rgb.h;
        std::string b;
        PutLe(b, 40, 4);
        PutLe(b, std::uint32_t(w), 4);
        PutLe(b, std::uint32_t(h * 2), 4);  // colour rows plus mask rows
        PutLe(b, 1, 2);
        PutLe(b, 32, 2);
        PutLe(b, 0, 4);
        const std::uint32_t maskRow = ((std::uint32_t(w) + 31) / 32) * 4;
        PutLe(b, std::uint32_t(w * h * 4) + maskRow * std::uint32_t(h), 4);
        PutLe(b, 0, 4);
        PutLe(b, 0, 4);
        PutLe(b, 0, 4);
        PutLe(b, 0, 4);
        for (int y = h - 1; y >= 0; --y)
            for (int x = 0; x < w; ++x) {
                const Rgb& c = im->rgb.at(x, y);
                double a = im->alpha[std::size_t(y) * w + x];
                b.push_back(char(Channel(c.b)));
                b.push_back(char(Channel(c.g)));
                b.push_back(char(Channel(c.r)));
                b.push_back(char(Channel(a * 255)));
            }
        for (int y = h - 1; y >= 0; --y) {
            std::string row(maskRow, '\0');
            for (int x = 0; x < w; ++x)
                if (im->alpha[std::size_t(y) * w + x] < 0.5 / 255)
                    row[std::size_t(x / 8)] = char(row[std::size_t(x / 8)] | (0x80 >> (x % 8)));
            b += row;
        }
        blobs.push_back(std::move(b));
    }
    std::string out;
    PutLe(out, 0, 2);
    PutLe(out, 1, 2);  // icon
    PutLe(out, std::uint32_t(images.size()), 2);
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int w = images[i]->rgb.w, h = images[i]->rgb.h;
        out.push_back(char(w >= 256 ? 0 : w));
        out.push_back(char(h >= 256 ? 0 : h));
        out.push_back(0);
        out.push_back(0);
        PutLe(out, 1, 2);
        PutLe(out, 32, 2);
        PutLe(out, std::uint32_t(blobs[i].size()), 4);
        PutLe(out, offset, 4);
        offset += std::uint32_t(blobs[i].size());
    }
    for (const std::string& b : blobs) out += b;
    return out;
}

// A mask picture: black where the field is solid, the key colour elsewhere.
Image MaskImage(int w, int h, const std::function<bool(int, int)>& solid, Rgb key) {
    Image m(w, h, key);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (solid(x, y)) m.at(x, y) = {0, 0, 0};
    return m;
}

// ---------------------------------------------------------------------------------
// The body window: its picture (player.bmp) and shape (p_mask.bmp)

constexpr int kBodyW = 96, kBodyH = 83;      // 1440 x 1245 twips at 15 twips per pixel
constexpr int kBtnStripH = 15;               // command buttons, 225 twips
constexpr int kPictW = 96, kPictH = 68;      // visible part of the picture box, 1020 twips

struct Palette {
    Rgb panelTop, panelBottom;   // body panel gradient
    Rgb rim;                     // dark outline of every shape
    Rgb well, wellEdge;          // read-out wells behind the labels
    Rgb button, buttonDark;      // image button caps
    Rgb accent;                  // the play button and glows
    Rgb glyph;                   // symbols on the buttons
    Rgb text;                    // label colour (define.ini line 4)
};

// The four transport symbols, centred in a 24 x 24 cell at (ox, oy).
Shape TransportSymbol(int which, double ox, double oy) {
    switch (which) {
    case 0:  // back to the start: bar and a left-pointing triangle
        return Union(RoundRect(ox + 6.5, oy + 7, ox + 9, oy + 17, 0.6),
                     Triangle(ox + 17.5, oy + 6.5, ox + 17.5, oy + 17.5, ox + 9.5, oy + 12));
    case 1:  // stop: a square
        return RoundRect(ox + 7.5, oy + 7.5, ox + 16.5, oy + 16.5, 1.2);
    case 2:  // play: a right-pointing triangle
        return Triangle(ox + 8.5, oy + 6, ox + 8.5, oy + 18, ox + 18.5, oy + 12);
    default:  // next: right-pointing triangle and bar
        return Union(Triangle(ox + 6.5, oy + 6.5, ox + 6.5, oy + 17.5, ox + 14.5, oy + 12),
                     RoundRect(ox + 15, oy + 7, ox + 17.5, oy + 17, 0.6));
    }
}

// An inset display well: dark, shadowed along its upper edge, lit along its lower one.
void DrawWell(Image& img, double x0, double y0, double x1, double y1, const Palette& p) {
    Field f = Sample(img.w, img.h, RoundRect(x0, y0, x1, y1, 2.5));
    Fill(img, f, [&](int x, int y) {
        double t = (y - y0) / std::max(1.0, y1 - y0);
        Rgb c = Mix(Lighten(p.well, 0.08), p.well, t);
        double d = f.Depth(x, y);
        if (d < 1.6) {
            double nx, ny;
            f.Inward(x, y, nx, ny);
            double facing = -(nx * kLightX + ny * kLightY);  // recessed: lit side is the far one
            c = facing > 0 ? Mix(c, Scale(p.well, 0.3), 0.7 * facing) : Mix(c, p.wellEdge, -0.8 * facing);
        }
        // faint scan lines, like a small liquid-crystal panel
        if (y % 2 == 0) c = Scale(c, 0.93);
        return c;
    });
}

// A groove for a scroll bar: it normally lies under the real bar and shows only if the
// bar is drawn narrower than its place.
void DrawGroove(Image& img, double y0, double y1, const Palette& p) {
    Field f = Sample(img.w, img.h, RoundRect(1, y0, img.w - 1, y1, 3));
    Fill(img, f, [&](int, int y) { return Mix(Scale(p.panelBottom, 0.45), Scale(p.panelTop, 0.6), (y - y0) / (y1 - y0)); });
}

Image DrawPlayerPicture(const Palette& p) {
    Image img(kPictW, kPictH);
    // Brushed panel with a vertical gradient.
    for (int y = 0; y < kPictH; ++y)
        for (int x = 0; x < kPictW; ++x) {
            Rgb c = Mix(p.panelTop, p.panelBottom, y / double(kPictH - 1));
            double brush = ValueNoise(x * 0.35, y * 6.0, 7) - 0.5;
            img.at(x, y) = Lighten(c, brush * 0.06);
        }
    // Side edges of the body catch the light a little (left) or fall into shade (right).
    for (int y = 0; y < kPictH; ++y) {
        img.at(0, y) = Lighten(img.at(0, y), 0.18);
        img.at(kPictW - 1, y) = Lighten(img.at(kPictW - 1, y), -0.35);
    }

    // Image buttons: four glossy caps in 24 x 24 cells.
    for (int i = 0; i < 4; ++i) {
        const double ox = i * 24, oy = 0;
        Shape cap = RoundRect(ox + 1.5, oy + 1.5, ox + 22.5, oy + 22.5, 6);
        Field fc = Sample(kPictW, kPictH, cap);
        const bool play = i == 2;
        const Rgb top = play ? Lighten(p.accent, 0.25) : p.button;
        const Rgb bottom = play ? Scale(p.accent, 0.55) : p.buttonDark;
        // drop shadow under the cap
        Field shadow = Sample(kPictW, kPictH, Moved(cap, 0.8, 1.2));
        Fill(img, shadow, [&](int, int) { return Rgb{0, 0, 0}; }, 0.35);
        Fill(img, fc, [&](int x, int y) {
            double t = (y - oy - 1.5) / 21.0;
            Rgb c = Mix(top, bottom, t);
            c = Lighten(c, 0.55 * Bevel(fc, x, y, 3.0));
            // glass reflection over the upper half
            double gx = (x - ox - 12) / 10.0, gy = (y - oy - 5.5) / 6.0;
            double gloss = 1 - (gx * gx + gy * gy);
            if (gloss > 0 && y < oy + 11) c = Lighten(c, 0.28 * Smooth(gloss * 2));
            double d = fc.Depth(x, y);
            if (d < 1.0) c = Mix(c, p.rim, 0.75 * (1 - d));
            return c;
        });
        Shape sym = TransportSymbol(i, ox, oy);
        Field fsShadow = Sample(kPictW, kPictH, Moved(sym, 0.7, 0.9));
        Fill(img, fsShadow, [&](int, int) { return Rgb{0, 0, 0}; }, 0.45);
        Field fs = Sample(kPictW, kPictH, sym);
        Fill(img, fs, [&](int, int y) { return Mix(p.glyph, Lighten(p.glyph, -0.18), (y - oy - 6) / 12.0); });
    }

    // Read-out wells: the two times side by side, then the title.
    DrawWell(img, 1, 24.5, 47.5, 35.5, p);
    DrawWell(img, 48.5, 24.5, 95, 35.5, p);
    DrawGroove(img, 36.5, 45.5, p);
    DrawWell(img, 1, 46.5, 95, 57.5, p);
    DrawGroove(img, 58.5, 67.5, p);
    // A small clock mark and a sigma-like "total" mark at the left of the time wells,
    // dim, so the right-aligned numbers never run into them.
    Field clock = Sample(kPictW, kPictH, Minus(Circle(6, 30, 3.2), Circle(6, 30, 2.1)));
    Fill(img, clock, [&](int, int) { return p.text; }, 0.45);
    img.Blend(6, 29, p.text, 0.45);
    img.Blend(6, 28, p.text, 0.45);
    img.Blend(7, 30, p.text, 0.45);
    Field total = Sample(kPictW, kPictH, Union(RoundRect(51.5, 27, 57.5, 28, 0.2),
                                              Union(RoundRect(51.5, 32, 57.5, 33, 0.2),
                                                    RoundRect(51.5, 29.5, 57.5, 30.5, 0.2))));
    Fill(img, total, [&](int, int) { return p.text; }, 0.45);
    return img;
}

// Window shapes of the body: Azure rounds its corners, Ember cuts them off.
Shape BodyShape(bool chamfered) {
    return chamfered ? Chamfer(0, 0, kBodyW, kBodyH, 5.5) : RoundRect(0, 0, kBodyW, kBodyH, 6);
}

// ---------------------------------------------------------------------------------
// Skins

struct SkinFiles {
    std::string name;
    Image skin, sMask, player, pMask;
    Rgba icon16, icon32;
    std::string define;
};

std::string Rgb3(Rgb c) {
    return std::to_string(int(c.r)) + "," + std::to_string(int(c.g)) + "," + std::to_string(int(c.b));
}

std::string DefineIni(int w, int h, Rgb skinKey, Rgb playerKey, Rgb text, int offsetY, int offsetX) {
    std::string s;
    s += std::to_string(w) + "," + std::to_string(h) + "\r\n";
    s += Rgb3(skinKey) + "\r\n";
    s += Rgb3(playerKey) + "\r\n";
    s += Rgb3(text) + "\r\n";
    s += std::to_string(offsetY) + "," + std::to_string(offsetX) + "\r\n";
    return s;
}

// Shared last steps of a skin: the body's mask, the skin mask with the body's place
// cut out, and the soft outline of the skin picture.
struct SkinGeometry {
    int w, h;       // skin window
    int bodyX, bodyY;  // body window's top-left inside the skin window
    bool chamfered;
};

std::vector<bool> BodySolid(bool chamfered) {
    Field body = Sample(kBodyW, kBodyH, BodyShape(chamfered));
    std::vector<bool> solid(std::size_t(kBodyW) * kBodyH);
    for (int y = 0; y < kBodyH; ++y)
        for (int x = 0; x < kBodyW; ++x) solid[std::size_t(y) * kBodyW + x] = body.Solid(x, y);
    return solid;
}

// The skin's outline shape with the body window's opaque pixels removed, as a shape
// (pixel-exact, so s_mask and p_mask never overlap and leave no gap).
Shape WithBodyCut(Shape outer, const SkinGeometry& g) {
    auto solid = std::make_shared<std::vector<bool>>(BodySolid(g.chamfered));
    return [=](double x, double y) {
        int bx = int(std::floor(x)) - g.bodyX, by = int(std::floor(y)) - g.bodyY;
        if (bx >= 0 && by >= 0 && bx < kBodyW && by < kBodyH && (*solid)[std::size_t(by) * kBodyW + bx]) return false;
        return outer(x, y);
    };
}

// Recessed bezel around the body window's place: dark on the upper left where the
// panel falls away into the hole, lit on the lower right.
void DrawBezel(Image& img, const Field& skinField, const SkinGeometry& g, Rgb rim) {
    Field hole = Sample(img.w, img.h, Moved(BodyShape(g.chamfered), g.bodyX, g.bodyY));
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            double d = -hole.Depth(x, y);  // distance outside the hole
            if (d <= 0 || d > 4.5 || !skinField.Solid(x, y)) continue;
            double nx, ny;
            hole.Inward(x, y, nx, ny);  // points into the hole
            double facing = (nx * kLightX + ny * kLightY);  // > 0: this side faces away from the light
            double t = 1 - d / 4.5;
            Rgb c = img.at(x, y);
            c = Mix(c, Scale(rim, 0.6), 0.55 * t);
            c = facing < 0 ? Lighten(c, -0.35 * facing * t) : Lighten(c, -0.3 * facing * t);
            if (d < 1.2) c = Mix(c, rim, 0.6);
            img.at(x, y) = c;
        }
}

// Outer rim and bevel of a skin picture, and the key colour outside its mask.
void FinishSkin(Image& img, const Field& f, Rgb rim, double bevelWidth, double bevelStrength) {
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            if (!f.Solid(x, y)) { img.at(x, y) = Scale(rim, 0.5); continue; }
            Rgb c = img.at(x, y);
            c = Lighten(c, bevelStrength * Bevel(f, x, y, bevelWidth));
            double d = f.Depth(x, y);
            // Edge pixels blend into a dark outline by how little of them is covered,
            // which reads as a smooth edge on any background.
            if (d < 1.5) c = Mix(c, rim, std::clamp(0.9 - d * 0.45, 0.0, 1.0) * (1.15 - 0.3 * f.Cover(x, y)));
            img.at(x, y) = c;
        }
}

// The task icon of a skin: its shape shaded from `top` to `bottom` with a bevel and a
// rim, and a play triangle over it.
struct IconColours {
    Rgb top, bottom;
    double bevel;
    Rgb rim, play;
};

void DrawIcon(Rgba& ic, const Field& shape, const Field& play, const IconColours& colours) {
    const double n = ic.rgb.w, k = n / 32.0;
    for (int y = 0; y < ic.rgb.h; ++y)
        for (int x = 0; x < ic.rgb.w; ++x) {
            Rgb c = Mix(colours.top, colours.bottom, y / n);
            c = Lighten(c, colours.bevel * Bevel(shape, x, y, 2.5 * k + 0.5));
            if (shape.Depth(x, y) < 1) c = Mix(c, colours.rim, 0.6 * (1 - shape.Depth(x, y)));
            ic.Over(x, y, c, shape.Cover(x, y));
            ic.Over(x, y, colours.play, play.Cover(x, y));
        }
}

// ----- Azure: a deep blue glass panel with a hexagon-grilled speaker disc -----

SkinFiles MakeAzure() {
    const SkinGeometry g{320, 120, 14, 19, false};
    const Palette p{
        {58, 126, 196}, {16, 52, 104}, {3, 12, 30},
        {6, 22, 40}, {120, 190, 240},
        {92, 142, 196}, {28, 58, 102},
        {40, 196, 240}, {240, 248, 255},
        {224, 244, 255},
    };
    const Rgb key{255, 0, 255};
    SkinFiles s{"Azure", Image(g.w, g.h), Image(1, 1), Image(1, 1), Image(1, 1), Rgba(16, 16), Rgba(32, 32), ""};

    const double discX = 262, discY = 60;
    Shape outer = Union(RoundRect(0, 10, 282, 118, 22), Circle(discX, discY, 57.5));
    outer = Minus(outer, Circle(discX, discY, 6.5));  // the spindle hole goes right through
    Shape shape = WithBodyCut(outer, g);
    Field f = Sample(g.w, g.h, shape);

    Image& img = s.skin;
    for (int y = 0; y < g.h; ++y)
        for (int x = 0; x < g.w; ++x) {
            Rgb c = Mix(Rgb{50, 118, 196}, Rgb{8, 30, 72}, Smooth((y - 6) / 116.0));
            // the hexagon tessellation of the name, faint, brighter towards the middle
            double cx, cy;
            double e = HexEdgeDistance(x + 0.5, y + 0.5, 7.0, &cx, &cy);
            double glowMid = std::exp(-std::pow((x - 160) / 90.0, 2) - std::pow((y - 60) / 60.0, 2));
            if (e < 0.9) c = Mix(c, Rgb{130, 200, 255}, (0.9 - e) / 0.9 * (0.10 + 0.22 * glowMid));
            // a few cells glow, chosen by the cell, not the pixel
            double pick = Hash(int(cx * 10), int(cy * 10), 3);
            if (pick > 0.86 && e > 0.9) c = Mix(c, Rgb{80, 170, 240}, 0.18 * glowMid * Smooth(e / 4));
            // glass: a bright band over the upper part
            double band = Smooth((44 - y) / 30.0);
            c = Lighten(c, 0.16 * band);
            img.at(x, y) = c;
        }

    // Speaker disc: a darker dish with a grille of hexagonal holes and a glossy cap.
    {
        Field dish = Sample(g.w, g.h, Minus(Circle(discX, discY, 50), Circle(discX, discY, 6.5)));
        Fill(img, dish, [&](int x, int y) {
            double r = std::hypot(x + 0.5 - discX, y + 0.5 - discY);
            Rgb c = Mix(Rgb{20, 56, 110}, Rgb{6, 20, 48}, r / 50);
            double e = HexEdgeDistance(x + 0.5 - discX, y + 0.5 - discY, 3.4);
            if (e > 1.0 && r > 20 && r < 46) c = Mix(c, Rgb{1, 6, 16}, 0.85);  // holes
            else if (e <= 1.0 && r > 20 && r < 46) c = Lighten(c, 0.10);
            double d = dish.Depth(x, y);
            double nx, ny;
            dish.Inward(x, y, nx, ny);
            if (d < 3) {  // sunk into the panel: shadow on the upper left rim
                double facing = (nx * kLightX + ny * kLightY);
                c = facing < 0 ? Lighten(c, 0.35 * -facing * (1 - d / 3)) : Lighten(c, -0.45 * facing * (1 - d / 3));
            }
            return c;
        });
        Field ring = Sample(g.w, g.h, Minus(Circle(discX, discY, 46.5), Circle(discX, discY, 45)));
        Fill(img, ring, [&](int, int) { return Rgb{70, 190, 245}; }, 0.55);
        Field cap = Sample(g.w, g.h, Minus(Circle(discX, discY, 18), Circle(discX, discY, 6.5)));
        Fill(img, cap, [&](int x, int y) {
            double t = (y - (discY - 18)) / 36.0;
            Rgb c = Mix(Rgb{150, 200, 240}, Rgb{30, 70, 130}, t);
            c = Lighten(c, 0.45 * Bevel(cap, x, y, 3.0));
            double gx = (x - discX) / 13.0, gy = (y - (discY - 8)) / 7.0;
            double gloss = 1 - (gx * gx + gy * gy);
            if (gloss > 0) c = Lighten(c, 0.35 * Smooth(gloss * 1.5));
            // concentric turning marks
            double r = std::hypot(x + 0.5 - discX, y + 0.5 - discY);
            c = Lighten(c, 0.05 * std::sin(r * 2.2));
            return c;
        });
    }

    // Word mark between the body and the disc.
    const double markX = 122;
    DrawGlowText(img, "TESSEL", markX, 30, 2, 2, Rgb{236, 248, 255}, Rgb{60, 190, 255}, 0.55);
    DrawGlowText(img, "PLAYER", markX + 1, 50, 1, 6, Rgb{170, 220, 250}, Rgb{40, 150, 230}, 0.35);
    {
        // a thin lit rule and three status lamps
        Field rule = Sample(g.w, g.h, RoundRect(markX, 62.5, markX + 70, 63.5, 0.4));
        Fill(img, rule, [&](int x, int) { return Mix(Rgb{120, 210, 255}, Rgb{40, 110, 190}, (x - markX) / 70.0); }, 0.8);
        for (int i = 0; i < 3; ++i) {
            double lx = markX + 3 + i * 9, ly = 96;
            Field lamp = Sample(g.w, g.h, Circle(lx, ly, 2.4));
            Field halo = Sample(g.w, g.h, Circle(lx, ly, 5));
            Rgb on = i == 0 ? Rgb{90, 230, 255} : Rgb{40, 110, 170};
            Fill(img, halo, [&](int, int) { return on; }, i == 0 ? 0.18 : 0.06);
            Fill(img, lamp, [&](int x, int y) { return Lighten(on, 0.5 * Bevel(lamp, x, y, 2)); });
        }
        DrawGlowText(img, "AZURE", markX + 32, 93, 1, 2, Rgb{150, 205, 240}, Rgb{40, 150, 230}, 0.25);
    }

    DrawBezel(img, f, g, p.rim);
    FinishSkin(img, f, p.rim, 4.0, 0.45);
    s.sMask = MaskImage(g.w, g.h, [&](int x, int y) { return f.Solid(x, y); }, key);

    s.player = DrawPlayerPicture(p);
    Field body = Sample(kBodyW, kBodyH, BodyShape(g.chamfered));
    s.pMask = MaskImage(kBodyW, kBodyH, [&](int x, int y) { return body.Solid(x, y); }, key);

    // Icon: a blue hexagon with a white play triangle.
    for (Rgba* ic : {&s.icon16, &s.icon32}) {
        const double n = ic->rgb.w, k = n / 32.0;
        auto hex = [=](double x, double y) {
            double px = std::abs(x - n / 2), py = std::abs(y - n / 2);
            return std::max(px, px * 0.5 + py * std::sin(kPi / 3)) <= 15.2 * k;  // pointy-topped
        };
        DrawIcon(*ic, Sample(ic->rgb.w, ic->rgb.h, hex),
                 Sample(ic->rgb.w, ic->rgb.h, Triangle(12 * k, 9 * k, 12 * k, 23 * k, 24 * k, 16 * k)),
                 IconColours{Rgb{90, 180, 250}, Rgb{14, 56, 130}, 0.4, p.rim, Rgb{250, 252, 255}});
    }
    s.define = DefineIni(g.w, g.h, key, key, p.text, g.bodyY + kBodyH - g.h, g.bodyX + kBodyW);
    return s;
}

// ----- Ember: a charcoal disc with glowing cracks and a crown of flames -----

SkinFiles MakeEmber() {
    const SkinGeometry g{200, 180, 52, 62, true};
    const Palette p{
        {74, 36, 26}, {28, 12, 10}, {12, 3, 2},
        {22, 7, 4}, {230, 130, 60},
        {128, 74, 54}, {46, 20, 14},
        {255, 120, 30}, {255, 240, 214},
        {255, 214, 150},
    };
    // Key colours unlike each other and not symmetric in red and blue, so that a reader
    // which swaps channels or lines cannot pass with this skin.
    const Rgb skinKey{0, 128, 255}, playerKey{255, 0, 128};
    SkinFiles s{"Ember", Image(g.w, g.h), Image(1, 1), Image(1, 1), Image(1, 1), Rgba(16, 16), Rgba(32, 32), ""};

    const double cx = 100, cy = 106, radius = 72;
    // Each tongue rises from inside the disc: full width low down, a rounded belly,
    // then a tip that leans and licks sideways.
    struct Tongue { double x, base, height, half, sway, lick; };
    const Tongue tongues[] = {
        {100, 64, 62, 22, 3, -3}, {70, 70, 54, 18, -8, 3}, {131, 70, 58, 18, 9, -3},
        {46, 90, 50, 15, -10, 2}, {154, 90, 46, 15, 10, -2}, {86, 60, 40, 11, -4, 2}, {116, 60, 44, 11, 5, -2},
    };
    auto inFlame = [tongues](double x, double y, double* heat) {
        bool in = false;
        double best = 0;
        for (const Tongue& t : tongues) {
            double u = (t.base - y) / t.height;  // 0 at the base, 1 at the tip
            if (u < 0 || u > 1) continue;
            double centre = t.x + t.sway * u * u + t.lick * std::sin(u * kPi * 1.5);
            double half = t.half * std::pow(1 - u, 1.3) * (1 + 2.2 * u);
            double off = std::abs(x - centre);
            if (off <= half) {
                in = true;
                best = std::max(best, (1 - off / std::max(half, 0.01)) * (1 - 0.6 * u));
            }
        }
        if (heat) *heat = best;
        return in;
    };
    Shape disc = Circle(cx, cy, radius);
    Shape outer = Union(disc, [inFlame](double x, double y) { return inFlame(x, y, nullptr); });
    Shape shape = WithBodyCut(outer, g);
    Field f = Sample(g.w, g.h, shape);
    Field fd = Sample(g.w, g.h, disc);

    Image& img = s.skin;
    for (int y = 0; y < g.h; ++y)
        for (int x = 0; x < g.w; ++x) {
            double heat = 0;
            bool flame = inFlame(x + 0.5, y + 0.5, &heat);
            double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            Rgb c;
            if (fd.Cover(x, y) < 1 && flame) {
                // Flame: deep red at the edge to yellow-white in the core, hotter low down.
                double u = std::clamp((80 - y) / 76.0, 0.0, 1.0);
                Rgb edge = Mix(Rgb{190, 40, 8}, Rgb{230, 90, 10}, u);
                Rgb core = Mix(Rgb{255, 236, 150}, Rgb{255, 170, 50}, u);
                c = Mix(edge, core, Smooth(heat * 1.6));
                c = Lighten(c, 0.08 * (ValueNoise(x * 0.3, y * 0.12, 11) - 0.5));
            } else {
                // Charcoal with a hexagon crack pattern that glows hotter towards the bottom.
                double n = ValueNoise(x * 0.22, y * 0.22, 5) * 0.6 + ValueNoise(x * 0.6, y * 0.6, 6) * 0.4;
                c = Mix(Rgb{46, 24, 20}, Rgb{20, 10, 9}, n);
                c = Mix(c, Rgb{70, 34, 24}, Smooth((cy + radius - y) / (2 * radius)) * 0.3);
                double e = HexEdgeDistance(x + 0.5 + 3, y + 0.5, 9.0);
                double wobble = (ValueNoise(x * 0.5, y * 0.5, 9) - 0.5) * 1.2;
                double crack = 1 - std::clamp((e + wobble) / 1.4, 0.0, 1.0);
                double hot = 0.35 + 0.65 * Smooth((y - 40) / 130.0);
                if (crack > 0) c = Mix(c, Mix(Rgb{200, 50, 10}, Rgb{255, 170, 60}, crack * hot), crack * hot);
                // glowing ring just inside the rim
                double ring = std::exp(-std::pow((r - (radius - 5)) / 2.2, 2));
                c = Mix(c, Rgb{255, 120, 30}, 0.55 * ring);
            }
            img.at(x, y) = c;
        }

    DrawGlowText(img, "TESSELPLAYER", cx - TextWidth("TESSELPLAYER", 1, 1) / 2, 49, 1, 1, Rgb{255, 236, 200},
                 Rgb{255, 110, 20}, 0.6);
    DrawGlowText(img, "EMBER", cx - TextWidth("EMBER", 1, 3) / 2, 151, 1, 3, Rgb{255, 200, 130}, Rgb{200, 60, 10}, 0.45);
    // Sparks rising from the crown.
    const double sparks[][3] = {{40, 40, 1.4}, {160, 30, 1.2}, {62, 20, 1.0}, {140, 12, 1.1}, {30, 60, 1.0}};
    for (const auto& sp : sparks) {
        Field spark = Sample(g.w, g.h, Circle(sp[0], sp[1], sp[2] * 2.2));
        if (!f.Solid(int(sp[0]), int(sp[1]))) continue;  // only where the window is
        Fill(img, spark, [&](int, int) { return Rgb{255, 210, 120}; }, 0.8);
    }

    DrawBezel(img, f, g, p.rim);
    FinishSkin(img, f, p.rim, 3.0, 0.22);
    s.sMask = MaskImage(g.w, g.h, [&](int x, int y) { return f.Solid(x, y); }, skinKey);

    s.player = DrawPlayerPicture(p);
    Field body = Sample(kBodyW, kBodyH, BodyShape(g.chamfered));
    s.pMask = MaskImage(kBodyW, kBodyH, [&](int x, int y) { return body.Solid(x, y); }, playerKey);

    // Icon: an ember disc with a flame tip and a play triangle.
    for (Rgba* ic : {&s.icon16, &s.icon32}) {
        const double n = ic->rgb.w, k = n / 32.0;
        Shape ring = Union(Circle(16 * k, 18.5 * k, 13 * k),
                           Triangle(8 * k, 12 * k, 24 * k, 12 * k, 16 * k, 0.5 * k));
        DrawIcon(*ic, Sample(ic->rgb.w, ic->rgb.h, ring),
                 Sample(ic->rgb.w, ic->rgb.h, Triangle(12.5 * k, 12.5 * k, 12.5 * k, 24.5 * k, 23 * k, 18.5 * k)),
                 IconColours{Rgb{255, 200, 80}, Rgb{170, 30, 8}, 0.35, p.rim, Rgb{255, 248, 232}});
    }
    s.define = DefineIni(g.w, g.h, skinKey, playerKey, p.text, g.bodyY + kBodyH - g.h, g.bodyX + kBodyW);
    return s;
}

// ---------------------------------------------------------------------------------
// Command buttons of the body window: 18 x 15 (24 x 15 for the list file button),
// a graphite face that suits every skin, in a raised and a pressed state.

struct CommandButton {
    const char* name;
    int width;
    std::function<Shape(double ox, double oy)> glyph;  // ox, oy: centre of the face
};

Shape Line(double x0, double y0, double x1, double y1, double half) {
    return [=](double x, double y) {
        double dx = x1 - x0, dy = y1 - y0;
        double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        double px = x0 + t * dx - x, py = y0 + t * dy - y;
        return px * px + py * py <= half * half;
    };
}

std::vector<CommandButton> CommandButtons() {
    return {
        {"info", 18, [](double ox, double oy) {  // "i" in a ring: the version box
             return Union(Minus(Circle(ox, oy, 5.2), Circle(ox, oy, 4.1)),
                          Union(RoundRect(ox - 0.6, oy - 0.9, ox + 0.6, oy + 3.0, 0.3), Circle(ox, oy - 2.4, 0.75)));
         }},
        {"popup", 18, [](double ox, double oy) {  // a small window with list lines: the control panel
             Shape frame = Minus(RoundRect(ox - 5, oy - 4.5, ox + 5, oy + 4.5, 1), RoundRect(ox - 4, oy - 2.5, ox + 4, oy + 3.5, 0.3));
             Shape lines = Union(RoundRect(ox - 2.8, oy - 1.3, ox + 2.8, oy - 0.3, 0.2),
                                 RoundRect(ox - 2.8, oy + 1.2, ox + 2.8, oy + 2.2, 0.2));
             return Union(frame, lines);
         }},
        {"minimum", 18, [](double ox, double oy) {  // down into the tray
             return Union(Triangle(ox - 3.5, oy - 3.5, ox + 3.5, oy - 3.5, ox, oy + 1.2),
                          RoundRect(ox - 4.5, oy + 2.6, ox + 4.5, oy + 4.0, 0.3));
         }},
        {"close", 18, [](double ox, double oy) {  // a cross
             return Union(Line(ox - 3.3, oy - 3.3, ox + 3.3, oy + 3.3, 0.85), Line(ox - 3.3, oy + 3.3, ox + 3.3, oy - 3.3, 0.85));
         }},
        {"choice", 24, [](double ox, double oy) {  // an open folder: choose a list file
             Shape back = Union(RoundRect(ox - 6, oy - 3.5, ox - 1, oy - 1.5, 0.6), RoundRect(ox - 6, oy - 2.5, ox + 5, oy + 4.5, 0.8));
             Shape hollow = RoundRect(ox - 5, oy - 1.5, ox + 4, oy + 3.5, 0.3);
             Shape front = [=](double x, double y) {  // slanted front flap
                 return y >= oy - 0.5 && y <= oy + 4.5 && x >= ox - 6 + (oy + 4.5 - y) * 0.5 && x <= ox + 7 - (oy + 4.5 - y) * 0.5;
             };
             return Union(Minus(back, hollow), front);
         }},
    };
}

Image DrawCommandButton(const CommandButton& b, bool pressed) {
    const int w = b.width, h = kBtnStripH;
    Image img(w, h, Rgb{20, 22, 26});
    Field face = Sample(w, h, RoundRect(0.5, 0.5, w - 0.5, h - 0.5, 3));
    Fill(img, face, [&](int x, int y) {
        double t = y / double(h - 1);
        Rgb c = pressed ? Mix(Rgb{44, 48, 56}, Rgb{84, 90, 102}, t) : Mix(Rgb{112, 120, 134}, Rgb{46, 50, 60}, t);
        c = Lighten(c, (pressed ? -0.35 : 0.4) * Bevel(face, x, y, 2.0));
        if (!pressed && y < h / 2) c = Lighten(c, 0.1);
        double d = face.Depth(x, y);
        if (d < 1) c = Mix(c, Rgb{8, 9, 12}, 0.8 * (1 - d));
        return c;
    });
    const double shift = pressed ? 0.8 : 0.0;
    Shape glyph = b.glyph(w / 2.0 + shift, h / 2.0 + shift);
    Field shadow = Sample(w, h, Moved(glyph, 0.6, 0.8));
    Fill(img, shadow, [](int, int) { return Rgb{0, 0, 0}; }, 0.5);
    Field fg = Sample(w, h, glyph);
    Fill(img, fg, [&](int, int y) { return Mix(Rgb{250, 252, 255}, Rgb{196, 204, 216}, y / double(h)); });
    return img;
}

// ---------------------------------------------------------------------------------

void WriteSkin(const fs::path& partsDir, const SkinFiles& s) {
    const fs::path dir = partsDir / s.name;
    fs::create_directories(dir);
    WriteFileAtomically(dir / "skin.bmp", EncodeBmp(s.skin));
    WriteFileAtomically(dir / "s_mask.bmp", EncodeBmp(s.sMask));
    WriteFileAtomically(dir / "player.bmp", EncodeBmp(s.player));
    WriteFileAtomically(dir / "p_mask.bmp", EncodeBmp(s.pMask));
    WriteFileAtomically(dir / "task.ico", EncodeIco({&s.icon16, &s.icon32}));
    WriteFileAtomically(dir / "define.ini", s.define);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: skingen PARTS_DIR BUTTONS_DIR\n";
        return 2;
    }
    try {
        const fs::path parts = argv[1], buttons = argv[2];
        WriteSkin(parts, MakeAzure());
        WriteSkin(parts, MakeEmber());
        fs::create_directories(buttons);
        for (const CommandButton& b : CommandButtons()) {
            WriteFileAtomically(buttons / (std::string("cmd_") + b.name + ".bmp"), EncodeBmp(DrawCommandButton(b, false)));
            WriteFileAtomically(buttons / (std::string("cmd_") + b.name + "_down.bmp"), EncodeBmp(DrawCommandButton(b, true)));
        }
    } catch (const std::exception& e) {
        std::cerr << "skingen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
