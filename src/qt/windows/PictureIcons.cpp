#include "windows/PictureIcons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <numbers>

#include "windows/Appearance.h"

namespace qb {
namespace {

const QColor kOutline(40, 40, 40);

// Draws the picture in a 16 by 16 square.
void DrawNewCaption(QPainter& p) {
    // A pencil writing on a line.
    p.setPen(QPen(QColor(90, 90, 90), 1.0));
    p.drawLine(QPointF(1.5, 14.5), QPointF(14.5, 14.5));
    QPolygonF body;
    body << QPointF(4.0, 10.0) << QPointF(11.5, 2.5) << QPointF(14.0, 5.0) << QPointF(6.5, 12.5);
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(QColor(245, 200, 60));
    p.drawPolygon(body);
    QPolygonF tip;
    tip << QPointF(4.0, 10.0) << QPointF(6.5, 12.5) << QPointF(2.5, 13.5);
    p.setBrush(QColor(235, 215, 170));
    p.drawPolygon(tip);
    p.setBrush(QColor(230, 120, 140));
    QPolygonF end;
    end << QPointF(11.5, 2.5) << QPointF(12.7, 1.3) << QPointF(15.2, 3.8) << QPointF(14.0, 5.0);
    p.drawPolygon(end);
}

void DrawClearCaption(QPainter& p) {
    // Lines of text struck out.
    p.setPen(QPen(QColor(120, 120, 120), 1.2));
    for (qreal y : {4.5, 8.0, 11.5}) p.drawLine(QPointF(2.0, y), QPointF(14.0, y));
    p.setPen(QPen(QColor(200, 30, 30), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 2.5), QPointF(12.5, 13.5));
    p.drawLine(QPointF(12.5, 2.5), QPointF(3.5, 13.5));
}

void DrawOpen(QPainter& p) {
    // An open folder.
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(QColor(215, 170, 50));
    QPolygonF back;
    back << QPointF(1.5, 3.5) << QPointF(6.0, 3.5) << QPointF(7.5, 5.0) << QPointF(13.5, 5.0)
         << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
    p.drawPolygon(back);
    p.setBrush(QColor(250, 215, 100));
    QPolygonF front;
    front << QPointF(3.5, 7.5) << QPointF(15.5, 7.5) << QPointF(13.5, 13.5) << QPointF(1.5, 13.5);
    p.drawPolygon(front);
}

void DrawSave(QPainter& p) {
    // A diskette.
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(QColor(50, 80, 160));
    QPolygonF disk;
    disk << QPointF(1.5, 1.5) << QPointF(12.5, 1.5) << QPointF(14.5, 3.5) << QPointF(14.5, 14.5)
         << QPointF(1.5, 14.5);
    p.drawPolygon(disk);
    p.setBrush(QColor(200, 200, 205));
    p.drawRect(QRectF(4.5, 1.5, 7.0, 4.5));
    p.setBrush(QColor(50, 80, 160));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(9.0, 2.3, 1.6, 3.0));
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 8.5, 9.0, 6.0));
    p.setPen(QPen(QColor(150, 150, 150), 0.8));
    p.drawLine(QPointF(5.0, 10.5), QPointF(11.0, 10.5));
    p.drawLine(QPointF(5.0, 12.5), QPointF(11.0, 12.5));
}

void DrawPaste(QPainter& p) {
    // A clipboard with a sheet on it.
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(QColor(170, 120, 60));
    p.drawRoundedRect(QRectF(2.5, 2.5, 11.0, 13.0), 1.2, 1.2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 4.5, 7.0, 9.5));
    p.setBrush(QColor(180, 180, 185));
    p.drawRoundedRect(QRectF(5.5, 1.0, 5.0, 3.0), 0.8, 0.8);
    p.setPen(QPen(QColor(120, 120, 120), 0.8));
    for (qreal y : {7.0, 9.0, 11.0}) p.drawLine(QPointF(6.0, y), QPointF(10.0, y));
}

// A strip of tape with printed lines, its last line the total.
void DrawTapeStrip(QPainter& p, QRectF strip) {
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(QColor(253, 250, 238));
    p.drawRect(strip);
    p.setPen(QPen(QColor(120, 120, 120), 1.0));
    const qreal left = strip.left() + 1.5, right = strip.right() - 1.5;
    for (int i = 0; i < 3; ++i) {
        const qreal y = strip.top() + 2.5 + 2.5 * i;
        p.drawLine(QPointF(left + (i % 2 ? 1.5 : 0.0), y), QPointF(right, y));
    }
    p.setPen(QPen(QColor(40, 40, 40), 1.3));
    p.drawLine(QPointF(left, strip.bottom() - 2.5), QPointF(right, strip.bottom() - 2.5));
}

void DrawClearSubtotal(QPainter& p) {
    // The tape's total rubbed out by an eraser.
    DrawTapeStrip(p, QRectF(2.5, 1.5, 8.0, 13.0));
    p.translate(11.5, 11.0);
    p.rotate(-35.0);
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(QColor(230, 110, 120));
    p.drawRect(QRectF(-4.0, -2.2, 5.0, 4.4));
    p.setBrush(QColor(80, 110, 190));
    p.drawRect(QRectF(1.0, -2.2, 3.5, 4.4));
}

void DrawNewTape(QPainter& p) {
    // A fresh roll of paper, with a star for new.
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(QColor(253, 250, 238));
    QPainterPath roll;
    roll.moveTo(3.0, 5.5);
    roll.lineTo(11.0, 5.5);
    roll.lineTo(11.0, 14.5);
    roll.lineTo(3.0, 14.5);
    roll.closeSubpath();
    p.drawPath(roll);
    p.drawEllipse(QRectF(9.0, 5.5, 4.0, 9.0));
    p.setBrush(QColor(200, 190, 160));
    p.drawEllipse(QRectF(10.3, 8.8, 1.4, 2.4));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const qreal radius = i % 2 ? 1.6 : 3.8;
        star << QPointF(4.5 + radius * std::cos(angle), 4.5 + radius * std::sin(angle));
    }
    p.setBrush(QColor(250, 200, 40));
    p.setPen(QPen(QColor(150, 100, 0), 0.7));
    p.drawPolygon(star);
}

void DrawPrint(QPainter& p) {
    // A printer with a sheet coming out of it.
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7.0, 6.0));
    p.setBrush(QColor(170, 170, 175));
    p.drawRoundedRect(QRectF(1.5, 6.5, 13.0, 6.0), 1.0, 1.0);
    p.setBrush(QColor(60, 180, 80));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(11.5, 8.0, 1.6, 1.6));
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.0, 10.5, 8.0, 4.0));
    p.setPen(QPen(QColor(120, 120, 120), 0.8));
    p.drawLine(QPointF(5.5, 12.5), QPointF(10.5, 12.5));
    p.drawLine(QPointF(6.0, 3.5), QPointF(10.0, 3.5));
}

void DrawSheet(QPainter& p, QRectF sheet) {
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(QPen(QColor(120, 120, 120), 0.8));
    for (qreal y = sheet.top() + 2.5; y < sheet.bottom() - 1.0; y += 2.0)
        p.drawLine(QPointF(sheet.left() + 1.5, y), QPointF(sheet.right() - 1.5, y));
}

void DrawCopy(QPainter& p) {
    // Two sheets, one the copy of the other.
    DrawSheet(p, QRectF(1.5, 1.5, 8.0, 10.0));
    DrawSheet(p, QRectF(6.5, 4.5, 8.0, 10.0));
}

void DrawClose(QPainter& p) {
    // An open door and the way out.
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(QColor(60, 60, 70));
    p.drawRect(QRectF(2.5, 1.5, 8.0, 13.0));
    QPolygonF door;
    door << QPointF(2.5, 1.5) << QPointF(7.5, 3.0) << QPointF(7.5, 15.0) << QPointF(2.5, 14.5);
    p.setBrush(QColor(175, 115, 60));
    p.drawPolygon(door);
    p.setBrush(QColor(240, 200, 80));
    p.drawEllipse(QRectF(5.8, 8.2, 1.2, 1.2));
    p.setPen(QPen(QColor(30, 140, 50), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(9.0, 8.0), QPointF(14.5, 8.0));
    p.drawPolyline(QPolygonF{QPointF(12.5, 5.8), QPointF(14.7, 8.0), QPointF(12.5, 10.2)});
}

void DrawOK(QPainter& p) {
    // A green tick.
    p.setPen(QPen(QColor(20, 120, 40), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)});
}

void DrawCancel(QPainter& p) {
    // A red cross in a ring.
    p.setPen(QPen(QColor(180, 20, 20), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(1.5, 1.5, 13.0, 13.0));
    p.setPen(QPen(QColor(180, 20, 20), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
    p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
}

// Letters filling the picture's width, for the keys a calculator marks with letters.
void DrawLetters(QPainter& p, QSizeF size, const QString& letters, const QColor& colour) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(100);
    QPainterPath path;
    path.addText(0, 0, font, letters);
    const QRectF bounds = path.boundingRect();
    const qreal scale = std::min(size.width() * 0.92 / bounds.width(), size.height() * 0.8 / bounds.height());
    p.translate(size.width() / 2.0, size.height() / 2.0);
    p.scale(scale, scale);
    p.translate(-bounds.center());
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
}

}  // namespace

QIcon DrawPicture(Picture picture, QSize size, qreal devicePixelRatio, const QColor& background) {
    auto letters = [&background](int red, int green, int blue) {
        const Rgb colour{static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue)};
        return QColorOf(background.isValid() ? ReadableOn(colour, qb::RgbOf(background)) : colour);
    };
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(size.width(), size.height());
    switch (picture) {
    case Picture::ClearEntry: DrawLetters(p, size, QStringLiteral("CE"), letters(170, 20, 20)); break;
    case Picture::MemoryRecall: DrawLetters(p, size, QStringLiteral("MR"), letters(20, 50, 140)); break;
    case Picture::ClearMemory: DrawLetters(p, size, QStringLiteral("MC"), letters(170, 20, 20)); break;
    default: {
        // The drawings are square, centred in the picture.
        p.translate((size.width() - side) / 2.0, (size.height() - side) / 2.0);
        p.scale(side / 16.0, side / 16.0);
        switch (picture) {
        case Picture::NewCaption: DrawNewCaption(p); break;
        case Picture::ClearCaption: DrawClearCaption(p); break;
        case Picture::Open: DrawOpen(p); break;
        case Picture::Save: DrawSave(p); break;
        case Picture::Paste: DrawPaste(p); break;
        case Picture::ClearSubtotal: DrawClearSubtotal(p); break;
        case Picture::NewTape: DrawNewTape(p); break;
        case Picture::Print: DrawPrint(p); break;
        case Picture::Copy: DrawCopy(p); break;
        case Picture::Close: DrawClose(p); break;
        case Picture::OK: DrawOK(p); break;
        case Picture::Cancel: DrawCancel(p); break;
        default: break;
        }
    }
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace qb
