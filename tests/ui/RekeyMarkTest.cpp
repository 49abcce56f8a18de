// The shell's part of the accountant's commands: a re-key check's differing line stands out on
// the tape and says what the first keying has; the grand total shows with its option alone.

#include <gtest/gtest.h>

#include <QColor>
#include <QListView>

#include "ShownWindow.h"
#include "windows/IndicatorLabel.h"

namespace qb {
namespace {

TEST(RekeyMark, ADifferingLineStandsOutAndSaysHow) {
    test::ShownWindow shown(std::map<std::string, std::string>{{"Grand Total", "True"}});
    shown.Type("12+1205+3=");
    shown.fakes.messages.answers = {MessageAnswer::No};
    shown.machine.Run(Command::RekeyCheck);
    shown.window.Render();
    shown.Type("12+1250+");
    shown.window.Render();
    const QAbstractItemModel* model = shown.Find<QListView>("lstTape")->model();
    const QModelIndex same = model->index(1, 0), differs = model->index(2, 0);
    EXPECT_FALSE(model->data(same, Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model->data(same, Qt::AccessibleDescriptionRole).isValid());
    EXPECT_TRUE(model->data(differs, Qt::BackgroundRole).value<QColor>().isValid());
    for (const int role : {int(Qt::ToolTipRole), int(Qt::AccessibleDescriptionRole)})
        EXPECT_EQ(model->data(differs, role).toString().toStdString(), "Differs: the first keying has 1,205.00 +");
    EXPECT_NE(shown.window.windowTitle().toStdString().find("Check: 2 agree, 1 differs"), std::string::npos);
    // Ended: the mark goes.
    shown.machine.Run(Command::RekeyCheck);
    shown.window.Render();
    EXPECT_FALSE(model->data(differs, Qt::BackgroundRole).isValid());
    auto* grand = shown.Find<IndicatorLabel>("lblGrandTotal");
    EXPECT_TRUE(grand->isVisible());
    shown.machine.Run(Command::GrandTotalOption);
    shown.window.Render();
    EXPECT_FALSE(grand->isVisible());
}

}  // namespace
}  // namespace qb
