#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "fakes/TestMachine.h"
#include "platform/CodePage.h"
#include "windows/KeyTranslation.h"

namespace qb {
namespace {

constexpr auto None = Qt::NoModifier;
constexpr auto Shift = Qt::ShiftModifier;
constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Alt = Qt::AltModifier;
constexpr auto Pad = Qt::KeypadModifier;

struct KeyCase {
    const char* what;
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    quint32 scanCode;  // XKB keycode, 0 when the platform gives none
    TranslatedKey expected;
};

const QString kEuro = QString(QChar(0x20AC));
const QString kCyrillicEs = QString(QChar(0x0441));

const KeyCase kKeys[] = {
    // The digit row, with and without the physical key.
    {"0 without scan code", Qt::Key_0, None, "0", 0, {48, 0, '0'}},
    {"Shift+8 without scan code", Qt::Key_Asterisk, Shift, "*", 0, {56, 1, '*'}},
    {"Shift+5 without scan code", Qt::Key_Percent, Shift, "%", 0, {53, 1, '%'}},
    {"Ctrl and the AZERTY minus on the 6 key", Qt::Key_Minus, Ctrl, "", 15, {189, 2, 0}},
    {"Ctrl and the Czech plus on the 1 key", Qt::Key_Plus, Ctrl, "", 10, {187, 2, 0}},
    {"Ctrl and the AZERTY 1 key is still Ctrl+1", Qt::Key_Ampersand, Ctrl, "", 10, {49, 2, 0}},
    // The keypad.
    {"keypad 3", Qt::Key_3, Pad, "3", 89, {99, 0, '3'}},
    {"Ctrl+keypad 3 types nothing", Qt::Key_3, Ctrl | Pad, "3", 89, {99, 2, 0}},
    {"keypad minus", Qt::Key_Minus, Pad, "-", 82, {109, 0, '-'}},
    {"keypad point", Qt::Key_Period, Pad, ".", 91, {110, 0, '.'}},
    {"keypad comma", Qt::Key_Comma, Pad, ",", 91, {110, 0, ','}},
    {"keypad Enter", Qt::Key_Enter, Pad, "\r", 104, {13, 0, 13}},
    {"keypad 8 without Num Lock is Up", Qt::Key_Up, Pad, "", 80, {38, 0, 0}},
    {"keypad 5 without Num Lock is nothing", Qt::Key_Clear, Pad, "", 84, {0, 0, 0}},
    // The comma of the main rows, as on a US layout (the layouts below type no comma).
    {",", Qt::Key_Comma, None, ",", 59, {188, 0, ','}},
    // Letters: the layout's Latin letter, else the physical key.
    {"Shift+X", Qt::Key_X, Shift, "X", 53, {88, 1, 'X'}},
    {"A where a US layout has Q", Qt::Key_A, None, "a", 24, {65, 0, 'a'}},
    {"Cyrillic letter on the C key", 0x0421, None, kCyrillicEs, 54, {67, 0, 0}},
    {"euro sign on the E key", 0x20AC, None, kEuro, 26, {69, 0, '\x80'}},
    {"Ctrl+C without text", Qt::Key_C, Ctrl, "", 54, {67, 2, 3}},
    {"Alt+F types nothing", Qt::Key_F, Alt, "f", 41, {70, 4, 0}},
    // Keys that type no character, or a control character (the other keys of fixed codes go the
    // same way).
    {"Ctrl+Home", Qt::Key_Home, Ctrl, "", 110, {36, 2, 0}},
    {"Delete", Qt::Key_Delete, None, "\x7f", 119, {46, 0, 0}},
    {"Enter", Qt::Key_Return, None, "\r", 36, {13, 0, 13}},
    {"Backspace", Qt::Key_Backspace, None, "\b", 22, {8, 0, 8}},
    {"Shift+Tab", Qt::Key_Backtab, Shift, "", 23, {9, 1, 9}},
    {"Space", Qt::Key_Space, None, " ", 65, {32, 0, ' '}},
    {"F1", Qt::Key_F1, None, "", 67, {112, 0, 0}},
    {"Shift alone", Qt::Key_Shift, Shift, "", 50, {16, 1, 0}},
};

// A translated key as its printable fields: the key code, the shift state, the character's code.
std::tuple<int, int, int> Fields(const TranslatedKey& key) {
    return {key.keyCode, key.shift, static_cast<unsigned char>(key.character)};
}

TEST(KeyTranslation, GivesTheWindowsKeyShiftAndCharacter) {
    for (const KeyCase& c : kKeys)
        EXPECT_EQ(Fields(TranslateKey({c.key, c.modifiers, c.text, c.scanCode})), Fields(c.expected)) << c.what;
}

// What each layout types on the keys of the main rows, without and with Shift (as xkeyboard-config
// has them; "\0" marks a dead key), on these XKB keycodes.
constexpr quint32 kRowCodes[] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 34, 35, 47, 48, 51, 59, 60, 61};
constexpr int kRowKeys = sizeof kRowCodes / sizeof kRowCodes[0];

struct Layout {
    const char* name;
    const char16_t* plain;
    const char16_t* shifted;
};

const Layout kLayouts[] = {
    {"us", u"1234567890-=[];'\\,./", u"!@#$%^&*()_+{}:\"|<>?"},
    {"gb", u"1234567890-=[];'#,./", u"!\"\u00A3$%^&*()_+{}:@~<>?"},
    {"de", u"1234567890\u00DF\0\u00FC+\u00F6\u00E4#,.-", u"!\"\u00A7$%&/()=?\0\u00DC*\u00D6\u00C4';:_"},
    {"fr", u"&\u00E9\"'(-\u00E8_\u00E7\u00E0)=\0$m\u00F9*;:!", u"1234567890\u00B0+\0\u00A3M%\u00B5./\u00A7"},
    {"be", u"&\u00E9\"'(\u00A7\u00E8!\u00E7\u00E0)-\0$m\u00F9\u00B5;:=", u"1234567890\u00B0_\0*M%\u00A3./+"},
    {"ch", u"1234567890'\0\u00FC\0\u00F6\u00E4$,.-", u"+\"*\u00E7%&/()=?\0\u00E8!\u00E9\u00E0\u00A3;:_"},
    {"es", u"1234567890'\u00A1\0+\u00F1\0\u00E7,.-", u"!\"\u00B7$%&/()=?\u00BF\0*\u00D1\0\u00C7;:_"},
    {"it", u"1234567890'\u00EC\u00E8+\u00F2\u00E0\u00F9,.-", u"!\"\u00A3$%&/()=?^\u00E9*\u00E7\u00B0\u00A7;:_"},
    {"se", u"1234567890+\0\u00E5\0\u00F6\u00E4',.-", u"!\"#\u00A4%&/()=?\0\u00C5\0\u00D6\u00C4*;:_"},
    {"cz", u"+\u011B\u0161\u010D\u0159\u017E\u00FD\u00E1\u00ED\u00E9=\0\u00FA)\u016F\u00A7\0,.-", u"1234567890%\0/(\"!'?:_"},
    {"ru", u"1234567890-=\u0445\u044A\u0436\u044D\\\u0431\u044E.", u"!\"\u2116;%:?*()_+\u0425\u042A\u0416\u042D/\u0411\u042E,"},
    {"jp", u"1234567890-^@[;:],./", u"!\"#$%&'()~=~`{+*}<>?"},
};

// The key event of the layout's key at row index i: Qt names a key by its character's capital.
KeyInput LayoutKey(const Layout& layout, int i, bool shift) {
    const QChar c((shift ? layout.shifted : layout.plain)[i]);
    return {c.isNull() ? Qt::Key_unknown : static_cast<int>(c.toUpper().unicode()),
            shift ? Qt::ShiftModifier : Qt::NoModifier, c.isNull() ? QString() : QString(c), kRowCodes[i]};
}

// Types a text the way a user of the layout does: each character on the key that types it,
// without Shift where it can be.
void TypeOn(const Layout& layout, const char* text, Machine& machine) {
    for (const char* c = text; *c; ++c) {
        int found = -1;
        bool shift = false;
        for (int level = 0; level < 2 && found < 0; ++level) {
            const char16_t* row = level ? layout.shifted : layout.plain;
            for (int i = 0; i < kRowKeys && found < 0; ++i)
                if (row[i] == static_cast<char16_t>(*c)) found = i, shift = level == 1;
        }
        KeyInput input;
        if (found >= 0) {
            input = LayoutKey(layout, found, shift);
        } else {  // the keypad then, as on a Czech keyboard for "*"
            static const std::map<char, std::pair<int, quint32>> kKeypad = {
                {'*', {Qt::Key_Asterisk, 63}}, {'/', {Qt::Key_Slash, 106}}, {'-', {Qt::Key_Minus, 82}},
                {'+', {Qt::Key_Plus, 86}}};
            const auto key = kKeypad.find(*c);
            ASSERT_NE(key, kKeypad.end()) << layout.name << " has no key for " << *c;
            input = {key->second.first, Qt::KeypadModifier, QString(QChar(*c)), key->second.second};
        }
        const TranslatedKey key = TranslateKey(input);
        machine.Key(key.keyCode, key.shift, key.character);
    }
}

// On every layout the keys of the digit row are its digit keys, without and with Shift, whatever
// they type; and what a user of the layout types calculates.
TEST(KeyTranslation, EveryLayoutsDigitRowIsItsDigitsAndItCalculatesWhatItTypes) {
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(layout.name);
        for (int i = 0; i < 10; ++i)
            for (bool shift : {false, true}) {
                const KeyInput input = LayoutKey(layout, i, shift);
                EXPECT_EQ(Fields(TranslateKey(input)),
                          Fields({'0' + (i + 1) % 10, shift ? 1 : 0, CodePageChar(input.text[0])}))
                    << "key " << i << (shift ? " shifted" : "");
            }
        test::TestMachine t;
        TypeOn(layout, "12.5+7.5=", t.machine);
        TypeOn(layout, "6*3-8/2=", t.machine);
        EXPECT_EQ(t.Trimmed(), (std::vector<std::string>{"0 =", "12.50 +", "7.50 +", "20.00 =", "6.00 +",
                                                          "3.00 *", "8.00 -", "2.00 /", "35.00 ="}));
        EXPECT_TRUE(t.fakes.messages.Errors().empty());
    }
}

TEST(CodePage, CarriesWindows1252BothWays) {
    struct Case {
        std::string bytes;
        QString text;
    };
    const Case cases[] = {
        {"12.50 +", QStringLiteral("12.50 +")},
        {"\x80 \x93quoted\x94", QString(QChar(0x20AC)) + " " + QChar(0x201C) + "quoted" + QChar(0x201D)},
        {"caf\xe9", QStringLiteral("caf") + QChar(0xE9)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FromCodePage(c.bytes), c.text);
        EXPECT_EQ(ToCodePage(c.text), c.bytes);
    }
    EXPECT_EQ(ToCodePage(QString(QChar(0x0441))), "?");  // not in the code page
}

}  // namespace
}  // namespace qb
