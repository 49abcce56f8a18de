#pragma once
// The small pictures on the picture buttons, drawn at run time so they stay sharp at any
// screen resolution.

#include <QColor>
#include <QIcon>
#include <QSize>

namespace qb {

enum class Picture {
    NewCaption, ClearCaption, Open, Save, Paste, ClearEntry, MemoryRecall, ClearMemory,
    // Drawn above a caption.
    ClearSubtotal, NewTape, Print, Copy, Close, OK, Cancel
};

// background: the key's colour, on which a picture of letters must read (none: as designed).
QIcon DrawPicture(Picture picture, QSize size, qreal devicePixelRatio, const QColor& background = {});

}  // namespace qb
