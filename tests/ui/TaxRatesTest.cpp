// The Tax Rates dialog and the tax lines on the tape, offscreen: what the dialog hands back, and
// what the tape view says of a tax line.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QtTest/QTest>

#include "aids/Tooltips.h"
#include "engine/Tape.h"
#include "engine/TaxLines.h"
#include "windows/TapeListModel.h"
#include "windows/TaxRatesDialog.h"

namespace qb {
namespace {

TEST(TaxRatesDialog, HandsBackWhatIsTypedForTheProgramToCheck) {
    TaxRatesDialog dialog(QStringLiteral("19"), QString(), true);
    auto* first = dialog.findChild<QLineEdit*>(QStringLiteral("txtRate1"));
    auto* second = dialog.findChild<QLineEdit*>(QStringLiteral("txtRate2"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->selectedText(), QStringLiteral("19"));  // typing replaces it
    QTest::keyClicks(first, QStringLiteral("16"));
    QTest::keyClicks(second, QStringLiteral("7,5 %"));
    EXPECT_EQ(dialog.First(), QStringLiteral("16"));
    EXPECT_EQ(dialog.Second(), QStringLiteral("7,5 %"));
    EXPECT_EQ(second->toolTip().toStdString(), TooltipOf(DialogTooltips("frmTaxRates"), "txtRate2"));
    TaxRatesDialog quiet(QString(), QString(), false);
    EXPECT_TRUE(quiet.findChild<QLineEdit*>(QStringLiteral("txtRate1"))->toolTip().isEmpty());
}

TEST(TapeListModel, ATaxLineNamesItsRate) {
    Tape tape;
    tape.AppendTapeLine("100.00 N");
    tape.AppendLaidOut(TaxLine("19.00", 19, true));
    tape.AppendTapeLine("119.00 G");
    tape.AppendTapeLine("119.00 G");
    tape.AppendLaidOut(TaxLine("19.00", 19, false));
    TapeListModel model(tape);
    EXPECT_EQ(model.data(model.index(1), Qt::ToolTipRole).toString(), QStringLiteral("Tax at 19 %"));
    EXPECT_EQ(model.data(model.index(4), Qt::AccessibleDescriptionRole).toString(), QStringLiteral("Tax at 19 %"));
    EXPECT_EQ(model.data(model.index(0), Qt::ToolTipRole).toString(), QStringLiteral("Net amount (before tax)"));
    EXPECT_FALSE(model.data(model.index(1), Qt::ForegroundRole).isValid());
}

}  // namespace
}  // namespace qb
