#include "platform/QtAudioPort.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace qb {

QtAudioPort::QtAudioPort() = default;
QtAudioPort::~QtAudioPort() = default;

bool QtAudioPort::Open(const std::string& path) {
    const QString file = QString::fromStdString(path);
    if (!QFileInfo::exists(file) || QMediaDevices::audioOutputs().isEmpty()) return false;
    effect_ = std::make_unique<QSoundEffect>();
    effect_->setSource(QUrl::fromLocalFile(file));
    // The sound is short: wait a moment for it to load, so the first request plays.
    QElapsedTimer waited;
    waited.start();
    while (effect_->status() == QSoundEffect::Loading && waited.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    if (effect_->status() != QSoundEffect::Ready) {
        effect_.reset();
        return false;
    }
    return true;
}

bool QtAudioPort::Playing() { return effect_ && effect_->isPlaying(); }

void QtAudioPort::Play() {
    if (effect_) effect_->play();
}

// A QSoundEffect starts from the beginning at every play.
void QtAudioPort::Rewind() {}

void QtAudioPort::Close() { effect_.reset(); }

}  // namespace qb
