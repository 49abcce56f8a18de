#include "windows/Pictures.h"

#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "windows/Appearance.h"

namespace qb {
namespace {

// Drawn at the screen's own resolution, so the pictures stay sharp on a 2x or 3x screen.
QPixmap Canvas(int width, int height) {
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(width, height) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

// A quill over a roll of tape, and the name.
QPixmap LogoPicture(int height, const QColor& background) {
    const int width = height * 4;
    QPixmap pixmap = Canvas(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = height;
    // The roll.
    p.setPen(QPen(QColor(60, 60, 60), h * 0.03));
    p.setBrush(QColor(250, 246, 232));
    p.drawEllipse(QRectF(h * 0.08, h * 0.3, h * 0.6, h * 0.6));
    p.setBrush(QColor(200, 190, 160));
    p.drawEllipse(QRectF(h * 0.28, h * 0.5, h * 0.2, h * 0.2));
    // The quill.
    QPainterPath feather;
    feather.moveTo(h * 0.55, h * 0.75);
    feather.cubicTo(h * 0.7, h * 0.4, h * 0.9, h * 0.15, h * 1.1, h * 0.05);
    feather.cubicTo(h * 1.0, h * 0.3, h * 0.85, h * 0.55, h * 0.55, h * 0.75);
    QLinearGradient shade(h * 0.55, h * 0.75, h * 1.1, h * 0.05);
    shade.setColorAt(0, QColor(30, 60, 120));
    shade.setColorAt(1, QColor(90, 140, 210));
    p.setBrush(shade);
    p.setPen(QPen(QColor(20, 40, 80), h * 0.02));
    p.drawPath(feather);
    // The name.
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(static_cast<int>(h * 0.5));
    font.setBold(true);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(QColorOf(ReadableOn(Rgb{25, 45, 90}, RgbOf(background))));
    p.drawText(QRectF(h * 1.2, 0, width - h * 1.2, h), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Quillbox"));
    return pixmap;
}

// A desk calculator seen from above: body, display, keys, and the tape coming out at the top.
QPixmap CalculatorPicture(int height) {
    const int width = height * 3 / 4;
    QPixmap pixmap = Canvas(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = width, h = height;
    p.setPen(QPen(QColor(120, 120, 110), 1));
    p.setBrush(QColor(252, 250, 240));
    p.drawRect(QRectF(w * 0.3, 0, w * 0.4, h * 0.2));
    QLinearGradient body(0, h * 0.15, 0, h);
    body.setColorAt(0, QColor(215, 210, 195));
    body.setColorAt(1, QColor(170, 165, 150));
    p.setBrush(body);
    p.setPen(QPen(QColor(80, 80, 70), 1.5));
    p.drawRoundedRect(QRectF(w * 0.05, h * 0.15, w * 0.9, h * 0.82), w * 0.06, w * 0.06);
    p.setBrush(QColor(40, 60, 40));
    p.drawRect(QRectF(w * 0.15, h * 0.22, w * 0.7, h * 0.1));
    p.setPen(QColor(140, 230, 140));
    QFont digits(QStringLiteral("Monospace"));
    digits.setPixelSize(static_cast<int>(h * 0.07));
    p.setFont(digits);
    p.drawText(QRectF(w * 0.15, h * 0.22, w * 0.67, h * 0.1), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("15.00"));
    p.setPen(QPen(QColor(70, 70, 60), 1));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            p.setBrush(col == 3 ? QColor(200, 120, 60) : QColor(245, 243, 235));
            p.drawRoundedRect(QRectF(w * (0.14 + col * 0.19), h * (0.4 + row * 0.14), w * 0.15, h * 0.11), 2, 2);
        }
    return pixmap;
}

// A strip of paper tape with a few printed lines.
QPixmap TapePicture(int height) {
    const int width = height / 3;
    QPixmap pixmap = Canvas(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = width, h = height;
    QPainterPath strip;
    strip.moveTo(w * 0.1, 0);
    strip.lineTo(w * 0.9, 0);
    strip.lineTo(w * 0.9, h * 0.95);
    for (int i = 0; i < 6; ++i) strip.lineTo(w * (0.9 - (i + 0.5) * 0.8 / 6), h * (i % 2 ? 0.95 : 1.0));
    strip.lineTo(w * 0.1, h * 0.95);
    strip.closeSubpath();
    p.setPen(QPen(QColor(150, 140, 120), 1));
    p.setBrush(QColor(253, 250, 238));
    p.drawPath(strip);
    QFont font(QStringLiteral("Monospace"));
    font.setPixelSize(std::max(6, static_cast<int>(w * 0.12)));
    p.setFont(font);
    p.setPen(QColor(50, 50, 70));
    const char* lines[] = {"0 =", "12.50 +", "7.50 +", "5.00 -", "15.00 ="};
    for (int i = 0; i < 5; ++i)
        p.drawText(QRectF(w * 0.1, h * (0.08 + i * 0.15), w * 0.72, h * 0.12), Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromLatin1(lines[i]));
    return pixmap;
}

}  // namespace qb
