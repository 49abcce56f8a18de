#pragma once
// The program's pictures, drawn at run time: the logo, a desk calculator and a paper tape.

#include <QColor>
#include <QPixmap>

namespace qb {

// The name is written in its own dark blue where that reads on the background the logo stands
// on, else in the nearest shade of it that does.
QPixmap LogoPicture(int height, const QColor& background);
QPixmap CalculatorPicture(int height);
QPixmap TapePicture(int height);

}  // namespace qb
