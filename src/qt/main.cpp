// The Quillbox: a printing calculator with a paper tape.

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <memory>

#include "Machine.h"
#include "platform/ErrorMessage.h"
#include "platform/QtAudioPort.h"
#include "platform/QtClipboardPort.h"
#include "platform/QtClockPort.h"
#include "platform/QtDialogPort.h"
#include "platform/QtFilePort.h"
#include "platform/QtInstanceLock.h"
#include "platform/QtMessagePort.h"
#include "platform/QtSettingsPort.h"
#include "windows/MainWindow.h"
#include "windows/ProgramStyle.h"
#include "windows/SplashWindow.h"

int main(int argc, char* argv[]) {
    const bool styleRequested = qb::StyleRequested(argc, argv);
    QApplication app(argc, argv);
    if (!styleRequested) qb::UseProgramStyle();
    QApplication::setApplicationName(QStringLiteral("the Quillbox"));
    QApplication::setOrganizationName(QStringLiteral("the Quillbox"));

    qb::QtMessagePort messages;
    // One running copy per user.
    qb::QtInstanceLock lock;
    if (!lock.TryLock()) {
        qb::ShowErrorMessage(messages, "A copy of the Quillbox is already running");
        return 1;
    }

    qb::QtAudioPort audio;
    qb::QtSettingsPort settings;
    qb::QtDialogPort dialogs(messages);
    qb::QtFilePort files;
    qb::QtClockPort clock;
    qb::QtClipboardPort clipboard;
    qb::Machine machine(qb::Ports{messages, &audio, &settings, &dialogs, &files, &clock, &clipboard});
    // The start directory is where the program was started: the User Guide and the sound lie there.
    machine.SetStartDirectory(QDir::currentPath().toStdString());

    std::unique_ptr<qb::MainWindow> window;
    qb::SplashWindow splash;
    QObject::connect(&splash.Intro(), &QTimer::timeout, &app, [&] {
        window = std::make_unique<qb::MainWindow>(machine, messages);
        dialogs.SetParent(window.get());
        messages.SetBeforeShow([&window] { window->RenderState(); });
        dialogs.SetBeforeShow([&window] { window->RenderState(); });
        machine.Load();
        window->Render();
        window->show();
        splash.close();
        QTimer::singleShot(0, window.get(), [&window] { window->FirstActivation(); });
    });
    splash.show();
    return app.exec();
}
