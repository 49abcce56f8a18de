#include "windows/AboutWindow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "windows/Pictures.h"

#ifndef QB_SUPPORT_ADDRESS
#define QB_SUPPORT_ADDRESS "support@quillbox.example"
#endif

namespace qb {

QString AboutWindow::TechnicalHelpLine() {
    return QStringLiteral("Technical assistance and feedback ... ") + QStringLiteral(QB_SUPPORT_ADDRESS);
}

AboutWindow::AboutWindow(QWidget* parent, double scale) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QString());
    setModal(true);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* logo = new QLabel(frame);
    logo->setObjectName(QStringLiteral("Picture1"));
    logo->setPixmap(LogoPicture(qRound(56 * scale), frame->palette().color(QPalette::Window)));
    auto* tape = new QLabel(this);
    tape->setObjectName(QStringLiteral("picATape"));
    tape->setPixmap(TapePicture(qRound(150 * scale)));
    auto* about = new QLabel(QStringLiteral("the Quillbox, a printing calculator with a paper tape.\n"
                                            "Keyed numbers print on the tape with the operation they underwent."),
                             frame);
    about->setWordWrap(true);
    auto* help = new QLabel(TechnicalHelpLine(), frame);
    help->setObjectName(QStringLiteral("Label4"));
    help->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* texts = new QVBoxLayout(frame);
    texts->addWidget(logo);
    texts->addWidget(about);
    texts->addSpacing(8);
    texts->addWidget(help);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);  // Enter; and Esc closes as well
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(tape);
    row->addWidget(frame, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(ok, 0, Qt::AlignRight);
    adjustSize();
}

}  // namespace qb
