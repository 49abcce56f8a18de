#pragma once
// The small pictures on the picture buttons, drawn at run time so they stay sharp at any
// screen resolution.

#include <QIcon>
#include <QSize>

namespace qb {

enum class Picture {
    NewCaption, ClearCaption, Open, Save, Paste, ClearEntry, MemoryRecall, ClearMemory,
    // Drawn above a caption.
    ClearSubtotal, NewTape, Print, Copy, Close, OK, Cancel
};

QIcon DrawPicture(Picture picture, QSize size, qreal devicePixelRatio);

}  // namespace qb
