#pragma once
// The main window on fake ports, loaded, shown and through its first activation as the program
// starts it, with the keys and clicks a user gives it and what it shows back.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest/QTest>
#include <map>
#include <string>
#include <vector>

#include "Machine.h"
#include "fakes/FakePorts.h"
#include "windows/MainWindow.h"

namespace qb::test {

struct Stroke {
    int key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QString text = {};
};

// A key of a US keyboard's main rows, or of the keypad, as the platform reports it.
inline Stroke KeyFor(char c, bool keypad) {
    const Qt::KeyboardModifiers pad = keypad ? Qt::KeypadModifier : Qt::NoModifier;
    const QString text{QLatin1Char(c)};
    if (c >= '0' && c <= '9') return {Qt::Key_0 + (c - '0'), pad, text};
    const Qt::KeyboardModifiers shifted = keypad ? pad : Qt::ShiftModifier;
    switch (c) {
    case '.': return {Qt::Key_Period, pad, text};
    case '+': return {Qt::Key_Plus, shifted, text};
    case '-': return {Qt::Key_Minus, pad, text};
    case '*': return {Qt::Key_Asterisk, shifted, text};
    case '=': return {Qt::Key_Equal, Qt::NoModifier, text};
    case '\r': return {int(keypad ? Qt::Key_Enter : Qt::Key_Return), pad, text};
    default: break;
    }
    ADD_FAILURE() << "no key for " << c;
    return {};
}

// A button shows its caption, with a picture of at least that height above it, both whole inside it.
inline void ExpectPictureAboveCaption(const QPushButton* button, const char* caption, int leastPicture) {
    SCOPED_TRACE(button->objectName().toStdString());
    EXPECT_EQ(button->text(), QString::fromLatin1(caption));
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_GE(button->iconSize().height(), leastPicture);
    EXPECT_LE(button->iconSize().height() + button->fontMetrics().height(), button->height());
    EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width());
}

// The desktop's general font at another size while it lives, as a desktop setting gives it.
struct DesktopFont {
    explicit DesktopFont(double points) {
        QFont font = saved;
        font.setPointSizeF(points);
        QApplication::setFont(font);
    }
    ~DesktopFont() { QApplication::setFont(saved); }
    DesktopFont(const DesktopFont&) = delete;
    DesktopFont& operator=(const DesktopFont&) = delete;
    const QFont saved = QApplication::font();
};

// A control of the window by its name; a test fails without it.
template <class T = QWidget>
T* Child(const QWidget& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found) ADD_FAILURE() << "no control " << name;
    return found;
}

struct ShownWindow {
    // stored: the settings found at start.
    explicit ShownWindow(std::map<std::string, std::string> stored = {}) {
        fakes.settings.values = std::move(stored);
        machine.Load();
        window.Render();
        window.show();
        QApplication::setActiveWindow(&window);
        window.FirstActivation();
    }

    template <class T = QWidget>
    T* Find(const char* name) const { return Child<T>(window, name); }

    void Strike(const Stroke& stroke) {
        QWidget* target = Find("txtKeyStroke");
        QKeyEvent press(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, stroke.key, stroke.modifiers, stroke.text);
        QApplication::sendEvent(target, &release);
    }

    // Keys of the main rows; "k" before a key strikes it on the keypad.
    void Type(const std::string& keys) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const bool keypad = keys[i] == 'k' && i + 1 < keys.size();
            Strike(KeyFor(keys[keypad ? ++i : i], keypad));
        }
    }

    // A key handed to the machine as the window hands it on, then shown.
    void Key(int code, int shift, char c = 0) {
        machine.Key(code, shift, c);
        window.Render();
    }

    void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }

    std::vector<std::string> Tape() const {
        const QAbstractItemModel* model = Find<QListView>("lstTape")->model();
        std::vector<std::string> lines;
        for (int row = 0; row < model->rowCount(); ++row)
            lines.push_back(model->data(model->index(row, 0)).toString().toStdString());
        return lines;
    }

    std::string Entry() const { return Find<QLineEdit>("txtDisplay")->text().toStdString(); }

    FakePorts fakes;
    Machine machine{fakes.ports()};
    MainWindow window{machine, fakes.messages};
};

}  // namespace qb::test
