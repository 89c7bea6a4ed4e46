// SPDX-License-Identifier: GPL-2.0-or-later
// Draws the photo editor's toolbar and dialog pictures and its program icon at build time:
// every picture is painted as vector shapes in a 32 x 32 box, once at 1x and once at 2x for
// high-density screens, in a light and a dark set that match the desktop's palette.
#include <cmath>
#include <functional>
#include <map>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

namespace
{

struct Colours {
    QColor ink;    // outlines
    QColor accent; // the picture's one coloured part
    QColor paper;  // fills behind outlines
};

using Drawer = std::function<void(QPainter&, const Colours&)>;

QPen pen(const QColor& colour, double width = 2.0)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void arrowHead(QPainter& p, QPointF tip, double angleDegrees, const QColor& colour)
{
    const double a = qDegreesToRadians(angleDegrees);
    const QPointF back(std::cos(a) * -6.0, std::sin(a) * -6.0);
    const QPointF side(std::sin(a) * 4.0, -std::cos(a) * 4.0);
    QPolygonF head{tip, tip + back + side, tip + back - side};
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

void drawOpen(QPainter& p, const Colours& c)
{
    p.setPen(pen(c.ink));
    p.setBrush(c.paper);
    p.drawPolygon(QPolygonF{{4, 8}, {12, 8}, {15, 11}, {27, 11}, {27, 26}, {4, 26}});
    p.setBrush(c.accent);
    p.drawPolygon(QPolygonF{{4, 26}, {8, 15}, {30, 15}, {27, 26}});
}

void drawSave(QPainter& p, const Colours& c)
{
    p.setPen(pen(c.ink));
    p.setBrush(c.accent);
    p.drawPolygon(QPolygonF{{5, 5}, {24, 5}, {27, 8}, {27, 27}, {5, 27}});
    p.setBrush(c.paper);
    p.drawRect(QRectF(10, 5, 12, 8));
    p.drawRect(QRectF(9, 17, 14, 10));
}

void drawUndoArrow(QPainter& p, const Colours& c, bool redo)
{
    if (redo) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    QPainterPath path;
    path.moveTo(9, 12);
    path.lineTo(19, 12);
    path.cubicTo(30, 12, 30, 26, 19, 26);
    path.lineTo(12, 26);
    p.setPen(pen(c.accent, 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    arrowHead(p, {3, 12}, 180, c.accent);
}

void drawChevron(QPainter& p, const Colours& c, bool next)
{
    if (next) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    p.setPen(pen(c.ink, 1.5));
    p.setBrush(c.accent);
    p.drawPolygon(QPolygonF{{7, 16}, {21, 6}, {21, 26}});
}

void drawMagnifier(QPainter& p, const Colours& c, bool plus)
{
    p.setPen(pen(c.ink, 2.5));
    p.setBrush(c.paper);
    p.drawEllipse(QPointF(13, 13), 9, 9);
    p.setPen(pen(c.ink, 4.0));
    p.drawLine(QPointF(20, 20), QPointF(28, 28));
    p.setPen(pen(c.accent, 2.5));
    p.drawLine(QPointF(9, 13), QPointF(17, 13));
    if (plus)
        p.drawLine(QPointF(13, 9), QPointF(13, 17));
}

void drawEnhance(QPainter& p, const Colours&)
{
    p.setPen(Qt::NoPen);
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    p.setBrush(QColor(0, 200, 230, 220));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.setBrush(QColor(240, 60, 200, 220));
    p.drawEllipse(QPointF(20, 12), 8, 8);
    p.setBrush(QColor(250, 220, 30, 220));
    p.drawEllipse(QPointF(16, 20), 8, 8);
}

void drawResize(QPainter& p, const Colours& c)
{
    p.setPen(pen(c.ink, 1.5));
    p.setBrush(c.paper);
    p.drawRect(QRectF(4, 4, 24, 24));
    p.setBrush(c.accent);
    p.drawRect(QRectF(4, 16, 12, 12));
    p.setPen(pen(c.ink, 2.0));
    p.drawLine(QPointF(17, 15), QPointF(24, 8));
    arrowHead(p, {26, 6}, -45, c.ink);
}

void drawRotate(QPainter& p, const Colours& c)
{
    p.setPen(pen(c.accent, 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 6, 20, 20), 90 * 16, -270 * 16);
    arrowHead(p, {10, 7}, 180, c.accent);
    p.setPen(pen(c.ink, 1.5));
    p.setBrush(c.paper);
    p.drawRect(QRectF(12, 12, 8, 8));
}

void drawCrop(QPainter& p, const Colours& c)
{
    p.setPen(pen(c.ink, 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{{9, 3}, {9, 23}, {29, 23}});
    p.drawPolyline(QPolygonF{{3, 9}, {23, 9}, {23, 29}});
    p.setPen(pen(c.accent, 1.5));
    p.drawLine(QPointF(11, 21), QPointF(21, 11));
}

void drawSharpen(QPainter& p, const Colours& c)
{
    p.setPen(pen(c.ink, 1.5));
    p.setBrush(c.accent);
    p.drawPolygon(QPolygonF{{16, 3}, {26, 16}, {16, 29}, {6, 16}});
    p.setBrush(c.paper);
    p.drawPolygon(QPolygonF{{16, 9}, {21, 16}, {16, 23}, {11, 16}});
}

void drawRedEye(QPainter& p, const Colours& c)
{
    QPainterPath eye;
    eye.moveTo(3, 16);
    eye.quadTo(16, 2, 29, 16);
    eye.quadTo(16, 30, 3, 16);
    p.setPen(pen(c.ink, 2.0));
    p.setBrush(c.paper);
    p.drawPath(eye);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QPointF(16, 16), 6, 6);
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QPointF(16, 16), 2.5, 2.5);
}

void drawPrint(QPainter& p, const Colours& c)
{
    p.setPen(pen(c.ink, 1.5));
    p.setBrush(c.paper);
    p.drawRect(QRectF(9, 3, 14, 9));
    p.setBrush(c.accent);
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
    p.setBrush(c.paper);
    p.drawRect(QRectF(9, 19, 14, 10));
    p.drawLine(QPointF(12, 23), QPointF(20, 23));
}

// The resize dialog's pictures beside its width and height: a photo with a double arrow
// across it, left to right or top to bottom.
void drawSpan(QPainter& p, const Colours& c, bool across)
{
    if (!across) {
        p.translate(32, 0);
        p.rotate(90);
    }
    p.setPen(pen(c.ink, 1.5));
    p.setBrush(c.paper);
    p.drawRect(QRectF(6, 4, 20, 24));
    p.setPen(pen(c.accent, 2.5));
    p.drawLine(QPointF(8, 16), QPointF(24, 16));
    arrowHead(p, {3, 16}, 180, c.accent);
    arrowHead(p, {29, 16}, 0, c.accent);
}

const std::map<QString, Drawer>& pictures()
{
    static const std::map<QString, Drawer> all = {
        {QStringLiteral("open"), drawOpen},
        {QStringLiteral("save"), drawSave},
        {QStringLiteral("undo"), [](QPainter& p, const Colours& c) { drawUndoArrow(p, c, false); }},
        {QStringLiteral("redo"), [](QPainter& p, const Colours& c) { drawUndoArrow(p, c, true); }},
        {QStringLiteral("previous"), [](QPainter& p, const Colours& c) { drawChevron(p, c, false); }},
        {QStringLiteral("next"), [](QPainter& p, const Colours& c) { drawChevron(p, c, true); }},
        {QStringLiteral("zoomin"), [](QPainter& p, const Colours& c) { drawMagnifier(p, c, true); }},
        {QStringLiteral("zoomout"), [](QPainter& p, const Colours& c) { drawMagnifier(p, c, false); }},
        {QStringLiteral("enhance"), drawEnhance},
        {QStringLiteral("resize"), drawResize},
        {QStringLiteral("rotate"), drawRotate},
        {QStringLiteral("crop"), drawCrop},
        {QStringLiteral("sharpen"), drawSharpen},
        {QStringLiteral("redeye"), drawRedEye},
        {QStringLiteral("print"), drawPrint},
        {QStringLiteral("width"), [](QPainter& p, const Colours& c) { drawSpan(p, c, true); }},
        {QStringLiteral("height"), [](QPainter& p, const Colours& c) { drawSpan(p, c, false); }},
    };
    return all;
}

QImage paint(const Drawer& drawer, const Colours& colours, int scale)
{
    QImage image(32 * scale, 32 * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    drawer(painter, colours);
    return image;
}

bool writeSet(const QDir& folder, const Colours& colours)
{
    for (const auto& [name, drawer] : pictures()) {
        if (!paint(drawer, colours, 1).save(folder.filePath(name + QStringLiteral(".png"))) ||
            !paint(drawer, colours, 2).save(folder.filePath(name + QStringLiteral("@2x.png")))) {
            return false;
        }
    }
    return true;
}

// The program's icon: a photo with a sun and hills under a magic wand's spark.
QImage programIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(40, 60, 90), 1.2));
    p.setBrush(QColor(120, 190, 240));
    p.drawRoundedRect(QRectF(2, 5, 28, 22), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 60));
    p.drawEllipse(QPointF(22, 11), 3.5, 3.5);
    p.setBrush(QColor(60, 150, 80));
    p.drawPolygon(QPolygonF{{3, 26}, {12, 14}, {19, 22}, {23, 18}, {29, 26}});
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: lxicongen GRAPHICS-FOLDER\n";
        return 2;
    }
    const QDir graphics(QString::fromLocal8Bit(argv[1]));
    const Colours light{QColor(50, 55, 62), QColor(40, 125, 215), QColor(250, 250, 250)};
    const Colours dark{QColor(220, 224, 230), QColor(95, 165, 240), QColor(60, 64, 72)};
    for (const auto& [name, colours] : {std::pair{QStringLiteral("light"), light},
                                        std::pair{QStringLiteral("dark"), dark}}) {
        const QString path = QStringLiteral("lumivex/") + name;
        if (!graphics.mkpath(path) || !writeSet(QDir(graphics.filePath(path)), colours)) {
            QTextStream(stderr) << "lxicongen: cannot write " << graphics.filePath(path) << "\n";
            return 1;
        }
    }
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        if (!programIcon(size).save(
                graphics.filePath(QStringLiteral("lumivex-%1.png").arg(size)))) {
            return 1;
        }
    }
    return 0;
}
