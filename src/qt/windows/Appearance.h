#pragma once
// The desktop's palette and font as the windows meet them: colours painted in pairs, and the
// size the window is drawn at.

#include <QColor>
#include <QPalette>

#include "window/Colours.h"

class QWidget;

namespace qb {

Rgb RgbOf(const QColor& colour);
QColor QColorOf(Rgb colour);
Palette PaletteOf(const QPalette& palette);

// Paints a widget's background and its text together, for boxes, labels and lists alike. The
// window colour changes only for a widget that fills its background itself.
void SetColours(QWidget* widget, const ColourPair& colours);

// The desktop's general font in points. Without a desktop that names one, Qt falls back to its
// own "Sans Serif" 9 pt, which is no one's choice: that counts as the window's own 8 pt.
double DesktopPointSize();

}  // namespace qb
