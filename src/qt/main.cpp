// The Quillbox: a printing calculator with a paper tape.

#include <QApplication>
#include <QDir>
#include <QTimer>

#include "Machine.h"
#include "platform/QtMessagePort.h"
#include "platform/QtSoundPort.h"
#include "windows/MainWindow.h"
#include "windows/ProgramStyle.h"

int main(int argc, char* argv[]) {
    const bool styleRequested = qb::StyleRequested(argc, argv);
    QApplication app(argc, argv);
    if (!styleRequested) qb::UseProgramStyle();
    QApplication::setApplicationName(QStringLiteral("the Quillbox"));
    QApplication::setOrganizationName(QStringLiteral("the Quillbox"));

    qb::QtMessagePort messages;
    qb::QtSoundPort sound;
    qb::Machine machine(qb::Ports{messages, sound});
    qb::MainWindow window(machine);
    machine.SetStartDirectory(QDir::currentPath().toStdString());
    machine.Load();
    window.Render();
    window.show();
    QTimer::singleShot(0, &window, [&window] { window.FirstActivation(); });
    return app.exec();
}
