#include "windows/PictureButton.h"

#include <QResizeEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace qb {
namespace {

constexpr int kGap = 1;       // between the picture and the caption
constexpr int kLargest = 32;  // a picture never grows past this at the designed font, however tall the button
constexpr int kSmallest = 10;

}  // namespace

PictureButton::PictureButton(Picture picture, const QString& caption, QWidget* parent)
    : QPushButton(caption, parent), picture_(picture) {
    DrawPictureToFit();
}

// The picture takes what the caption leaves of the button's height.
void PictureButton::DrawPictureToFit() {
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect inside = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const int room = inside.height() - fontMetrics().height() - kGap;
    // A larger font (the desktop's, or the window's zoom) lets the picture grow with it.
    const int largest = std::max(kLargest, fontMetrics().height() * 2);
    const int side = std::clamp(std::min(room, inside.width()), kSmallest, largest);
    const QSize size(side, side);
    if (size == iconSize() && !icon().isNull()) return;
    setIconSize(size);
    setIcon(DrawPicture(picture_, size, devicePixelRatio()));
}

void PictureButton::resizeEvent(QResizeEvent* event) {
    QPushButton::resizeEvent(event);
    DrawPictureToFit();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    QRect inside = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown() || isChecked())
        inside.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                         style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    const int textHeight = fontMetrics().height();
    const int pictureHeight = iconSize().height();
    const int top = inside.top() + std::max(0, (inside.height() - pictureHeight - kGap - textHeight) / 2);
    icon().paint(&painter, QRect(inside.left(), top, inside.width(), pictureHeight), Qt::AlignCenter,
                 isEnabled() ? QIcon::Normal : QIcon::Disabled);

    int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine;
    flags |= style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this) ? Qt::TextShowMnemonic
                                                                              : Qt::TextHideMnemonic;
    const QRect captionRect(inside.left(), top + pictureHeight + kGap, inside.width(), textHeight);
    style()->drawItemText(&painter, captionRect, flags, palette(), isEnabled(), text(), QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace qb
