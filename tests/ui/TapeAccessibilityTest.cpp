// The tape list as a screen reader sees it while the user walks the tape with the keyboard.

#include <gtest/gtest.h>

#include <QAccessible>
#include <algorithm>
#include <string>
#include <vector>

#include "ShownWindow.h"
#include "window/KeyCodes.h"
#include "windows/TapeView.h"

namespace qb {
namespace {

// Which lines a screen reader is told are selected, and which one has its focus (-1: none).
struct Heard {
    std::vector<int> selected;
    int focused = -1;
    bool operator==(const Heard&) const = default;
};

Heard Hear(QWidget* tape) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(tape);
    Heard heard;
    if (!list || !list->tableInterface()) {
        ADD_FAILURE() << "the tape offers no accessible table of its rows";
        return heard;
    }
    for (int row : list->tableInterface()->selectedRows()) heard.selected.push_back(row);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    // Qt 6.5 and later also offer a list's selection through a selection interface of its own;
    // 6.4 has none, and there a screen reader finds the selected rows through the table.
    EXPECT_NE(list->selectionInterface(), nullptr);
    if (list->selectionInterface())
        EXPECT_EQ(list->selectionInterface()->selectedItemCount(), static_cast<int>(heard.selected.size()));
#endif
    for (int i = 0; i < list->childCount(); ++i) {
        const QAccessible::State state = list->child(i)->state();
        EXPECT_EQ(state.selected, list->tableInterface()->isRowSelected(i)) << "line " << i;
        if (state.focused) {
            EXPECT_EQ(heard.focused, -1) << "two focused lines";
            heard.focused = i;
        }
    }
    return heard;
}

TEST(TapeAccessibility, TheFocusWalksWithTheSelection) {
    test::ShownWindow shown;
    shown.Type("1+2+3+");
    auto* tape = shown.Find<TapeView>("lstTape");
    struct Step {
        int key;  // a key code, or a character typed when below 0
        Heard heard;
    };
    const Step steps[] = {
        {vk::Up, {{2}, 2}},  // the line above the last
        {vk::Up, {{1}, 1}},
        {vk::Up, {{0}, 0}},
        {vk::Down, {{1}, 1}},
        {-'+', {{}, -1}},  // an operation ends the walk
        {vk::Up, {{2}, 2}},
    };
    for (const Step& step : steps) {
        shown.Key(std::max(step.key, 0), 0, static_cast<char>(std::max(-step.key, 0)));
        const Heard heard = Hear(tape);
        EXPECT_EQ(heard.selected, step.heard.selected) << "after key " << step.key;
        EXPECT_EQ(heard.focused, step.heard.focused) << "after key " << step.key;
    }
}

}  // namespace
}  // namespace qb
