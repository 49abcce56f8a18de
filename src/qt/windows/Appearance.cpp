#include "windows/Appearance.h"

#include <QApplication>
#include <QFont>
#include <QWidget>

namespace qb {

Rgb RgbOf(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return {static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
            static_cast<std::uint8_t>(rgb.blue())};
}

QColor QColorOf(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

Palette PaletteOf(const QPalette& p) {
    return {RgbOf(p.color(QPalette::Base)),      RgbOf(p.color(QPalette::Text)),
            RgbOf(p.color(QPalette::Window)),    RgbOf(p.color(QPalette::WindowText)),
            RgbOf(p.color(QPalette::Button)),    RgbOf(p.color(QPalette::ButtonText)),
            RgbOf(p.color(QPalette::Highlight)), RgbOf(p.color(QPalette::HighlightedText))};
}

void SetColours(QWidget* widget, const ColourPair& colours) {
    QPalette palette = widget->palette();
    const QColor background = QColorOf(colours.background), text = QColorOf(colours.text);
    palette.setColor(QPalette::Base, background);
    // A box's frame is drawn in the window colour around it, unless the box fills its whole self.
    if (widget->autoFillBackground()) palette.setColor(QPalette::Window, background);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, text);
    widget->setPalette(palette);
}

double DesktopPointSize() {
    const QFont font = QApplication::font();
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    if (font.family() == QLatin1String("Sans Serif") && points == 9.0) return 8.0;
    return points;
}

}  // namespace qb
