#include "windows/SplashWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "window/Zoom.h"
#include "windows/Appearance.h"
#include "windows/Pictures.h"

namespace qb {

SplashWindow::SplashWindow(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Splash"));
    setWindowTitle(QString());
    setAutoFillBackground(true);
    // Paper, with the text colour that reads on it whatever the desktop's palette.
    const Rgb paper{247, 244, 234};
    SetColours(this, {paper, TextColourOn(paper)});
    // As large as the desktop's font asks for.
    const double scale = Zoom::Scale(DesktopPointSize(), Zoom::kSmallest);
    auto sized = [scale](int pixels) { return qRound(pixels * scale); };

    auto picture = [this](const char* name, const QPixmap& pixmap) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setPixmap(pixmap);
        return label;
    };
    auto* row = new QHBoxLayout;
    row->addWidget(picture("picCalculator", CalculatorPicture(sized(180))));
    row->addSpacing(16);
    row->addWidget(picture("picATape", TapePicture(sized(180))));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 24);
    layout->addWidget(picture("picLogo", LogoPicture(sized(64), QColorOf(paper))), 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    layout->addLayout(row);
    auto* line = new QLabel(QStringLiteral("A printing calculator with a paper tape"), this);
    line->setAlignment(Qt::AlignHCenter);
    layout->addWidget(line);

    tmrIntro_.setSingleShot(true);
    tmrIntro_.setInterval(kIntroMilliseconds);
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void SplashWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!tmrIntro_.isActive() && !finished_) tmrIntro_.start();
}

void SplashWindow::reject() {
    if (finished_) QDialog::reject();
}

void SplashWindow::closeEvent(QCloseEvent* event) {
    if (finished_)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void SplashWindow::Finish() {
    finished_ = true;
    tmrIntro_.stop();
    close();
}

}  // namespace qb
