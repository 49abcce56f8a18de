// The Correct Line dialog, and the corrected and tax lines on the tape, offscreen: what the dialog
// takes and hands back, and what the tape view shows and says of those lines (the Tax Rates
// dialog is typed into end to end).

#include <gtest/gtest.h>

#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QtTest/QTest>

#include "aids/Tooltips.h"
#include "engine/Tape.h"
#include "engine/TaxLines.h"
#include "windows/CorrectLineDialog.h"
#include "windows/TapeListModel.h"
#include "windows/TapeView.h"

namespace qb {
namespace {

TEST(CorrectLineDialog, TakesANumberAsTheEntryBoxDoes) {
    CorrectLineDialog dialog(QStringLiteral("1250.00"), '*', false);
    auto* number = dialog.findChild<QLineEdit*>(QStringLiteral("txtNumber"));
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->selectedText(), QStringLiteral("1250.00"));
    EXPECT_EQ(dialog.Operation(), '*');
    number->clear();
    QTest::keyClicks(number, QStringLiteral("-12a.5.x3"));
    EXPECT_EQ(dialog.Number(), QStringLiteral("-12.53"));
    number->clear();
    QTest::keyClicks(number, QStringLiteral("123456789012345678"));
    EXPECT_EQ(dialog.Number().size(), 14);
    auto* operation = dialog.findChild<QComboBox*>(QStringLiteral("cmbOperation"));
    ASSERT_NE(operation, nullptr);
    EXPECT_EQ(operation->count(), 5);
    operation->setCurrentIndex(4);
    EXPECT_EQ(dialog.Operation(), '%');
    // Ctrl+T switches its tooltips and types no "t".
    EXPECT_TRUE(number->toolTip().isEmpty());
    QTest::keyClick(number, Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(dialog.TooltipsOn());
    EXPECT_EQ(number->toolTip().toStdString(), TooltipOf(DialogTooltips("frmCorrectLine"), "txtNumber"));
    EXPECT_EQ(dialog.Number().size(), 14);
    // Where the locale writes a decimal comma, a comma typed is the point.
    for (const bool comma : {false, true}) {
        CorrectLineDialog local(QString(), '+', false, nullptr, QStringLiteral("&Number:"), comma);
        QTest::keyClicks(local.findChild<QLineEdit*>(QStringLiteral("txtNumber")), QStringLiteral("12,5.3"));
        EXPECT_EQ(local.Number(), comma ? QStringLiteral("12.53") : QStringLiteral("125.3"));
    }
}

// Undo and corrections rewrite the end of a long tape: the view's rows and its scroll range
// follow in place.
TEST(TapeListModel, RowsFollowARewrittenEnd) {
    Tape tape;
    for (int i = 0; i < 40; ++i) tape.AppendTapeLine("5.00 +");
    TapeListModel model(tape);
    TapeView view;
    view.SetRowHeight(10);
    view.resize(200, 100);
    view.setModel(&model);
    view.show();
    int changed = 0, removed = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++changed; });
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved, [&] { ++removed; });
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 40 - view.verticalScrollBar()->pageStep());
    TapeSuffix other;
    other.lines.push_back(Tape::LayOut("6.00 +"));
    other.lines.push_back(Tape::LayOut("6.00 ="));
    tape.SwapSuffix(38, other);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(model.data(model.index(39), Qt::DisplayRole).toString().trimmed(), QStringLiteral("6.00 ="));
    TapeSuffix none;
    tape.SwapSuffix(5, none);
    EXPECT_EQ(removed, 1);
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
}

// A corrected line stands out and says what it was; a tax line names its rate, a net amount says so.
TEST(TapeListModel, MarkedLinesSayWhatTheyAre) {
    Tape tape;
    tape.AppendTapeLine("0 =");
    tape.AppendTapeLine("125.00 +");
    tape.MarkCorrected(1, Tape::LayOut("1,250.00 +"));
    tape.AppendTapeLine("100.00 N");
    tape.AppendLaidOut(TaxLine("19.00", 19, true));
    TapeListModel model(tape);
    EXPECT_FALSE(model.data(model.index(0), Qt::ForegroundRole).isValid());
    EXPECT_FALSE(model.data(model.index(0), Qt::ToolTipRole).isValid());
    EXPECT_EQ(model.data(model.index(1), Qt::ForegroundRole).value<QColor>(), QColor(0x00, 0x00, 0xC0));
    const std::pair<int, const char*> said[] = {
        {1, "Corrected; was 1,250.00 +"}, {2, "Net amount (before tax)"}, {3, "Tax at 19 %"}};
    for (const auto& [row, text] : said)
        for (const int role : {int(Qt::ToolTipRole), int(Qt::AccessibleDescriptionRole)})
            EXPECT_EQ(model.data(model.index(row), role).toString(), QString::fromUtf8(text)) << row << " " << role;
    EXPECT_FALSE(model.data(model.index(3), Qt::ForegroundRole).isValid());
}

}  // namespace
}  // namespace qb
