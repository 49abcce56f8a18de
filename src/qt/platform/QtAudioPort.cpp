#include "platform/QtAudioPort.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <cstdio>

namespace qb {

QtAudioPort::QtAudioPort() = default;
QtAudioPort::~QtAudioPort() = default;

bool QtAudioPort::Open(const std::string& path) {
    const QString file = QString::fromStdString(path);
    // Said on the program's output, so a silent machine can be told from a missing file.
    if (!QFileInfo::exists(file)) {
        std::fprintf(stderr, "the Quillbox: no machine sound: %s not found\n", file.toLocal8Bit().constData());
        return false;
    }
    if (QMediaDevices::audioOutputs().isEmpty()) {
        std::fprintf(stderr, "the Quillbox: no sound device; %s is not played\n", file.toLocal8Bit().constData());
        return false;
    }
    effect_ = std::make_unique<QSoundEffect>();
    effect_->setSource(QUrl::fromLocalFile(file));
    // The end of a sound is passed on from the event loop, never from inside the effect, so the
    // queue may start the next sound at once.
    QObject::connect(effect_.get(), &QSoundEffect::playingChanged, effect_.get(), [this] {
        if (!effect_->isPlaying() && ended_) ended_();
    }, Qt::QueuedConnection);
    // The sound is short: wait a moment for it to load, so the first request plays.
    QElapsedTimer waited;
    waited.start();
    while (effect_->status() == QSoundEffect::Loading && waited.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    if (effect_->status() != QSoundEffect::Ready) {
        std::fprintf(stderr, "the Quillbox: %s cannot be played\n", file.toLocal8Bit().constData());
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

void QtAudioPort::SetEndedHandler(std::function<void()> handler) { ended_ = std::move(handler); }

}  // namespace qb
