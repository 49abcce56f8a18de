#include "windows/PictureIcons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

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

QIcon DrawPicture(Picture picture, QSize size, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(size.width(), size.height());
    switch (picture) {
    case Picture::ClearEntry: DrawLetters(p, size, QStringLiteral("CE"), QColor(170, 20, 20)); break;
    case Picture::MemoryRecall: DrawLetters(p, size, QStringLiteral("MR"), QColor(20, 50, 140)); break;
    case Picture::ClearMemory: DrawLetters(p, size, QStringLiteral("MC"), QColor(170, 20, 20)); break;
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
        default: break;
        }
    }
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace qb
