// The File menu's Export submenu as the user and a screen reader meet it.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QMenu>

#include "ShownWindow.h"

namespace qb {
namespace {

QStringList AccessibleNames(QWidget* menu) {
    QStringList names;
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(menu);
    if (!face) return names;
    for (int i = 0; i < face->childCount(); ++i) names << face->child(i)->text(QAccessible::Name);
    return names;
}

TEST(ExportMenu, ScreenReadersHearTheSubmenuAndItsItems) {
    test::ShownWindow shown;
    const QStringList fileItems = AccessibleNames(shown.Find<QMenu>("mnuFIFile"));
    const auto saveAs = fileItems.indexOf(QStringLiteral("Save As..."));
    ASSERT_GE(saveAs, 0) << fileItems.join('|').toStdString();
    EXPECT_EQ(fileItems.value(saveAs + 1), QStringLiteral("Export"));
    EXPECT_EQ(AccessibleNames(shown.Find<QMenu>("mnuFIExport")), (QStringList{"PDF...", "CSV..."}));
}

// The tooltips follow the one switch, and no caption stands in for them while it is off.
TEST(ExportMenu, TooltipsFollowTheSwitch) {
    test::ShownWindow shown;
    auto* exportMenu = shown.Find<QMenu>("mnuFIExport");
    const bool on = shown.machine.IsChecked(Command::ShowTooltips);
    for (const bool shownNow : {on, !on}) {
        EXPECT_EQ(exportMenu->toolTipsVisible(), shownNow);
        for (const char* item : {"mnuFIExportPdf", "mnuFIExportCsv"}) {
            auto* action = shown.Find<QAction>(item);
            EXPECT_FALSE(action->toolTip().isEmpty()) << item;
            EXPECT_NE(action->toolTip(), action->text()) << item;
        }
        shown.machine.Run(Command::ShowTooltips);
        shown.window.Render();
    }
}

TEST(ExportMenu, EachItemRunsItsExport) {
    test::ShownWindow shown;
    shown.machine.Run(Command::PromptPrintCaption);  // off: the file dialog comes at once
    for (const char* name : {"mnuFIExportPdf", "mnuFIExportCsv"}) {
        auto* action = shown.window.findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }
    ASSERT_EQ(shown.fakes.dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(shown.fakes.dialogs.fileRequests[0].filter, "PDF files (*.pdf)|*.pdf");
    EXPECT_EQ(shown.fakes.dialogs.fileRequests[1].filter,
              "CSV (comma, point) (*.csv)|*.csv|CSV for this locale (*.csv)|*.csv");
}

}  // namespace
}  // namespace qb
