// The Quillbox: a printing calculator with a paper tape.

#include <QApplication>
#include <QDir>
#include <QTimer>

#include "Machine.h"
#include "platform/QtAudioPort.h"
#include "platform/QtClipboardPort.h"
#include "platform/QtClockPort.h"
#include "platform/QtDialogPort.h"
#include "platform/QtFilePort.h"
#include "platform/QtMessagePort.h"
#include "platform/QtSettingsPort.h"
#include "windows/MainWindow.h"
#include "windows/ProgramStyle.h"

int main(int argc, char* argv[]) {
    const bool styleRequested = qb::StyleRequested(argc, argv);
    QApplication app(argc, argv);
    if (!styleRequested) qb::UseProgramStyle();
    QApplication::setApplicationName(QStringLiteral("the Quillbox"));
    QApplication::setOrganizationName(QStringLiteral("the Quillbox"));

    qb::QtMessagePort messages;
    qb::QtAudioPort audio;
    qb::QtSettingsPort settings;
    qb::QtDialogPort dialogs(messages);
    qb::QtFilePort files;
    qb::QtClockPort clock;
    qb::QtClipboardPort clipboard;
    qb::Machine machine(qb::Ports{messages, &audio, &settings, &dialogs, &files, &clock, &clipboard});
    qb::MainWindow window(machine);
    dialogs.SetParent(&window);
    machine.SetStartDirectory(QDir::currentPath().toStdString());
    machine.Load();
    window.Render();
    window.show();
    QTimer::singleShot(0, &window, [&window] { window.FirstActivation(); });
    return app.exec();
}
