#include "platform/PlatformChoice.h"

#include <QGuiApplication>
#include <cstring>

namespace qb {

QByteArray PlatformFor(const SessionDisplays& session) {
    if (session.platformChosen || !session.wayland || !session.x11) return {};
    // Native Wayland stays the fallback, should the X platform fail to load.
    return QByteArrayLiteral("xcb;wayland");
}

void ChoosePlatform(int argc, char* argv[]) {
    SessionDisplays session;
    session.platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            session.platformChosen = true;
    session.wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                      qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
    session.x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const QByteArray platform = PlatformFor(session);
    if (!platform.isEmpty()) qputenv("QT_QPA_PLATFORM", platform);
}

bool WindowsCanStayOnTop() { return !QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

QString NoTopmostMessage() {
    return QStringLiteral(
        "The collapsed window cannot stay on top of other windows here: Wayland does not let a "
        "program keep its window above the others. Where the desktop also runs X (XWayland), "
        "start the Quillbox without QT_QPA_PLATFORM set and it stays on top.");
}

}  // namespace qb
