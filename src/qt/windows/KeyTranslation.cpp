#include "windows/KeyTranslation.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <string>

#include "platform/CodePage.h"
#include "window/KeyCodes.h"

namespace qb {
namespace {

// XKB keycodes of the main rows on a PC keyboard (evdev + 8), as on a US layout.
int CodeOfScanCode(quint32 scan) {
    static constexpr char kRows[][14] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    static constexpr quint32 kFirst[] = {10, 24, 38, 52};
    for (int row = 0; row < 4; ++row) {
        const quint32 length = static_cast<quint32>(std::char_traits<char>::length(kRows[row]));
        if (scan >= kFirst[row] && scan < kFirst[row] + length) return kRows[row][scan - kFirst[row]];
    }
    return 0;
}

int KeypadCode(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return vk::Numpad0 + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Asterisk: return vk::Multiply;
    case Qt::Key_Plus: return vk::Add;
    case Qt::Key_Minus: return vk::Subtract;
    case Qt::Key_Period:
    case Qt::Key_Comma: return vk::DecimalKey;
    case Qt::Key_Slash: return vk::Divide;
    default: return 0;
    }
}

// Without the physical key, the shifted digits of a US layout are all there is to go by. Other
// layouts put these characters elsewhere (an AZERTY "&" is its 1 key, its ")" no digit at all).
int UsShiftedDigitCode(int key) {
    switch (key) {
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    default: return 0;
    }
}

// Keys whose code does not depend on the layout, and the punctuation of a US layout.
int FixedCode(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return vk::F1 + (key - Qt::Key_F1);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return vk::A + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return vk::Key0 + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_PageUp: return vk::Prior;
    case Qt::Key_PageDown: return vk::Next;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Delete: return vk::Delete;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    // The punctuation keys, plain or shifted.
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return vk::OemPlus;
    case Qt::Key_Comma:
    case Qt::Key_Less: return vk::OemComma;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return vk::OemMinus;
    case Qt::Key_Period:
    case Qt::Key_Greater: return vk::OemPeriod;
    case Qt::Key_Slash:
    case Qt::Key_Question: return vk::Oem2;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 222;
    default: return 0;
    }
}

int CodeOf(const KeyInput& input) {
    if (input.modifiers & Qt::KeypadModifier) {
        if (int code = KeypadCode(input.key)) return code;
    }
    // The physical key decides for the digit row (Shift+8 is still the 8 key) and for letters
    // that the layout does not spell in Latin.
    int physical = CodeOfScanCode(input.scanCode);
    // With Ctrl a key that shows "-", "=" or "+" is that key wherever the layout puts it (the
    // AZERTY "-" is the 6 key), so Ctrl+- and Ctrl+= zoom on every layout.
    const bool zoomKey = input.key == Qt::Key_Minus || input.key == Qt::Key_Equal || input.key == Qt::Key_Plus;
    if (physical >= vk::Key0 && physical <= vk::Key9 && !(zoomKey && (input.modifiers & Qt::ControlModifier)))
        return physical;
    if (input.scanCode == 0 && (input.modifiers & Qt::ShiftModifier)) {
        if (int code = UsShiftedDigitCode(input.key)) return code;
    }
    if (int code = FixedCode(input.key)) return code;
    return physical;
}

char CharacterOf(const KeyInput& input, int code) {
    const bool ctrl = input.modifiers & Qt::ControlModifier;
    const bool alt = input.modifiers & Qt::AltModifier;
    switch (input.key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return ctrl ? 10 : 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Backspace: return ctrl ? 127 : 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return ctrl || alt ? 0 : 9;
    case Qt::Key_Delete: return 0;
    default: break;
    }
    // Alt alone types nothing: its keys belong to the menus.
    if (alt && !ctrl) return 0;
    if (ctrl && !alt) {
        if (code >= vk::A && code <= vk::Z) return static_cast<char>(code - vk::A + 1);
        if (input.text.size() == 1 && input.text[0].unicode() < 32) return static_cast<char>(input.text[0].unicode());
        return 0;
    }
    if (input.text.size() != 1) return 0;
    QChar c = input.text[0];
    if (c.unicode() == 127) return 0;
    return CodePageChar(c);
}

}  // namespace

TranslatedKey TranslateKey(const KeyInput& input) {
    TranslatedKey out;
    if (input.modifiers & Qt::ShiftModifier) out.shift |= vk::ShiftState;
    if (input.modifiers & Qt::ControlModifier) out.shift |= vk::CtrlState;
    if (input.modifiers & Qt::AltModifier) out.shift |= vk::AltState;
    out.keyCode = CodeOf(input);
    out.character = CharacterOf(input, out.keyCode);
    return out;
}

bool PlatformHasXkbScanCodes() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

KeyInput KeyInputOf(const QKeyEvent& event, bool xkbScanCodes) {
    KeyInput input;
    input.key = event.key();
    input.modifiers = event.modifiers();
    input.text = event.text();
    input.scanCode = xkbScanCodes ? event.nativeScanCode() : 0;
    return input;
}

}  // namespace qb
