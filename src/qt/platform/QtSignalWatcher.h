#pragma once
// The signals that ask the program to end (SIGTERM from a logout, a shutdown or a service
// manager, SIGHUP from a closed terminal, SIGINT from Ctrl+C) handled on the event loop: the
// handler only writes a byte to a pipe, and a socket notifier on its other end tells Caught.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace qb {

class QtSignalWatcher final : public QObject {
    Q_OBJECT
public:
    explicit QtSignalWatcher(QObject* parent = nullptr);
    ~QtSignalWatcher() override;
    // False when the signals could not be caught: they then end the program as they always do.
    bool Watching() const { return notifier_ != nullptr; }

signals:
    // Once for each signal received, with its number.
    void Caught(int signal);

private:
    void Drain();
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace qb
