#pragma once
// The local socket beside the one-copy lock. The copy that holds the lock listens on it; a
// second start sends its request there (bring the window to the front, perhaps open a file)
// and ends. Requests wait until the running copy can take them: its window is up, its start-up
// is over and no modal window is open.

#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "documents/HandOver.h"

class QLocalServer;
class QLocalSocket;
class QWidget;

namespace qb {

// Answers --help and --version, and with withProblems words the program does not take, on the
// standard output or error: the status to end with. Nothing when the program is to start.
std::optional<int> AnswerCommandLine(const CommandLine& line, bool withProblems);
// Raises the running copy's window above the others, restored when it was minimized.
void BringToFront(QWidget* window);

class QtHandOver final : public QObject {
    Q_OBJECT
public:
    struct Receiver {
        std::function<bool()> ready;                  // the running copy can take a request now
        std::function<void(const HandOver&)> deliver;  // takes one
    };
    explicit QtHandOver(Receiver receiver, QObject* parent = nullptr);
    ~QtHandOver() override;

    // Starts listening; only the copy that holds the lock calls it. False, with the reason on
    // the error output, when no socket can be made: the copy runs all the same.
    bool Listen();
    // A request of this copy's own (the file on its command line): waits like any other.
    void Take(HandOver request);
    // The second start's side: true when the running copy received the request.
    static bool Send(const HandOver& request);

private:
    void Accept();
    void Deliver();

    Receiver receiver_;
    QLocalServer* server_;
    std::deque<HandOver> waiting_;
    QTimer retry_;
};

}  // namespace qb
