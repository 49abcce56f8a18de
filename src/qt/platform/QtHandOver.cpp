#include "platform/QtHandOver.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace qb {
namespace {

constexpr int kWaitMs = 3000;  // for a running copy that is slow to answer
constexpr int kRetryMs = 200;  // while the running copy is busy

// Beside the lock: the user's runtime folder, private to the user; else the temporary folder,
// with the user's id in the name (and the socket open to the user alone).
QString SocketPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty()) return QDir(folder).filePath(QStringLiteral("the Quillbox.socket"));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("the Quillbox %1.socket").arg(getuid()));
}

}  // namespace

std::optional<int> AnswerCommandLine(const CommandLine& line, bool withProblems) {
    if (line.help) std::fputs(UsageText().c_str(), stdout);
    if (line.version) std::printf("quillbox %s\n", QB_VERSION);
    if (line.help || line.version) return 0;
    if (!withProblems || line.problem.empty()) return std::nullopt;
    std::fprintf(stderr, "quillbox: %s\n%s", line.problem.c_str(), UsageText().c_str());
    return 2;
}

void BringToFront(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->raise();
    window->activateWindow();
}

QtHandOver::QtHandOver(Receiver receiver, QObject* parent)
    : QObject(parent), receiver_(std::move(receiver)), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &QtHandOver::Accept);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, &QtHandOver::Deliver);
}

QtHandOver::~QtHandOver() = default;

bool QtHandOver::Listen() {
    const QString path = SocketPath();
    // Only the lock's holder gets here: a socket left by a copy that crashed is nobody's.
    QLocalServer::removeServer(path);
    if (server_->listen(path)) return true;
    std::fprintf(stderr, "the Quillbox: no socket for a second start (%s); it cannot hand over files\n",
                 server_->errorString().toLocal8Bit().constData());
    return false;
}

void QtHandOver::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        auto bytes = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, bytes] {
            bytes->append(socket->readAll());
            const qsizetype end = bytes->indexOf('\0');
            // A request longer than any of ours is no request: the sender is cut off.
            if (end < 0 && static_cast<std::size_t>(bytes->size()) <= kHandOverLimit) return;
            if (auto request = end < 0 ? std::nullopt : DecodeHandOver(std::string_view(bytes->constData(), end + 1))) {
                socket->write("OK", 2);
                socket->flush();
                Take(std::move(*request));
            }
            socket->disconnectFromServer();
        });
        // One that never finishes is not waited for.
        QTimer::singleShot(kWaitMs, socket, [socket] { socket->abort(); });
    }
}

void QtHandOver::Take(HandOver request) {
    waiting_.push_back(std::move(request));
    // Taken up once the event that brought it is over.
    QTimer::singleShot(0, this, &QtHandOver::Deliver);
}

void QtHandOver::Deliver() {
    while (!waiting_.empty()) {
        if (!receiver_.ready()) {
            retry_.start();
            return;
        }
        HandOver request = std::move(waiting_.front());
        waiting_.pop_front();
        receiver_.deliver(request);
    }
    retry_.stop();
}

bool QtHandOver::Send(const HandOver& request) {
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (!socket.waitForConnected(kWaitMs)) return false;
    const std::string bytes = EncodeHandOver(request);
    socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (!socket.waitForBytesWritten(kWaitMs)) return false;
    // The running copy answers once it has the whole request.
    QByteArray answer;
    while (answer.size() < 2 && socket.waitForReadyRead(kWaitMs)) answer += socket.readAll();
    return answer.startsWith("OK");
}

}  // namespace qb
