// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

// Draws the date box's separator and drop-button pictures and its toolbox picture at 1x and
// 2x into resources/control/. Run it again after changing a drawing:
//   cmake -S resources/tools -B build-artwork && cmake --build build-artwork
//   build-artwork/makeartwork resources/control

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

// Drawings are in design pixels; the painter scales them to the ratio.
using Drawing = std::function<void(QPainter &)>;

bool save(const QString &folder, const QString &name, QSize designPx, const Drawing &draw)
{
    for (const int ratio : {1, 2}) {
        QImage image(designPx * ratio, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(ratio, ratio);
            draw(p);
        }
        const QString file = QDir(folder).filePath(ratio == 1 ? name + QStringLiteral(".png")
                                                              : name + QStringLiteral("@2x.png"));
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return false;
        }
    }
    return true;
}

// 11 x 18: a slanted stroke, clear of the edges so it survives stretching.
void slash(QPainter &p)
{
    QPen pen(QColor(0x48, 0x4E, 0x58), 1.5);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(QPointF(2.6, 15.6), QPointF(8.4, 2.4));
}

// 18 x 21: a button face filling the strip's height. Only the side edges are lines, so a
// taller or shorter strip stretches nothing that has to stay one pixel thin.
void comboButton(QPainter &p, bool pressed)
{
    const QRectF face(0, 0, 18, 21);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0, pressed ? QColor(0xC4, 0xC9, 0xD1) : QColor(0xFB, 0xFB, 0xFC));
    fill.setColorAt(1, pressed ? QColor(0xD8, 0xDC, 0xE2) : QColor(0xDD, 0xE0, 0xE5));
    p.fillRect(face, fill);
    const QColor edge = pressed ? QColor(0x7D, 0x84, 0x8F) : QColor(0xA3, 0xA9, 0xB2);
    p.fillRect(QRectF(0, 0, 1, 21), edge);
    p.fillRect(QRectF(17, 0, 1, 21), edge);

    // A down chevron, one pixel lower while pressed.
    const qreal dy = pressed ? 1.0 : 0.0;
    QPainterPath chevron;
    chevron.moveTo(5.0, 8.5 + dy);
    chevron.lineTo(9.0, 12.5 + dy);
    chevron.lineTo(13.0, 8.5 + dy);
    QPen pen(QColor(0x33, 0x38, 0x40), 1.8);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.drawPath(chevron);
}

// 16 x 15: the picture form designers show for the box in their toolbox: a month sheet with
// its heading band and one chosen day.
void toolbox(QPainter &p)
{
    const QColor ink(0x33, 0x38, 0x40);
    p.setPen(QPen(ink, 1.0));
    p.setBrush(QColor(0xFB, 0xFB, 0xFC));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 14), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(1, 1, 14, 3), QColor(0x2F, 0x6F, 0xC4));
    // Three rows of four days on whole pixels, so the 1x picture stays sharp; the third day
    // of the second row is chosen.
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            const bool chosen = row == 1 && col == 2;
            p.fillRect(QRectF(2 + col * 3, 5 + row * 3, 2, 2),
                       chosen ? QColor(0xD9, 0x3A, 0x2B) : QColor(0x8A, 0x91, 0x9C));
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const bool ok = save(folder, QStringLiteral("slash"), {11, 18}, slash)
        && save(folder, QStringLiteral("combo-up"), {18, 21}, [](QPainter &p) { comboButton(p, false); })
        && save(folder, QStringLiteral("combo-down"), {18, 21}, [](QPainter &p) { comboButton(p, true); })
        && save(folder, QStringLiteral("toolbox"), {16, 15}, toolbox);
    return ok ? 0 : 1;
}
