// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// tavrolin-desktopicons OUTDIR
//
// Draws the desktop icon of the game, the die with three red and three blue
// pips, as a scalable SVG and as PNGs for every size of the hicolor theme,
// and writes them under OUTDIR/hicolor/<size>/apps/.  The SVG text is written
// here and the PNGs are painted from the very same outline, so both tell the
// same picture.  tools/regenerate-assets refreshes the copies committed under
// resources/desktop/icons/; the test desktop_icons_reproducible checks them.

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

const char *const kIconName = "example.ormandi.Tavrolin";
const int kSizes[] = {16, 32, 48, 64, 128, 256};

// The picture is laid out on a 32 x 32 grid, like the window's own icon.
constexpr double kGrid = 32;
constexpr double kFace = 1;     // top left corner of the front face
constexpr double kSide = 25;    // edge of the front face
constexpr double kRadius = 4.5; // rounding of the corners
constexpr double kDepth = 5;    // how far the body reaches back and down
constexpr double kOutline = 1;
constexpr double kEdge = 0.6;

const QColor kBlack(0x00, 0x00, 0x00);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kGray(0x80, 0x80, 0x80);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kNavy(0x00, 0x00, 0x80);

constexpr double kPi = 3.14159265358979323846;

// Numbers in the SVG text: at most three decimals, no trailing zeros.
QByteArray num(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    QByteArray s(buf);
    while (s.endsWith('0'))
        s.chop(1);
    if (s.endsWith('.'))
        s.chop(1);
    if (s == "-0")
        s = "0";
    return s;
}

QByteArray hex(const QColor &c)
{
    return c.name(QColor::HexRgb).toLatin1();
}

// An outline made of straight lines and clockwise circle pieces of at most a
// quarter turn, kept so it can be spoken both as SVG path data and as a
// QPainterPath.
struct Outline {
    struct Step {
        bool arc;
        double x, y;              // end point
        double cx, cy, r, a0, a1; // arcs: centre, radius, angles (degrees, y down)
    };
    double startX = 0, startY = 0;
    std::vector<Step> steps;

    void lineTo(double x, double y) { steps.push_back({false, x, y, 0, 0, 0, 0, 0}); }
    void arcTo(double cx, double cy, double r, double a0, double a1)
    {
        const double x = cx + r * std::cos(a1 * kPi / 180), y = cy + r * std::sin(a1 * kPi / 180);
        steps.push_back({true, x, y, cx, cy, r, a0, a1});
    }

    QPainterPath path() const
    {
        QPainterPath p(QPointF(startX, startY));
        for (const Step &s : steps) {
            if (s.arc)
                // Qt counts angles anticlockwise with y pointing up.
                p.arcTo(QRectF(s.cx - s.r, s.cy - s.r, 2 * s.r, 2 * s.r), -s.a0, -(s.a1 - s.a0));
            else
                p.lineTo(s.x, s.y);
        }
        p.closeSubpath();
        return p;
    }
};

// The silhouette of the whole die: the front face pushed back along the
// diagonal, so the top right and bottom left corners are joined by straight
// edges at 45 degrees.
Outline bodyOutline()
{
    const double a = kFace, s = kSide, r = kRadius, d = kDepth;
    const double near = a + r, far = a + s - r; // corner centres of the face
    Outline o;
    o.startX = near;
    o.startY = a;
    o.lineTo(far, a);
    o.arcTo(far, near, r, -90, -45);
    o.arcTo(far + d, near + d, r, -45, 0); // a straight edge leads to its start
    o.lineTo(a + s + d, far + d);
    o.arcTo(far + d, far + d, r, 0, 90);
    o.lineTo(near + d, a + s + d);
    o.arcTo(near + d, far + d, r, 90, 135);
    o.arcTo(near, far, r, 135, 180);
    o.lineTo(a, near);
    o.arcTo(near, near, r, 180, 270);
    return o;
}

// An SVG arc starting elsewhere than where the last step ended needs an
// explicit line first; the QPainterPath gets one from arcTo itself.
QByteArray svgPath(const Outline &o)
{
    QByteArray d = "M" + num(o.startX) + " " + num(o.startY);
    double x = o.startX, y = o.startY;
    for (const Outline::Step &s : o.steps) {
        if (s.arc) {
            const double x0 = s.cx + s.r * std::cos(s.a0 * kPi / 180);
            const double y0 = s.cy + s.r * std::sin(s.a0 * kPi / 180);
            if (std::hypot(x0 - x, y0 - y) > 1e-9)
                d += " L" + num(x0) + " " + num(y0);
            d += " A" + num(s.r) + " " + num(s.r) + " 0 0 1 " + num(s.x) + " " + num(s.y);
        } else {
            d += " L" + num(s.x) + " " + num(s.y);
        }
        x = s.x;
        y = s.y;
    }
    return d + " Z";
}

struct Pip {
    double x, y;
    QColor rim, lit;
};

// Two columns of three: red on the left, blue on the right.
std::vector<Pip> pips()
{
    std::vector<Pip> out;
    const double centre = kFace + kSide / 2;
    for (int col = 0; col < 2; ++col)
        for (int row = 0; row < 3; ++row)
            out.push_back({centre + (col ? 6 : -6), centre + (row - 1) * 6, col ? kNavy : kMaroon, col ? kBlue : kRed});
    return out;
}
constexpr double kPipRadius = 2.3;
constexpr double kLitRadius = 1.9;
constexpr double kLitShift = 0.5;

// The short edge where the right side turns into the bottom side.
QLineF cornerEdge()
{
    const double c = kFace + kSide - kRadius, k = kRadius * std::sqrt(0.5);
    return QLineF(c + k, c + k, c + k + kDepth, c + k + kDepth);
}

QByteArray svgText()
{
    const Outline body = bodyOutline();
    const QLineF edge = cornerEdge();
    QByteArray t;
    t += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    t += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(kGrid) + "\" height=\"" + num(kGrid)
        + "\" viewBox=\"0 0 " + num(kGrid) + " " + num(kGrid) + "\">\n";
    t += "  <title>Tavrolin</title>\n";
    t += "  <path d=\"" + svgPath(body) + "\" fill=\"" + hex(kSilver) + "\" stroke=\"" + hex(kBlack)
        + "\" stroke-width=\"" + num(kOutline) + "\" stroke-linejoin=\"round\"/>\n";
    t += "  <line x1=\"" + num(edge.x1()) + "\" y1=\"" + num(edge.y1()) + "\" x2=\"" + num(edge.x2()) + "\" y2=\""
        + num(edge.y2()) + "\" stroke=\"" + hex(kGray) + "\" stroke-width=\"" + num(kEdge) + "\"/>\n";
    t += "  <rect x=\"" + num(kFace) + "\" y=\"" + num(kFace) + "\" width=\"" + num(kSide) + "\" height=\""
        + num(kSide) + "\" rx=\"" + num(kRadius) + "\" fill=\"" + hex(kWhite) + "\" stroke=\"" + hex(kGray)
        + "\" stroke-width=\"" + num(kEdge) + "\"/>\n";
    for (const Pip &p : pips()) {
        t += "  <circle cx=\"" + num(p.x) + "\" cy=\"" + num(p.y) + "\" r=\"" + num(kPipRadius) + "\" fill=\""
            + hex(p.rim) + "\"/>\n";
        t += "  <circle cx=\"" + num(p.x - kLitShift) + "\" cy=\"" + num(p.y - kLitShift) + "\" r=\""
            + num(kLitRadius) + "\" fill=\"" + hex(p.lit) + "\"/>\n";
    }
    t += "</svg>\n";
    return t;
}

// Premultiplied to straight alpha, each channel rounded to nearest. Qt's
// own conversion takes a different SIMD path on different processors, and
// those round semi-transparent edge pixels differently, so the committed
// PNGs would depend on the machine that made them.
QImage straightAlpha(const QImage &premultiplied)
{
    QImage out(premultiplied.size(), QImage::Format_ARGB32);
    for (int y = 0; y < premultiplied.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(premultiplied.constScanLine(y));
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < premultiplied.width(); ++x) {
            const uint a = qAlpha(in[x]);
            auto channel = [a](uint c) { return a == 0 ? 0u : std::min(255u, (c * 255 + a / 2) / a); };
            line[x] = qRgba(int(channel(qRed(in[x]))), int(channel(qGreen(in[x]))), int(channel(qBlue(in[x]))), int(a));
        }
    }
    return out;
}

QImage paintIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kGrid, size / kGrid);

    p.setPen(QPen(kBlack, kOutline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kSilver);
    p.drawPath(bodyOutline().path());

    p.setPen(QPen(kGray, kEdge));
    p.drawLine(cornerEdge());

    p.setBrush(kWhite);
    p.drawRoundedRect(QRectF(kFace, kFace, kSide, kSide), kRadius, kRadius);

    p.setPen(Qt::NoPen);
    for (const Pip &pip : pips()) {
        p.setBrush(pip.rim);
        p.drawEllipse(QPointF(pip.x, pip.y), kPipRadius, kPipRadius);
        p.setBrush(pip.lit);
        p.drawEllipse(QPointF(pip.x - kLitShift, pip.y - kLitShift), kLitRadius, kLitRadius);
    }
    p.end();
    return straightAlpha(img);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "desktopicons: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavrolin-desktopicons OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor/");
    const QString name = QString::fromLatin1(kIconName);

    if (!writeBytes(out + QStringLiteral("scalable/apps/") + name + QStringLiteral(".svg"), svgText()))
        return 1;
    for (int size : kSizes) {
        const QString dir = out + QStringLiteral("%1x%1/apps/").arg(size);
        QDir().mkpath(dir);
        const QString file = dir + name + QStringLiteral(".png");
        const QImage img = paintIcon(size);
        if (!img.save(file, "PNG")) {
            std::fprintf(stderr, "desktopicons: cannot write %s\n", qPrintable(file));
            return 1;
        }
        // Read it back: a PNG that does not show what was painted stops the run.
        const QImage back(file);
        if (back.convertToFormat(QImage::Format_ARGB32) != img) {
            std::fprintf(stderr, "desktopicons: %s does not read back as painted\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
