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
    int widest = 0;
    for (int i = 0; i < 3; ++i) {
        options_[i] = new QRadioButton(QString::fromLatin1(captions[i]), frame_);
        options_[i]->setObjectName(QStringLiteral("optCopy%1").arg(i));
        const QRect place = Twips::Rect(270, 270 + 300 * i, widths[i] + 400, 255);
        options_[i]->setGeometry(place.x(), place.y(), std::max(place.width(), options_[i]->sizeHint().width()),
                                 std::max(place.height(), options_[i]->sizeHint().height()));
        widest = std::max(widest, options_[i]->geometry().right());
    }
    // A wider font than the design's still shows every choice whole.
    const int grow = std::max(0, widest + Twips::ToPixels(120) - frame_->width());
    if (grow > 0) {
        frame_->resize(frame_->width() + grow, frame_->height());
        setFixedSize(width() + grow, height());
    }
    options_[0]->setChecked(true);
    options_[1]->setEnabled(selectedOffered);
    if (selectedOffered) options_[1]->setChecked(true);

    ok_ = new PictureButton(Picture::OK, QStringLiteral("&OK"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setGeometry(Twips::Rect(120, 1440, 1215, 795));
    ok_->setDefault(true);
    cancel_ = new PictureButton(Picture::Cancel, QStringLiteral("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    cancel_->setGeometry(Twips::Rect(1470, 1440, 1155, 795).translated(grow, 0));
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
