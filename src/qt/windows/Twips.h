#pragma once
// Window designs are measured in twips, 1440 to the inch; the screen in pixels.

#include <QGuiApplication>
#include <QRect>
#include <QScreen>

namespace qb::Twips {

inline double Dpi() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}
inline int ToPixels(long twips) { return static_cast<int>(twips * Dpi() / 1440.0 + 0.5); }
inline long FromPixels(int pixels) { return static_cast<long>(pixels * 1440.0 / Dpi() + 0.5); }
inline QRect Rect(long left, long top, long width, long height) {
    return QRect(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

}  // namespace qb::Twips
