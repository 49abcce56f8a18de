// The Quillbox: a printing calculator with a paper tape.

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>
#include <string>

#include "Machine.h"
#include "platform/DecimalSeparator.h"
#include "platform/ErrorMessage.h"
#include "platform/QtAudioPort.h"
#include "platform/QtClipboardPort.h"
#include "platform/QtClockPort.h"
#include "platform/QtDialogPort.h"
#include "platform/QtFilePort.h"
#include "platform/QtPdfPort.h"
#include "platform/QtProgressPort.h"
#include "platform/QtInstanceLock.h"
#include "platform/QtMessagePort.h"
#include "platform/PlatformChoice.h"
#include "platform/QtSettingsPort.h"
#include "windows/MainWindow.h"
#include "windows/ProgramStyle.h"
#include "windows/SplashWindow.h"

namespace qb {

// The start directory is where the program was started: the User Guide and the sound are looked
// for there first, then in the data folder installed beside the program (share/quillbox next to
// its bin/), wherever the package was installed, or in the program's own folder in a build.
Folders ProgramFolders() {
    Folders folders;
    folders.start = QDir::currentPath().toStdString();
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QDir installed(programFolder + QStringLiteral("/../share/quillbox"));
    // Not installed: the build lays the topics and the sound beside the program.
    folders.data = (installed.exists() ? installed.canonicalPath() : programFolder).toStdString();
    folders.documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    folders.home = QDir::homePath().toStdString();
    return folders;
}

// The user's state folder for the program: $XDG_STATE_HOME, else ~/.local/state (Qt 6.4 has no
// state location of its own), with the program's name.
std::string StateFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QStandardPaths::writableLocation(QStandardPaths::HomeLocation) + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/the Quillbox")).toStdString() + "/";
}

// The program a process runs, as the system names it; "" when it cannot tell.
QString ProgramOf(const QString& pid) {
    return QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
}

// Records are named after the copy that keeps them: its process and the moment it started.
RecoveryPlace RecoveryPlaceOf() {
    RecoveryPlace place;
    place.folder = StateFolder();
    place.ownName = QStringLiteral("%1-%2.QBR")
                        .arg(QCoreApplication::applicationPid())
                        .arg(QDateTime::currentMSecsSinceEpoch())
                        .toStdString();
    // Each copy holds its record's lock, which tells across login sessions and hosts. Beside it,
    // a record belongs to a running copy while the process it names runs this same program (a
    // process of that number after a restart is some other program; one of another user's is
    // none of this user's copies).
    place.ownedByRunningCopy = [](const std::string& name) {
        const long long pid = std::atoll(name.c_str());
        if (pid <= 0 || ::kill(static_cast<pid_t>(pid), 0) != 0) return false;
        const QString program = ProgramOf(QString::number(pid));
        return !program.isEmpty() && program == ProgramOf(QStringLiteral("self"));
    };
    return place;
}

// An exception that nothing caught ends the program, but never without a word on its output.
[[noreturn]] void SayWhyAndEnd() {
    const char* why = "an unknown error";
    std::string what;
    if (std::exception_ptr failure = std::current_exception()) {
        try {
            std::rethrow_exception(failure);
        } catch (const std::bad_alloc&) {
            why = "out of memory";
        } catch (const std::exception& e) {
            what = e.what();
            why = what.c_str();
        } catch (...) {
        }
    }
    std::fprintf(stderr, "the Quillbox: ended by %s\n", why);
    std::abort();
}

}  // namespace qb

int main(int argc, char* argv[]) {
    std::set_terminate(qb::SayWhyAndEnd);
    const bool styleRequested = qb::StyleRequested(argc, argv);
    qb::ChoosePlatform(argc, argv);
    QApplication app(argc, argv);
    if (!styleRequested) qb::UseProgramStyle();
    QApplication::setApplicationName(QStringLiteral("the Quillbox"));
    QApplication::setOrganizationName(QStringLiteral("the Quillbox"));

    qb::QtMessagePort messages;
    // One running copy per user.
    qb::QtInstanceLock lock;
    switch (lock.TryLock()) {
    case qb::QtInstanceLock::Outcome::Locked: break;
    case qb::QtInstanceLock::Outcome::AnotherCopyRuns:
        qb::ShowErrorMessage(messages, "A copy of the Quillbox is already running");
        return 1;
    case qb::QtInstanceLock::Outcome::NoLock:
        std::fprintf(stderr, "the Quillbox: no one-copy lock (%s); starting all the same\n",
                     lock.Reason().toLocal8Bit().constData());
        break;
    }

    qb::QtAudioPort audio;
    qb::QtSettingsPort settings;
    qb::QtDialogPort dialogs(messages);
    qb::QtFilePort files;
    qb::QtClockPort clock;
    qb::QtClipboardPort clipboard;
    qb::QtPdfPort pdf;
    qb::QtProgressPort progress;
    qb::Machine machine(qb::Ports{messages, &audio, &settings, &dialogs, &files, &clock, &clipboard, &pdf, &progress});
    machine.SetFolders(qb::ProgramFolders());
    machine.SetDecimalComma(qb::UsesDecimalComma());
    machine.SetRecoveryPlace(qb::RecoveryPlaceOf());

    std::unique_ptr<qb::MainWindow> window;
    qb::SplashWindow splash;
    QObject::connect(&splash.Intro(), &QTimer::timeout, &app, [&] {
        window = std::make_unique<qb::MainWindow>(machine, messages);
        dialogs.SetParent(window.get());
        progress.SetParent(window.get());
        messages.SetBeforeShow([&window] { window->RenderState(); });
        dialogs.SetBeforeShow([&window] { window->RenderState(); });
        machine.Load();
        window->Render();
        window->show();
        splash.Finish();
        QTimer::singleShot(0, window.get(), [&window] { window->FirstActivation(); });
    });
    splash.show();
    return app.exec();
}
