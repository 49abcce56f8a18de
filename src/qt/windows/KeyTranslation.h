#pragma once
// Keys cross into the core once, here: a Qt key event becomes a Windows virtual-key code, a
// shift state (1 Shift, 2 Ctrl, 4 Alt) and the character the key types (0 when none).

#include <QString>
#include <Qt>

class QKeyEvent;

namespace qb {

struct KeyInput {
    int key = 0;  // Qt::Key
    Qt::KeyboardModifiers modifiers;
    QString text;
    // The physical key as an XKB keycode (X11 and Wayland), 0 when unknown. It tells which
    // digit or letter key was struck when Shift or the layout turned it into something else.
    quint32 scanCode = 0;
};

struct TranslatedKey {
    int keyCode = 0;
    int shift = 0;
    char character = 0;
    bool operator==(const TranslatedKey&) const = default;
};

TranslatedKey TranslateKey(const KeyInput& input);

// The platform's scan codes are XKB keycodes where the platform is X11 or Wayland.
bool PlatformHasXkbScanCodes();
KeyInput KeyInputOf(const QKeyEvent& event, bool xkbScanCodes);

}  // namespace qb
