// The Quillbox: a printing calculator with a paper tape.

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QSessionManager>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "Machine.h"
#include "platform/ErrorMessage.h"
#include "platform/QtAudioPort.h"
#include "platform/QtClipboardPort.h"
#include "platform/QtClockPort.h"
#include "platform/QtDialogPort.h"
#include "platform/QtFilePort.h"
#include "platform/QtHandOver.h"
#include "platform/QtPdfPort.h"
#include "platform/QtProgressPort.h"
#include "platform/QtInstanceLock.h"
#include "platform/QtMessagePort.h"
#include "platform/PlatformChoice.h"
#include "platform/QtSettingsPort.h"
#include "platform/QtSignalWatcher.h"
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

// Records are named after the copy that keeps them: its process and the moment it started.
// Whether a record belongs to a running copy is told by its lock alone: a process number comes
// round again (in a container the program is process 1 every time).
RecoveryPlace RecoveryPlaceOf() {
    RecoveryPlace place;
    place.folder = StateFolder();
    place.ownName = QStringLiteral("%1-%2.QBR")
                        .arg(QCoreApplication::applicationPid())
                        .arg(QDateTime::currentMSecsSinceEpoch())
                        .toStdString();
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
    // --help and --version need no window system; Qt's own words (-style) are not known yet.
    if (const auto status = qb::AnswerCommandLine(qb::ReadCommandLine({argv + 1, argv + argc}), false)) return *status;
    const bool styleRequested = qb::StyleRequested(argc, argv);
    qb::ChoosePlatform(argc, argv);
    QApplication app(argc, argv);
    if (!styleRequested) qb::UseProgramStyle();
    QApplication::setApplicationName(QStringLiteral("the Quillbox"));
    QApplication::setOrganizationName(QStringLiteral("the Quillbox"));

    // A tape file named on the command line (Qt has taken its own words from argv).
    const qb::CommandLine line = qb::ReadCommandLine({argv + 1, argv + argc});
    if (const std::optional<int> status = qb::AnswerCommandLine(line, true)) return *status;
    qb::HandOver request;
    std::error_code noFolder;  // a folder since removed: the name is taken as it stands
    if (line.file) request.file = qb::WholePath(*line.file, std::filesystem::current_path(noFolder).string());

    qb::QtMessagePort messages;
    // One running copy per user.
    qb::QtInstanceLock lock;
    const qb::QtInstanceLock::Outcome locked = lock.TryLock();
    switch (locked) {
    case qb::QtInstanceLock::Outcome::Locked: break;
    case qb::QtInstanceLock::Outcome::AnotherCopyRuns:
        // A file goes to the running copy, which comes to the front with it. Without one, the
        // second start says why it ends, then brings the running copy to the front.
        if (request.file && qb::QtHandOver::Send(request)) return 0;
        // The running copy did not answer: the file stays where it is, unopened, and that is said.
        if (request.file)
            std::fprintf(stderr, "the Quillbox: the running copy did not take %s; open it there with File, Open\n",
                         qb::ShownName(*request.file).c_str());
        qb::ShowErrorMessage(messages, "A copy of the Quillbox is already running");
        qb::QtHandOver::Send(qb::HandOver{});
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
    machine.SetRecoveryPlace(qb::RecoveryPlaceOf());
    machine.SetLocaleDecimalSign(QLocale().decimalPoint().toStdString());

    std::unique_ptr<qb::MainWindow> window;
    qb::QtHandOver handOver({[&] { return window && !machine.GetDesk().StartingUp() && !QApplication::activeModalWidget(); },
                             [&](const qb::HandOver& handed) {
                                 qb::BringToFront(window.get());
                                 if (handed.file) machine.OpenFileCommand(*handed.file);
                                 window->Render();
                             }});
    if (locked == qb::QtInstanceLock::Outcome::Locked) handOver.Listen();
    if (request.file) handOver.Take(request);
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
    // Asked to end (SIGTERM, SIGHUP, SIGINT): the record kept and synced, the window closed
    // without a question. At the session's end the record is synced and kept.
    qb::QtSignalWatcher endSignals;
    QObject::connect(&endSignals, &qb::QtSignalWatcher::Caught, &app, [&](int) {
        machine.EndUnasked();
        if (window) window->close();
        QCoreApplication::exit(0);
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, [&](QSessionManager&) { machine.KeepForSessionEnd(); });
    QObject::connect(&app, &QGuiApplication::saveStateRequest, &app, [&](QSessionManager&) { machine.KeepForSessionEnd(); });
    splash.show();
    return app.exec();
}
