#pragma once
// A button with a picture above its caption, as the Tape frame's buttons and the copy choice's
// OK and Cancel are drawn. The picture is drawn again at every size, so it stays sharp.

#include <QPushButton>

#include "windows/PictureIcons.h"

namespace qb {

class PictureButton final : public QPushButton {
    Q_OBJECT
public:
    PictureButton(Picture picture, const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void DrawPictureToFit();

    Picture picture_;
};

}  // namespace qb
