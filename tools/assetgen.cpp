// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// tavrolin-assetgen OUTDIR
//
// Draws every picture, pointer and sound of the game and writes them under
// OUTDIR (pictures/, icons/, cursors/, wav/).  Everything is drawn
// pixel by pixel and synthesised sample by sample here, and every file format
// is written by hand, so the output is the same byte for byte on every run;
// tools/regenerate-assets refreshes the copies committed under resources/.
//
// After writing, each picture is read back through Qt's own image readers and
// compared with what was drawn, so a broken encoder stops the run.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Pixel canvases

// A picture of palette indices; also used as a 0/1 mask.
struct Canvas {
    int w = 0, h = 0;
    std::vector<uint8_t> px;

    Canvas(int width, int height, uint8_t fill = 0) : w(width), h(height), px(size_t(width) * height, fill) {}
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    uint8_t at(int x, int y) const { return inside(x, y) ? px[size_t(y) * w + x] : 0; }
    void set(int x, int y, uint8_t v) { if (inside(x, y)) px[size_t(y) * w + x] = v; }
};

using Mask = Canvas;

struct Pt { double x, y; };
struct Seg { Pt a, b; };

using Palette = std::vector<uint32_t>;   // 0xRRGGBB

// Even-odd fill of a polygon, sampled at pixel centres.
void fillPolygon(Mask &m, const std::vector<Pt> &poly, uint8_t v = 1)
{
    for (int y = 0; y < m.h; ++y) {
        const double cy = y + 0.5;
        std::vector<double> xs;
        for (size_t i = 0; i < poly.size(); ++i) {
            const Pt a = poly[i], b = poly[(i + 1) % poly.size()];
            if ((a.y <= cy) != (b.y <= cy))
                xs.push_back(a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            for (int x = 0; x < m.w; ++x)
                if (x + 0.5 >= xs[i] && x + 0.5 < xs[i + 1])
                    m.set(x, y, v);
    }
}

// Filled ellipse, sampled at pixel centres.
void fillEllipse(Mask &m, double cx, double cy, double rx, double ry, uint8_t v = 1)
{
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0)
                m.set(x, y, v);
        }
}

double segDistance2(Pt p, const Seg &s)
{
    const double vx = s.b.x - s.a.x, vy = s.b.y - s.a.y;
    const double wx = p.x - s.a.x, wy = p.y - s.a.y;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? (wx * vx + wy * vy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = wx - t * vx, dy = wy - t * vy;
    return dx * dx + dy * dy;
}

// Every pixel whose centre lies within `radius` of one of the segments
// (a pen with a round nib).
void strokeSegments(Mask &m, const std::vector<Seg> &segs, double radius, uint8_t v = 1)
{
    const double r2 = radius * radius;
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            const Pt p{x + 0.5, y + 0.5};
            for (const Seg &s : segs)
                if (segDistance2(p, s) <= r2) {
                    m.set(x, y, v);
                    break;
                }
        }
}

void fillRect(Canvas &c, int x, int y, int w, int h, uint8_t v)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            c.set(i, j, v);
}

// Pixels outside the mask that touch it (4- or 8-neighbourhood).
Mask ringAround(const Mask &m, bool eight)
{
    Mask out(m.w, m.h);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            if (m.at(x, y))
                continue;
            bool touch = m.at(x - 1, y) || m.at(x + 1, y) || m.at(x, y - 1) || m.at(x, y + 1);
            if (eight && !touch)
                touch = m.at(x - 1, y - 1) || m.at(x + 1, y - 1) || m.at(x - 1, y + 1) || m.at(x + 1, y + 1);
            out.set(x, y, touch);
        }
    return out;
}

// Pixels of the mask that have a 4-neighbour outside it: a thin inner edge.
Mask innerEdge(const Mask &m)
{
    Mask out(m.w, m.h);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x)
            if (m.at(x, y) && (!m.at(x - 1, y) || !m.at(x + 1, y) || !m.at(x, y - 1) || !m.at(x, y + 1)))
                out.set(x, y, 1);
    return out;
}

Mask shifted(const Mask &m, int dx, int dy)
{
    Mask out(m.w, m.h);
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x)
            out.set(x, y, m.at(x - dx, y - dy));
    return out;
}

void paint(Canvas &c, const Mask &m, uint8_t v)
{
    for (size_t i = 0; i < c.px.size(); ++i)
        if (m.px[i])
            c.px[i] = v;
}

// The inner edge `k` pixels deep, and the ring `k` pixels wide: outlines
// that keep their weight when a picture is drawn at k times its size.
Mask innerBand(const Mask &m, int k)
{
    Mask band(m.w, m.h), rest = m;
    for (int i = 0; i < k; ++i) {
        const Mask edge = innerEdge(rest);
        paint(band, edge, 1);
        for (size_t j = 0; j < rest.px.size(); ++j)
            if (edge.px[j])
                rest.px[j] = 0;
    }
    return band;
}

Mask ringBand(const Mask &m, bool eight, int k)
{
    Mask band(m.w, m.h), grown = m;
    for (int i = 0; i < k; ++i) {
        const Mask ring = ringAround(grown, eight);
        paint(band, ring, 1);
        paint(grown, ring, 1);
    }
    return band;
}

// Every pixel of the canvas as a k x k block.
Canvas blownUp(const Canvas &c, int k)
{
    Canvas out(c.w * k, c.h * k);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x)
            out.set(x, y, c.at(x / k, y / k));
    return out;
}

// Copies character art onto the canvas; characters missing from `keys` are
// left alone.
void blitArt(Canvas &c, int x0, int y0, const std::vector<std::string> &rows, const std::string &keys,
             const std::vector<uint8_t> &values)
{
    for (size_t j = 0; j < rows.size(); ++j)
        for (size_t i = 0; i < rows[j].size(); ++i) {
            const size_t k = keys.find(rows[j][i]);
            if (k != std::string::npos)
                c.set(x0 + int(i), y0 + int(j), values[k]);
        }
}

// ---------------------------------------------------------------------------
// Lettering

// Stroke letters: centre lines of a round pen, drawn in a box `width` wide
// and `height` tall whose top left corner is (0,0).  The pen radius is `r`,
// so the strokes fill the box exactly.
struct Glyph {
    double width;
    std::vector<Seg> segs;
};

void polyline(std::vector<Seg> &out, const std::vector<Pt> &pts)
{
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        out.push_back({pts[i], pts[i + 1]});
}

// Elliptical arc from angle a0 to a1 (radians, y pointing down).
void arc(std::vector<Seg> &out, double cx, double cy, double rx, double ry, double a0, double a1, int steps)
{
    std::vector<Pt> pts;
    for (int i = 0; i <= steps; ++i) {
        const double a = a0 + (a1 - a0) * i / steps;
        pts.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    polyline(out, pts);
}

Glyph makeGlyph(char ch, double H, double r, double wide)
{
    const double pi = 3.14159265358979323846;
    Glyph g{0, {}};
    auto &s = g.segs;
    const double top = r, bot = H - r;
    const double E = H * wide;   // the letters' widths scale with this
    switch (ch) {
    case 'T': {
        const double W = g.width = 0.62 * E;
        polyline(s, {{r, top}, {W - r, top}});
        polyline(s, {{W / 2, top}, {W / 2, bot}});
        break;
    }
    case 'A': {
        const double W = g.width = 0.70 * E;
        polyline(s, {{r, bot}, {W / 2, top}, {W - r, bot}});
        const double t = (0.66 * H - top) / (bot - top);
        polyline(s, {{W / 2 + (r - W / 2) * t, 0.66 * H}, {W / 2 + (W / 2 - r) * t, 0.66 * H}});
        break;
    }
    case 'V': {
        const double W = g.width = 0.68 * E;
        polyline(s, {{r, top}, {W / 2, bot}, {W - r, top}});
        break;
    }
    case 'R': {
        const double W = g.width = 0.62 * E;
        const double yb = 0.54 * H, xb = 0.42 * W;
        polyline(s, {{r, bot}, {r, top}, {xb, top}});
        arc(s, xb, (top + yb) / 2, W - r - xb, (yb - top) / 2, -pi / 2, pi / 2, 16);
        polyline(s, {{xb, yb}, {r, yb}});
        polyline(s, {{xb, yb}, {W - r, bot}});
        break;
    }
    case 'O': {
        const double W = g.width = 0.72 * E;
        arc(s, W / 2, H / 2, W / 2 - r, H / 2 - r, 0, 2 * pi, 48);
        break;
    }
    case 'L': {
        const double W = g.width = 0.50 * E;
        polyline(s, {{r, top}, {r, bot}, {W - r, bot}});
        break;
    }
    case 'I':
        g.width = 2 * r;
        polyline(s, {{r, top}, {r, bot}});
        break;
    case 'N': {
        const double W = g.width = 0.64 * E;
        polyline(s, {{r, bot}, {r, top}, {W - r, bot}, {W - r, top}});
        break;
    }
    case 'M': {
        const double W = g.width = 0.80 * E;
        polyline(s, {{r, bot}, {r, top}, {W / 2, 0.68 * H}, {W - r, top}, {W - r, bot}});
        break;
    }
    case 'D': {
        const double W = g.width = 0.66 * E;
        const double xd = 0.34 * W;
        polyline(s, {{xd, top}, {r, top}, {r, bot}, {xd, bot}});
        arc(s, xd, H / 2, W - r - xd, H / 2 - r, -pi / 2, pi / 2, 24);
        break;
    }
    default:
        std::fprintf(stderr, "assetgen: no stroke glyph for '%c'\n", ch);
        std::exit(2);
    }
    return g;
}

// Lays out a word in stroke letters with its top left corner at (x, y);
// `slant` leans the letters to the right (pixels per pixel of height).
// Returns the segments; `*advance` receives the word's width.
std::vector<Seg> layoutWord(const std::string &word, double x, double y, double H, double r, double wide,
                            double gap, double slant, double *advance = nullptr)
{
    std::vector<Seg> out;
    double pen = x;
    for (size_t i = 0; i < word.size(); ++i) {
        const Glyph g = makeGlyph(word[i], H, r, wide);
        for (const Seg &s : g.segs) {
            auto place = [&](Pt p) { return Pt{pen + p.x + (H - p.y) * slant, y + p.y}; };
            out.push_back({place(s.a), place(s.b)});
        }
        pen += g.width + (i + 1 < word.size() ? gap : 0);
    }
    if (advance)
        *advance = pen - x;
    return out;
}

double wordWidth(const std::string &word, double H, double r, double wide, double gap)
{
    double w = 0;
    layoutWord(word, 0, 0, H, r, wide, gap, 0, &w);
    return w;
}

// A tiny five-row pixel font for captions.
const std::vector<std::string> &tinyGlyph(char ch)
{
    static const std::unordered_map<char, std::vector<std::string>> font = {
        {'A', {".#.", "#.#", "###", "#.#", "#.#"}},
        {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
        {'E', {"###", "#..", "##.", "#..", "###"}},
        {'F', {"###", "#..", "##.", "#..", "#.."}},
        {'I', {"#", "#", "#", "#", "#"}},
        {'M', {"#...#", "##.##", "#.#.#", "#...#", "#...#"}},
        {'N', {"#..#", "##.#", "#.##", "#..#", "#..#"}},
        {'O', {".#.", "#.#", "#.#", "#.#", ".#."}},
        {'R', {"##.", "#.#", "##.", "#.#", "#.#"}},
        {'S', {".##", "#..", ".#.", "..#", "##."}},
        {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
        {'W', {"#...#", "#...#", "#.#.#", "##.##", "#...#"}},
    };
    const auto it = font.find(ch);
    if (it == font.end()) {
        std::fprintf(stderr, "assetgen: no caption glyph for '%c'\n", ch);
        std::exit(2);
    }
    return it->second;
}

int tinyWidth(const std::string &text, int spacing)
{
    int w = 0;
    for (size_t i = 0; i < text.size(); ++i)
        w += int(tinyGlyph(text[i])[0].size()) + (i + 1 < text.size() ? spacing : 0);
    return w;
}

// The caption font is pixel art: at k times the size each of its pixels is
// a k x k block, placed at (x, y) of the enlarged canvas.
void drawTiny(Canvas &c, int x, int y, const std::string &text, int spacing, uint8_t v, int k = 1)
{
    Canvas art(tinyWidth(text, spacing), 5);
    int at = 0;
    for (char ch : text) {
        const auto &g = tinyGlyph(ch);
        blitArt(art, at, 0, g, "#", {1});
        at += int(g[0].size()) + spacing;
    }
    const Canvas big = blownUp(art, k);
    for (int j = 0; j < big.h; ++j)
        for (int i = 0; i < big.w; ++i)
            if (big.at(i, j))
                c.set(x + i, y + j, v);
}

// ---------------------------------------------------------------------------
// Little-endian byte output

struct Bytes {
    QByteArray d;
    void u8(unsigned v) { d.append(char(v & 0xFF)); }
    void u16(unsigned v) { u8(v); u8(v >> 8); }
    void u32(uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); }
    void be32(uint32_t v) { u8(v >> 24); u8(v >> 16); u8(v >> 8); u8(v); }
    void tag(const char *t) { d.append(t, 4); }
    void raw(const QByteArray &b) { d.append(b); }
};

// ---------------------------------------------------------------------------
// GIF89a: one image, a 16-entry global colour table, LZW with variable code
// width and a clear code whenever the table is full.

QByteArray lzwEncode(const std::vector<uint8_t> &pixels, int minCodeSize)
{
    const int clearCode = 1 << minCodeSize, endCode = clearCode + 1;
    QByteArray out;
    uint32_t acc = 0;
    int bits = 0;
    int codeSize = minCodeSize + 1;
    auto put = [&](int code) {
        acc |= uint32_t(code) << bits;
        bits += codeSize;
        while (bits >= 8) {
            out.append(char(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };

    std::unordered_map<uint32_t, int> table;
    int next = endCode + 1;
    put(clearCode);
    if (pixels.empty()) {
        put(endCode);
    } else {
        int prefix = pixels[0];
        for (size_t i = 1; i < pixels.size(); ++i) {
            const uint32_t key = uint32_t(prefix) << 8 | pixels[i];
            const auto it = table.find(key);
            if (it != table.end()) {
                prefix = it->second;
                continue;
            }
            put(prefix);
            if (next < 4096) {
                table.emplace(key, next++);
                // The decoder learns each code one step later, so the width
                // grows once a code no longer fits the current one.
                if (next > (1 << codeSize) && codeSize < 12)
                    ++codeSize;
            } else {
                put(clearCode);
                table.clear();
                next = endCode + 1;
                codeSize = minCodeSize + 1;
            }
            prefix = pixels[i];
        }
        put(prefix);
        put(endCode);
    }
    if (bits > 0)
        out.append(char(acc & 0xFF));
    return out;
}

QByteArray encodeGif(const Canvas &c, const Palette &pal)
{
    Bytes b;
    b.d.append("GIF89a", 6);
    b.u16(c.w);
    b.u16(c.h);
    b.u8(0x80 | (3 << 4) | 3);   // global table, 4 bits per primary, 16 entries
    b.u8(0);                     // background colour index
    b.u8(0);                     // square pixels
    for (int i = 0; i < 16; ++i) {
        const uint32_t rgb = i < int(pal.size()) ? pal[i] : 0;
        b.u8(rgb >> 16);
        b.u8(rgb >> 8);
        b.u8(rgb);
    }
    b.u8(0x2C);                  // image descriptor
    b.u16(0);
    b.u16(0);
    b.u16(c.w);
    b.u16(c.h);
    b.u8(0);                     // no local table, not interlaced
    const int minCodeSize = 4;
    b.u8(minCodeSize);
    const QByteArray data = lzwEncode(c.px, minCodeSize);
    for (qsizetype i = 0; i < data.size(); i += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - i);
        b.u8(unsigned(n));
        b.raw(data.mid(i, n));
    }
    b.u8(0);                     // end of image data
    b.u8(0x3B);                  // trailer
    return b.d;
}

// ---------------------------------------------------------------------------
// Windows icons and pointers: a BITMAPINFOHEADER image (colour part, then
// the 1-bit AND mask, both bottom-up) inside an ICO or CUR directory.

// The sixteen colours every 16-colour icon uses.
const Palette vgaPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};
enum Vga : uint8_t {
    Black, Maroon, Green, Olive, Navy, Purple, Teal, Silver,
    Gray, Red, Lime, Yellow, Blue, Magenta, Cyan, White,
};

// `c` holds palette indices, `transparent` is 1 where the screen shows
// through (those pixels are written as index 0 in the colour part).
QByteArray dibImage(const Canvas &c, const Mask &transparent, int bpp, const Palette &pal)
{
    Bytes b;
    const int colorRow = ((c.w * bpp + 31) / 32) * 4;
    const int maskRow = ((c.w + 31) / 32) * 4;
    b.u32(40);
    b.u32(c.w);
    b.u32(c.h * 2);              // colour part and mask together
    b.u16(1);
    b.u16(bpp);
    b.u32(0);                    // BI_RGB
    b.u32((colorRow + maskRow) * c.h);
    b.u32(0);
    b.u32(0);
    b.u32(0);
    b.u32(0);
    for (size_t i = 0; i < (size_t(1) << bpp); ++i) {
        const uint32_t rgb = i < pal.size() ? pal[i] : 0;
        b.u8(rgb);
        b.u8(rgb >> 8);
        b.u8(rgb >> 16);
        b.u8(0);
    }
    for (int y = c.h - 1; y >= 0; --y) {
        QByteArray row(colorRow, '\0');
        for (int x = 0; x < c.w; ++x) {
            const unsigned v = transparent.at(x, y) ? 0 : c.at(x, y);
            const int bit = x * bpp;
            row[bit / 8] = char(uchar(row[bit / 8]) | (v << (8 - bpp - bit % 8)));
        }
        b.raw(row);
    }
    for (int y = c.h - 1; y >= 0; --y) {
        QByteArray row(maskRow, '\0');
        for (int x = 0; x < c.w; ++x)
            if (transparent.at(x, y))
                row[x / 8] = char(uchar(row[x / 8]) | (0x80 >> (x % 8)));
        b.raw(row);
    }
    return b.d;
}

// type 1 = icon, 2 = cursor (then the two words after the colour count hold
// the hot spot instead of planes and bit count).
QByteArray iconFile(int type, const Canvas &c, const Mask &transparent, int bpp, const Palette &pal, int hotX = 0,
                    int hotY = 0)
{
    const QByteArray image = dibImage(c, transparent, bpp, pal);
    Bytes b;
    b.u16(0);
    b.u16(type);
    b.u16(1);
    b.u8(c.w);
    b.u8(c.h);
    b.u8(bpp >= 8 ? 0 : 1 << bpp);
    b.u8(0);
    b.u16(type == 2 ? hotX : 1);
    b.u16(type == 2 ? hotY : bpp);
    b.u32(uint32_t(image.size()));
    b.u32(6 + 16);
    b.raw(image);
    return b.d;
}

// ---------------------------------------------------------------------------
// The pictures

// Title banner: the game's name in green letters with a black outline and a
// black shadow, on white inside a black border.  Every picture is drawn at
// k times its size for high-density screens; lines keep their weight and
// curves get their finer steps.
Canvas drawTitle(Palette &pal, int k = 1)
{
    enum : uint8_t { Paper, Ink, Leaf, Shine };
    pal = {0xFFFFFF, 0x000000, 0x008000, 0x20B020};
    const int W = 142 * k, H = 46 * k;
    Canvas c(W, H, Paper);
    for (int i = 0; i < 2 * k; ++i) {
        fillRect(c, 0, i, W, 1, Ink);
        fillRect(c, 0, H - 1 - i, W, 1, Ink);
        fillRect(c, i, 0, 1, H, Ink);
        fillRect(c, W - 1 - i, 0, 1, H, Ink);
    }
    // a thin inner rule
    fillRect(c, 4 * k, 4 * k, W - 8 * k, k, Ink);
    fillRect(c, 4 * k, H - 5 * k, W - 8 * k, k, Ink);
    fillRect(c, 4 * k, 4 * k, k, H - 8 * k, Ink);
    fillRect(c, W - 5 * k, 4 * k, k, H - 8 * k, Ink);

    const double letterH = 25.0 * k, pen = 2.1 * k, wide = 0.84, gap = 3.2 * k, slant = 0.12;
    const double width = wordWidth("TAVROLIN", letterH, pen, wide, gap) + letterH * slant;
    const double x0 = k * std::floor((W / k - 2 - width / k) / 2), y0 = k * std::floor((H / k - 2 - letterH / k) / 2);
    Mask face(W, H);
    strokeSegments(face, layoutWord("TAVROLIN", x0, y0, letterH, pen, wide, gap, slant), pen);

    const Mask outline = ringBand(face, true, k);
    Mask body = face;
    paint(body, outline, 1);
    paint(c, shifted(body, 2 * k, 2 * k), Ink);
    paint(c, outline, Ink);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (face.at(x, y))
                c.set(x, y, y < y0 + letterH * 0.42 ? Shine : Leaf);
    return c;
}

// The publisher's emblem: a four-pointed star in a ring.
std::vector<Pt> starPolygon(double cx, double cy, double outer, double inner)
{
    const double pi = 3.14159265358979323846;
    std::vector<Pt> pts;
    for (int i = 0; i < 8; ++i) {
        const double a = -pi / 2 + i * pi / 4;
        const double rad = (i % 2 == 0) ? outer : inner;
        pts.push_back({cx + rad * std::cos(a), cy + rad * std::sin(a)});
    }
    return pts;
}

Canvas drawLogo(Palette &pal, int k = 1)
{
    enum : uint8_t { Paper, Ink, Accent, Star };
    pal = {0xFFFFFF, 0x000080, 0xC00000, 0xFFFFFF};
    const int W = 165 * k, H = 52 * k;
    Canvas c(W, H, Paper);

    // emblem: navy disc, white star, red centre
    const double cx = 26.0 * k, cy = 26.0 * k;
    Mask disc(W, H);
    fillEllipse(disc, cx, cy, 22.0 * k, 22.0 * k);
    paint(c, disc, Ink);
    Mask ring(W, H);
    fillEllipse(ring, cx, cy, 19.0 * k, 19.0 * k);
    paint(c, innerBand(ring, k), Star);
    Mask star(W, H);
    fillPolygon(star, starPolygon(cx, cy, 16.0 * k, 4.5 * k));
    paint(c, star, Star);
    Mask hub(W, H);
    fillEllipse(hub, cx, cy, 2.6 * k, 2.6 * k);
    paint(c, hub, Accent);

    // the name
    const double letterH = 22.0 * k, pen = 2.3 * k, wide = 0.9, gap = 2.6 * k;
    const double textX = 56.0 * k, textW = wordWidth("ORMANDI", letterH, pen, wide, gap);
    Mask name(W, H);
    strokeSegments(name, layoutWord("ORMANDI", textX, 6.0 * k, letterH, pen, wide, gap, 0), pen);
    paint(c, name, Ink);

    // a red rule and a spaced-out caption
    fillRect(c, int(textX), 32 * k, k * int(std::lround(textW / k)), 2 * k, Accent);
    const int capW = tinyWidth("SOFTWARE", 3);
    drawTiny(c, k * int(textX / k + std::floor((textW / k - capW) / 2)), 38 * k, "SOFTWARE", 3, Ink, k);
    return c;
}

// The publisher's symbol: the emblem and the name in white lines on a
// coloured ground.
Canvas drawSymbol(Palette &pal, uint32_t ground, int k = 1)
{
    enum : uint8_t { Ground, Line };
    pal = {ground, 0xFFFFFF};
    const int W = 36 * k, H = 50 * k;
    Canvas c(W, H, Ground);
    Mask frame(W, H);
    fillRect(frame, k, k, W - 2 * k, H - 2 * k, 1);
    paint(c, innerBand(frame, k), Line);

    const double cx = 18.0 * k, cy = 18.0 * k;
    Mask ring(W, H);
    fillEllipse(ring, cx, cy, 13.0 * k, 13.0 * k);
    paint(c, innerBand(ring, k), Line);
    Mask star(W, H);
    fillPolygon(star, starPolygon(cx, cy, 11.0 * k, 3.2 * k));
    paint(c, innerBand(star, k), Line);
    fillRect(c, 17 * k, 17 * k, 2 * k, 2 * k, Line);

    fillRect(c, 6 * k, 35 * k, 24 * k, k, Line);
    drawTiny(c, k * ((36 - tinyWidth("ORMANDI", 1)) / 2), 38 * k, "ORMANDI", 1, Line, k);
    fillRect(c, 6 * k, 45 * k, 24 * k, k, Line);
    return c;
}

// The down-pointing lightning arrow shared by the two board pointers.  Returns
// the fill; the outline is the 4-neighbour ring around it, so the tip of the
// outline is the single pixel (16,19).
Mask arrowFill()
{
    Mask m(32, 32);
    // the bolt: rows of (first, last) column; a band slanting down to the
    // left, a bar that kinks back to the right, and a short band into the head
    const int bolt[][2] = {
        {25, 29}, {23, 27}, {21, 25}, {19, 23}, {17, 26}, {17, 26},
        {21, 25}, {20, 24}, {19, 23}, {18, 22},
    };
    for (int i = 0; i < 10; ++i)
        fillRect(m, bolt[i][0], 1 + i, bolt[i][1] - bolt[i][0] + 1, 1, 1);
    // the broad head: rows 11..18, narrowing by one pixel a side per row
    for (int row = 11; row <= 18; ++row) {
        const int half = 18 - row;
        fillRect(m, 16 - half, row, 2 * half + 1, 1, 1);
    }
    return m;
}

Canvas drawArrow(Mask &transparent, uint8_t fill, uint8_t edge)
{
    const Mask body = arrowFill();
    const Mask outline = ringAround(body, false);
    Canvas c(32, 32, Black);
    paint(c, body, fill);
    paint(c, outline, edge);
    transparent = Mask(32, 32, 1);
    for (size_t i = 0; i < c.px.size(); ++i)
        if (body.px[i] || outline.px[i])
            transparent.px[i] = 0;
    return c;
}

// A pointing hand, index finger up; its fingertip is the pair of outline
// pixels at columns 5 and 6 of row 0.
const std::vector<std::string> handArt = {
    ".....BB.............",
    "....BWWB............",
    "...BWWWWB...........",
    "...BWWWWB...........",
    "...BWWWWB...........",
    "...BWWWWB...........",
    "...BWWWWB...........",
    "...BWWWWBBBB........",
    "...BWWWWBWWWBBBB....",
    "...BWWWWBWWWBWWWB...",
    "...BWWWWBWWWBWWWBBB.",
    "...BWWWWBWWWBWWWBWWB",
    ".BBBWWWWBWWWBWWWBWWB",
    "BWWBWWWWWWWWWWWWWWWB",
    "BWWWBWWWWWWWWWWWWWWB",
    ".BWWWBWWWWWWWWWWWWWB",
    ".BWWWWWWWWWWWWWWWWWB",
    "..BWWWWWWWWWWWWWWWWB",
    "..BWWWWWWWWWWWWWWWB.",
    "...BWWWWWWWWWWWWWWB.",
    "....BWWWWWWWWWWWWB..",
    "....BWWWWWWWWWWWWB..",
    "....BBBBBBBBBBBBBB..",
};

Canvas drawHand(Mask &transparent, int ox, int oy)
{
    Canvas c(32, 32, Black);
    transparent = Mask(32, 32, 1);
    blitArt(c, ox, oy, handArt, "BW", {Black, White});
    blitArt(transparent, ox, oy, handArt, "BW", {0, 0});
    return c;
}

// ---------------------------------------------------------------------------
// Sounds

struct Partial {
    double ratio;      // of the note's frequency
    double amp;
    double decay;      // seconds for the partial to fall to 1/e
};

// Short linear ramps at both ends so playback starts and stops without a click.
void fadeEnds(std::vector<double> &s, int fadeIn, int fadeOut)
{
    const int n = int(s.size());
    for (int i = 0; i < fadeIn && i < n; ++i)
        s[i] *= double(i) / fadeIn;
    for (int i = 0; i < fadeOut && i < n; ++i)
        s[n - 1 - i] *= double(i) / fadeOut;
}

double peakOf(const std::vector<double> &s)
{
    double p = 0;
    for (double v : s)
        p = std::max(p, std::fabs(v));
    return p;
}

// A struck note: partials decaying exponentially after a brief attack.
void addStruck(std::vector<double> &out, double rate, double start, double freq, double gain,
               const std::vector<Partial> &partials)
{
    const double pi = 3.14159265358979323846;
    const double attack = 0.004;
    for (size_t i = size_t(std::max(0.0, start * rate)); i < out.size(); ++i) {
        const double t = i / rate - start;
        if (t < 0)
            continue;
        const double rise = t < attack ? t / attack : 1.0;
        double v = 0;
        for (const Partial &p : partials) {
            const double f = freq * p.ratio;
            if (f > 0.45 * rate)
                continue;
            v += p.amp * std::exp(-t / p.decay) * std::sin(2 * pi * f * t);
        }
        out[i] += gain * rise * v;
    }
}

// Good hit: two bright bell strokes a fifth apart.
std::vector<double> synthChime(int samples, double rate)
{
    std::vector<double> s(size_t(samples), 0.0);
    const std::vector<Partial> bell = {
        {1.0, 1.0, 0.22}, {2.0, 0.45, 0.12}, {2.76, 0.22, 0.07}, {4.07, 0.10, 0.04}, {0.5, 0.12, 0.30},
    };
    addStruck(s, rate, 0.000, 1318.51, 0.8, bell);   // E6
    addStruck(s, rate, 0.085, 1975.53, 1.0, bell);   // B6
    return s;
}

// Bad hit: a soft low thud whose pitch sags from 170 to 95 Hz.  A fundamental
// that low is barely reproduced by small laptop speakers, so the thud also
// carries strong harmonics up to the sixth (about 300 to 1000 Hz) that die away
// faster than the fundamental -- from those the ear still hears the low pitch --
// and a short knock of band-limited noise around 600 Hz at the strike.  Nearly
// nothing lies above 2 kHz, so it stays dull.
std::vector<double> synthBlip(int samples, double rate)
{
    const double pi = 3.14159265358979323846;
    struct Harmonic { int number; double amp, decay; };
    // The signs of the third and fifth keep the harmonics from piling up into
    // one tall first peak, which would leave the rest quiet after scaling.
    const Harmonic harmonics[] = {
        {1, 1.00, 0.070}, {2, 0.50, 0.050}, {3, -0.75, 0.050}, {4, 0.60, 0.040}, {5, -0.40, 0.028}, {6, 0.25, 0.020},
    };
    // The knock: white noise through a band-pass (centre 600 Hz, Q 1.4) and a
    // gentle low-pass at 1.5 kHz, rising in 1.5 ms and falling in 12 ms.
    const double w0 = 2 * pi * 600.0 / rate;
    const double alpha = std::sin(w0) / (2 * 1.4);
    const double a0 = 1 + alpha;
    const double b0 = alpha / a0, b2 = -alpha / a0, a1 = -2 * std::cos(w0) / a0, a2 = (1 - alpha) / a0;
    const double smooth = 1 - std::exp(-2 * pi * 1500.0 / rate);
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0, low = 0;
    uint32_t seed = 0x1234567;

    std::vector<double> s(size_t(samples), 0.0);
    double phase = 0;
    for (int i = 0; i < samples; ++i) {
        const double t = i / rate;
        const double f = 95.0 + 75.0 * std::exp(-t / 0.06);
        phase += 2 * pi * f / rate;
        double body = 0;
        for (const Harmonic &h : harmonics)
            body += h.amp * std::exp(-t / h.decay) * std::sin(h.number * phase);

        seed = (seed * 1103515245u + 12345u) & 0x7FFFFFFFu;
        const double white = seed / double(0x3FFFFFFF) - 1.0;
        const double band = b0 * white + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = white;
        y2 = y1;
        y1 = band;
        low += smooth * (band - low);
        const double knock = 5.0 * std::min(1.0, t / 0.0015) * std::exp(-t / 0.012) * low;

        s[i] = std::min(1.0, t / 0.006) * body + knock;
    }
    return s;
}

// Winner: a quick rising arpeggio into a held major chord, brassy, with the
// notes spread across the two channels.
void synthFanfare(int frames, double rate, std::vector<double> &left, std::vector<double> &right)
{
    const double pi = 3.14159265358979323846;
    left.assign(size_t(frames), 0.0);
    right.assign(size_t(frames), 0.0);
    struct Note { double start, length, freq, pan, gain; };
    const std::vector<Note> notes = {
        {0.000, 0.110, 392.00, 0.30, 0.55},   // G4
        {0.100, 0.110, 523.25, 0.70, 0.55},   // C5
        {0.200, 0.110, 659.26, 0.35, 0.55},   // E5
        {0.300, 0.790, 783.99, 0.50, 0.60},   // G5, held
        {0.300, 0.790, 523.25, 0.25, 0.35},   // C5 under it
        {0.300, 0.790, 659.26, 0.75, 0.35},   // E5 under it
        {0.300, 0.790, 1046.50, 0.55, 0.30},  // C6 on top
    };
    for (const Note &n : notes) {
        const int first = int(std::lround(n.start * rate));
        const int count = std::min(frames - first, int(std::lround(n.length * rate)));
        double phase = 0;
        for (int k = 0; k < count; ++k) {
            const double t = k / rate;
            const double held = n.length - t;
            const double vibrato = t > 0.15 ? 0.004 * std::sin(2 * pi * 5.5 * (t - 0.15)) * std::min(1.0, (t - 0.15) / 0.2) : 0.0;
            phase += 2 * pi * n.freq * (1.0 + vibrato) / rate;
            const double attack = std::min(1.0, t / 0.012);
            const double release = std::min(1.0, held / 0.05);
            const double swell = 1.0 - 0.35 * std::min(1.0, t / 0.4);
            // brightness opens up during the attack, like a horn
            const double bright = std::min(1.0, t / 0.03);
            double v = 0;
            for (int h = 1; h <= 8; ++h) {
                if (n.freq * h > 0.45 * rate)
                    break;
                const double a = std::pow(double(h), -1.3) * (h == 1 ? 1.0 : bright);
                v += a * std::sin(h * phase);
            }
            const double sample = n.gain * attack * release * swell * v;
            left[size_t(first + k)] += sample * std::cos(n.pan * pi / 2);
            right[size_t(first + k)] += sample * std::sin(n.pan * pi / 2);
        }
    }
}

QByteArray wavHeader(int channels, int rate, int bits, int fmtSize, uint32_t dataBytes, uint32_t riffBytes)
{
    Bytes b;
    b.tag("RIFF");
    b.u32(riffBytes);
    b.tag("WAVE");
    b.tag("fmt ");
    b.u32(fmtSize);
    b.u16(1);                                       // PCM
    b.u16(channels);
    b.u32(rate);
    b.u32(uint32_t(rate * channels * bits / 8));    // bytes per second
    b.u16(channels * bits / 8);                     // block align
    b.u16(bits);
    if (fmtSize == 18)
        b.u16(0);                                   // no extra format bytes
    b.tag("data");
    b.u32(dataBytes);
    return b.d;
}

QByteArray wav8(const std::vector<double> &s, int rate, int fmtSize, double peak)
{
    const double scale = peak * 127.0 / peakOf(s);
    QByteArray data;
    for (double v : s)
        data.append(char(std::clamp<long>(128 + std::lround(v * scale), 0, 255)));
    const uint32_t riff = 4 + 8 + fmtSize + 8 + uint32_t(data.size()) + uint32_t(data.size() % 2);
    QByteArray out = wavHeader(1, rate, 8, fmtSize, uint32_t(data.size()), riff) + data;
    if (data.size() % 2)
        out.append('\0');                           // chunks are word aligned
    return out;
}

QByteArray wav16Stereo(const std::vector<double> &l, const std::vector<double> &r, int rate, double peak)
{
    const double scale = peak * 32767.0 / std::max(peakOf(l), peakOf(r));
    Bytes data;
    for (size_t i = 0; i < l.size(); ++i) {
        data.u16(uint16_t(int16_t(std::clamp<long>(std::lround(l[i] * scale), -32767, 32767))));
        data.u16(uint16_t(int16_t(std::clamp<long>(std::lround(r[i] * scale), -32767, 32767))));
    }
    const uint32_t riff = 4 + 8 + 18 + 8 + uint32_t(data.d.size());
    return wavHeader(2, rate, 16, 18, uint32_t(data.d.size()), riff) + data.d;
}

// ---------------------------------------------------------------------------
// Output and read-back checks

int failures = 0;

bool writeFile(const QString &dir, const QString &rel, const QByteArray &bytes)
{
    const QString path = dir + QLatin1Char('/') + rel;
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", qPrintable(path));
        ++failures;
        return false;
    }
    return true;
}

void fail(const QString &rel, const char *what)
{
    std::fprintf(stderr, "assetgen: %s: %s\n", qPrintable(rel), what);
    ++failures;
}

// Reads the file back with Qt and compares every pixel with the drawing.
void verifyPicture(const QString &dir, const QString &rel, const char *format, const Canvas &c, const Palette &pal,
                   const Mask *transparent)
{
    QImageReader reader(dir + QLatin1Char('/') + rel, format);
    const QImage img = reader.read();
    if (img.isNull()) {
        fail(rel, qPrintable(QStringLiteral("Qt cannot read it: ") + reader.errorString()));
        return;
    }
    if (img.width() != c.w || img.height() != c.h) {
        fail(rel, "wrong size when read back");
        return;
    }
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            const QRgb got = img.pixel(x, y);
            if (transparent && transparent->at(x, y)) {
                if (qAlpha(got) != 0) {
                    fail(rel, "a transparent pixel reads back opaque");
                    return;
                }
                continue;
            }
            if (qAlpha(got) != 255 || (got & 0xFFFFFF) != pal[c.at(x, y)]) {
                fail(rel, "a pixel reads back in the wrong colour");
                return;
            }
        }
}

// The bad-hit thud has to reach small laptop speakers and still sound low and
// dull: reads the 8-bit mono samples back and checks where their energy lies
// (from the DFT of the whole sound), that it starts and ends at the midpoint,
// never touches the limits and has no offset.
void verifyThud(const QString &rel, const QByteArray &wav)
{
    const double pi = 3.14159265358979323846;
    auto le32 = [&](qsizetype at) {
        return uint32_t(uint8_t(wav[at])) | uint32_t(uint8_t(wav[at + 1])) << 8 | uint32_t(uint8_t(wav[at + 2])) << 16
            | uint32_t(uint8_t(wav[at + 3])) << 24;
    };
    qsizetype at = 12;
    while (at + 8 <= wav.size() && wav.mid(at, 4) != "data")
        at += 8 + le32(at + 4) + (le32(at + 4) & 1);
    if (at + 8 > wav.size() || at + 8 + le32(at + 4) > uint32_t(wav.size()) || le32(at + 4) < 2) {
        fail(rel, "no sound data to check");
        return;
    }
    const QByteArray data = wav.mid(at + 8, le32(at + 4));
    const int n = int(data.size());
    const double rate = le32(24);

    std::vector<double> x(size_t(n), 0.0);
    double mean = 0;
    for (int i = 0; i < n; ++i) {
        const int v = uint8_t(data[i]);
        if (v == 0 || v == 255)
            fail(rel, "a sample is clipped");
        x[i] = v - 128;
        mean += x[i] / n;
    }
    if (uint8_t(data[0]) != 128 || uint8_t(data[n - 1]) != 128)
        fail(rel, "does not start and end at the midpoint");
    if (std::fabs(mean) > 0.5)
        fail(rel, "has a DC offset");

    double total = 0;
    for (double &v : x) {
        v -= mean;
        total += v * v;
    }
    // Parseval: each bin k (and its mirror) holds 2|X_k|^2 / n of the energy.
    double below300 = 0, below2k = 0;
    for (int k = 1; k * rate / n < 2000.0; ++k) {
        double re = 0, im = 0;
        for (int i = 0; i < n; ++i) {
            const double w = 2 * pi * double(k) * i / n;
            re += x[i] * std::cos(w);
            im -= x[i] * std::sin(w);
        }
        const double e = 2 * (re * re + im * im) / n;
        below2k += e;
        if (k * rate / n < 300.0)
            below300 += e;
    }
    if (total <= 0) {
        fail(rel, "is silent");
        return;
    }
    if (1 - below300 / total < 0.35)
        fail(rel, "has too little energy above 300 Hz for small speakers");
    if (below300 / total < 0.40)
        fail(rel, "no longer sounds low: under 40% of its energy is below 300 Hz");
    if (1 - below2k / total > 0.02)
        fail(rel, "is too bright: over 2% of its energy is above 2 kHz");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavrolin-assetgen OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);

    // Banner, logo and symbols.
    {
        Palette pal;
        const Canvas title = drawTitle(pal);
        writeFile(out, "pictures/title.gif", encodeGif(title, pal));
        verifyPicture(out, "pictures/title.gif", "gif", title, pal, nullptr);

        const Canvas logo = drawLogo(pal);
        writeFile(out, "pictures/logo.gif", encodeGif(logo, pal));
        verifyPicture(out, "pictures/logo.gif", "gif", logo, pal, nullptr);

        const Canvas onRed = drawSymbol(pal, 0xCC0000);
        writeFile(out, "pictures/symbol_red.gif", encodeGif(onRed, pal));
        verifyPicture(out, "pictures/symbol_red.gif", "gif", onRed, pal, nullptr);

        const Canvas onNavy = drawSymbol(pal, 0x000080);
        writeFile(out, "pictures/symbol_navy.gif", encodeGif(onNavy, pal));
        verifyPicture(out, "pictures/symbol_navy.gif", "gif", onNavy, pal, nullptr);
        // The same pictures drawn at twice the size, for screens scaled by
        // more than one; the window picks them up by the "@2x" name.
        const struct { const char *name; Canvas (*draw)(Palette &); QSize size; } doubled[] = {
            {"pictures/title@2x.gif", [](Palette &p) { return drawTitle(p, 2); }, {284, 92}},
            {"pictures/logo@2x.gif", [](Palette &p) { return drawLogo(p, 2); }, {330, 104}},
            {"pictures/symbol_red@2x.gif", [](Palette &p) { return drawSymbol(p, 0xCC0000, 2); }, {72, 100}},
            {"pictures/symbol_navy@2x.gif", [](Palette &p) { return drawSymbol(p, 0x000080, 2); }, {72, 100}},
        };
        for (const auto &d : doubled) {
            const Canvas big = d.draw(pal);
            if (QSize(big.w, big.h) != d.size)
                fail(d.name, "not twice the size of the picture");
            writeFile(out, d.name, encodeGif(big, pal));
            verifyPicture(out, d.name, "gif", big, pal, nullptr);
        }
    }

    // Pointers.
    {
        Mask clear(32, 32);
        const Canvas hand = drawHand(clear, 0, 0);
        const Palette mono = {0x000000, 0xFFFFFF};
        Canvas bits(32, 32);
        for (size_t i = 0; i < bits.px.size(); ++i)
            bits.px[i] = hand.px[i] == White ? 1 : 0;
        writeFile(out, "cursors/hand.cur", iconFile(2, bits, clear, 1, mono, 5, 0));
        verifyPicture(out, "cursors/hand.cur", "ico", bits, mono, &clear);
        if (clear.at(5, 0) || bits.at(5, 0) != 0)
            fail("cursors/hand.cur", "the hot spot is not on the fingertip");

        const Canvas up = drawArrow(clear, Blue, Red);
        writeFile(out, "icons/110.ico", iconFile(1, up, clear, 4, vgaPalette));
        verifyPicture(out, "icons/110.ico", "ico", up, vgaPalette, &clear);
        if (clear.at(16, 19) || !clear.at(15, 19) || !clear.at(17, 19) || !clear.at(16, 20))
            fail("icons/110.ico", "the arrow's tip is not at (16,19)");

        Mask clearDn(32, 32);
        const Canvas dn = drawArrow(clearDn, Cyan, Magenta);
        writeFile(out, "icons/102.ico", iconFile(1, dn, clearDn, 4, vgaPalette));
        verifyPicture(out, "icons/102.ico", "ico", dn, vgaPalette, &clearDn);

        const Canvas prod = drawHand(clear, 9, 8);
        writeFile(out, "icons/103.ico", iconFile(1, prod, clear, 4, vgaPalette));
        verifyPicture(out, "icons/103.ico", "ico", prod, vgaPalette, &clear);
        for (int x = 0; x < 32; ++x)
            for (int y = 0; y < 8; ++y)
                if (!clear.at(x, y))
                    fail("icons/103.ico", "the hand reaches above row 8");
        if (clear.at(14, 8) || clear.at(15, 8) || !clear.at(13, 8) || !clear.at(16, 8))
            fail("icons/103.ico", "the fingertip is not at columns 14 and 15");

        // Pointers for screens scaled by two: the same pixel art with every
        // pixel doubled, so the pointer keeps its size and its hot spot
        // (which doubles too) on the same pixel of the picture.
        Mask clearUp(32, 32);
        drawArrow(clearUp, Blue, Red);
        const struct { const char *name; const Canvas &image; const Mask &clear; } doubled[] = {
            {"icons/110@2x.ico", up, clearUp},
            {"icons/102@2x.ico", dn, clearDn},
            {"icons/103@2x.ico", prod, clear},
        };
        for (const auto &d : doubled) {
            const Canvas big = blownUp(d.image, 2);
            const Mask bigHole = blownUp(d.clear, 2);
            writeFile(out, d.name, iconFile(1, big, bigHole, 4, vgaPalette));
            verifyPicture(out, d.name, "ico", big, vgaPalette, &bigHole);
        }
        Mask handClear(32, 32);
        drawHand(handClear, 0, 0);
        const Canvas bigBits = blownUp(bits, 2);
        const Mask bigHandClear = blownUp(handClear, 2);
        writeFile(out, "cursors/hand@2x.cur", iconFile(2, bigBits, bigHandClear, 1, mono, 10, 0));
        verifyPicture(out, "cursors/hand@2x.cur", "ico", bigBits, mono, &bigHandClear);
    }

    // Sounds, with their exact sizes.
    {
        struct Expect { const char *name; QByteArray bytes; qsizetype size; };
        std::vector<double> left, right;
        synthFanfare(24140, 22050, left, right);
        fadeEnds(left, 66, 220);
        fadeEnds(right, 66, 220);

        std::vector<double> chime = synthChime(8167, 11025);
        fadeEnds(chime, 33, 110);
        std::vector<double> blip = synthBlip(4054, 22050);
        fadeEnds(blip, 66, 220);

        QByteArray fanfare = wav16Stereo(left, right, 22050, 0.80);
        // The resource is kept at a whole number of 4-byte words, so two zero
        // bytes follow the RIFF form.
        fanfare.append(QByteArray(2, '\0'));

        const std::vector<Expect> sounds = {
            {"wav/109.wav", wav8(chime, 11025, 16, 0.85), 8212},
            {"wav/110.wav", wav8(blip, 22050, 18, 0.80), 4100},
            {"wav/111.wav", fanfare, 96608},
        };
        for (const Expect &e : sounds) {
            writeFile(out, e.name, e.bytes);
            if (e.bytes.size() != e.size)
                fail(e.name, "wrong size");
        }
        verifyThud(QStringLiteral("wav/110.wav"), sounds[1].bytes);
    }

    return failures ? 1 : 0;
}
