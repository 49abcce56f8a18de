#include "windows/ChooseCopyDialog.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "aids/Tooltips.h"
#include "windows/PictureButton.h"
#include "windows/Twips.h"

namespace qb {

ChooseCopyDialog::ChooseCopyDialog(bool selectedOffered, bool tooltipsOn, QWidget* parent)
    : QDialog(parent), tooltipsOn_(tooltipsOn) {
    setObjectName(QStringLiteral("ChooseCopy"));
    setWindowTitle(QStringLiteral("Copy"));
    setModal(true);
    setFixedSize(Twips::ToPixels(2745), Twips::ToPixels(2325));

    frame_ = new QGroupBox(this);
    frame_->setObjectName(QStringLiteral("frmChooseCopy"));
    frame_->setGeometry(Twips::Rect(90, 60, 2535, 1245));
    const char* captions[3] = {"Last value on the tape", "Selected value", "Entire tape"};
    const int widths[3] = {1995, 1845, 1245};
    // A larger font than the design's spaces the choices further apart, so none runs into the next.
    int pitch = Twips::ToPixels(300);
    for (int i = 0; i < 3; ++i) {
        options_[i] = new QRadioButton(QString::fromLatin1(captions[i]), frame_);
        options_[i]->setObjectName(QStringLiteral("optCopy%1").arg(i));
        pitch = std::max(pitch, options_[i]->sizeHint().height() + Twips::ToPixels(45));
    }
    int widest = 0, lowest = 0;
    for (int i = 0; i < 3; ++i) {
        const QRect place = Twips::Rect(270, 270, widths[i] + 400, 255).translated(0, pitch * i);
        options_[i]->setGeometry(place.x(), place.y(), std::max(place.width(), options_[i]->sizeHint().width()),
                                 std::max(place.height(), options_[i]->sizeHint().height()));
        widest = std::max(widest, options_[i]->geometry().right());
        lowest = std::max(lowest, options_[i]->geometry().bottom());
    }
    // A wider or taller font than the design's still shows every choice whole inside the frame.
    const int grow = std::max(0, widest + Twips::ToPixels(120) - frame_->width());
    const int growDown = std::max(0, lowest + Twips::ToPixels(120) - frame_->height());
    if (grow > 0 || growDown > 0) {
        frame_->resize(frame_->width() + grow, frame_->height() + growDown);
        setFixedSize(width() + grow, height() + growDown);
    }
    options_[0]->setChecked(true);
    options_[1]->setEnabled(selectedOffered);
    if (selectedOffered) options_[1]->setChecked(true);
    // The keyboard starts on the choice that is checked, so Space and the arrows work from there.
    options_[selectedOffered ? 1 : 0]->setFocus();

    ok_ = new PictureButton(Picture::OK, QStringLiteral("&OK"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setGeometry(Twips::Rect(120, 1440, 1215, 795).translated(0, growDown));
    ok_->setDefault(true);
    cancel_ = new PictureButton(Picture::Cancel, QStringLiteral("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    cancel_->setGeometry(Twips::Rect(1470, 1440, 1155, 795).translated(grow, growDown));
    connect(ok_, &QPushButton::clicked, this, [this] {
        const char codes[3] = {'L', 'S', 'W'};
        for (int i = 0; i < 3; ++i)
            if (options_[i]->isChecked()) {
                choice_ = codes[i];
                break;
            }
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    ApplyTooltips();
}

void ChooseCopyDialog::ApplyTooltips() {
    const TooltipTable& table = DialogTooltips("ChooseCopy");
    auto tip = [&](const char* control) {
        return tooltipsOn_ ? QString::fromStdString(TooltipOf(table, control)) : QString();
    };
    frame_->setToolTip(tip("frmChooseCopy"));
    for (int i = 0; i < 3; ++i) options_[i]->setToolTip(tip(("optCopy(" + std::to_string(i) + ")").c_str()));
    ok_->setToolTip(tip("cmdOK"));
    cancel_->setToolTip(tip("cmdCancel"));
}

void ChooseCopyDialog::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::ControlModifier && (event->key() == Qt::Key_T || event->key() == Qt::Key_F5)) {
        tooltipsOn_ = !tooltipsOn_;
        ApplyTooltips();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace qb
