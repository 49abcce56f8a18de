#pragma once
// Which window system the program runs through, chosen before the application is made.

#include <QByteArray>
#include <QString>

namespace qb {

// What the platform choice looks at: the user's own choice (QT_QPA_PLATFORM or -platform) and
// the displays the session offers.
struct SessionDisplays {
    bool platformChosen = false;
    bool wayland = false;  // WAYLAND_DISPLAY, or a session of type "wayland"
    bool x11 = false;      // DISPLAY: an X server, XWayland on a Wayland session
};

// The platform to ask Qt for; empty to leave Qt its own choice. On Wayland with XWayland beside
// it the program runs through X, where the collapsed window can stay on top of the others.
QByteArray PlatformFor(const SessionDisplays& session);

// Reads the session and sets QT_QPA_PLATFORM when the program is to run through X.
void ChoosePlatform(int argc, char* argv[]);

// The window system lets the program keep a window above all others.
bool WindowsCanStayOnTop();
// Said once, at the first collapse, where they cannot.
QString NoTopmostMessage();

}  // namespace qb
