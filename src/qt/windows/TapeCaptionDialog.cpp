#include "windows/TapeCaptionDialog.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace qb {
namespace {

constexpr int kCaptionLength = 75;
const char* const kFrameTip = "Enter up to 75 characters for a tape caption";
const char* const kOkTip = "Click OK to do the print or save";
const char* const kCancelTip = "Click Cancel to abandon the print or save";

bool IsTooltipKey(const QKeyEvent* key) {
    return key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_T || key->key() == Qt::Key_F5);
}

}  // namespace

TapeCaptionDialog::TapeCaptionDialog(const QString& initial, bool tooltipsOn, QWidget* parent)
    : QDialog(parent), initial_(initial), tooltipsOn_(tooltipsOn) {
    setObjectName(QStringLiteral("frmTapeCaption"));
    setWindowTitle(QStringLiteral("the Quillbox"));
    setModal(true);

    frame_ = new QGroupBox(QStringLiteral("  Caption  "), this);
    frame_->setObjectName(QStringLiteral("frmTapeCaption"));
    text_ = new QLineEdit(frame_);
    text_->setObjectName(QStringLiteral("txtTapeCaption"));
    text_->setMaxLength(kCaptionLength);
    text_->setText(initial.left(kCaptionLength));
    text_->setMinimumWidth(text_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 40);
    text_->setAccessibleName(QStringLiteral("Caption"));
    text_->installEventFilter(this);
    auto* frameLayout = new QVBoxLayout(frame_);
    frameLayout->addWidget(text_);

    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        cancelled_ = true;
        reject();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame_);
    layout->addLayout(buttons);
    ApplyTooltips();
    text_->setFocus();
    text_->selectAll();
}

QString TapeCaptionDialog::Text() const { return closedOtherwise_ ? initial_ : text_->text(); }

void TapeCaptionDialog::ApplyTooltips() {
    frame_->setToolTip(tooltipsOn_ ? QString::fromLatin1(kFrameTip) : QString());
    text_->setToolTip(tooltipsOn_ ? QString::fromLatin1(kFrameTip) : QString());
    ok_->setToolTip(tooltipsOn_ ? QString::fromLatin1(kOkTip) : QString());
    cancel_->setToolTip(tooltipsOn_ ? QString::fromLatin1(kCancelTip) : QString());
}

void TapeCaptionDialog::keyPressEvent(QKeyEvent* event) {
    if (IsTooltipKey(event)) {
        tooltipsOn_ = !tooltipsOn_;
        ApplyTooltips();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        cancelled_ = true;
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TapeCaptionDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsTooltipKey(key)) {  // swallowed: no character reaches the box
            keyPressEvent(key);
            return true;
        }
    }
    if (watched == text_ && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, text_, [this] { text_->selectAll(); });
    return QDialog::eventFilter(watched, event);
}

void TapeCaptionDialog::closeEvent(QCloseEvent* event) {
    // Closed by the window's own close box: the caption stays as it was, as with OK.
    if (!cancelled_ && result() != QDialog::Accepted) {
        closedOtherwise_ = true;
        event->accept();
        done(QDialog::Accepted);
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace qb
