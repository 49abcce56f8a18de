#pragma once
// The program's pictures, drawn at run time: the logo, a desk calculator and a paper tape.

#include <QPixmap>

namespace qb {

QPixmap LogoPicture(int height);
QPixmap CalculatorPicture(int height);
QPixmap TapePicture(int height);

}  // namespace qb
