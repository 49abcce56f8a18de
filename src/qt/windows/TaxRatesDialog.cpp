#include "windows/TaxRatesDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "aids/Tooltips.h"

namespace qb {

TaxRatesDialog::TaxRatesDialog(const QString& first, const QString& second, bool tooltipsOn, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmTaxRates"));
    setWindowTitle(QStringLiteral("Tax Rates"));
    setModal(true);
    auto makeRate = [this](const char* name, const char* accessible, const QString& text) {
        auto* edit = new QLineEdit(text, this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAccessibleName(QString::fromLatin1(accessible));
        edit->setAlignment(Qt::AlignRight);
        edit->setMaxLength(12);
        return edit;
    };
    first_ = makeRate("txtRate1", "First tax rate", first);
    second_ = makeRate("txtRate2", "Second tax rate", second);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* note = new QLabel(QStringLiteral("0 to 100 %, up to 4 decimals; leave a rate empty for none."), this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&First rate (Tax+, Tax-) %:"), first_);
    form->addRow(QStringLiteral("&Second rate (Shift) %:"), second_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addLayout(buttons);
    for (QWidget* control : {static_cast<QWidget*>(first_), static_cast<QWidget*>(second_), static_cast<QWidget*>(ok),
                             static_cast<QWidget*>(cancel)}) {
        const std::string text = TooltipOf(DialogTooltips("frmTaxRates"), control->objectName().toStdString());
        if (tooltipsOn) control->setToolTip(QString::fromStdString(text));
    }
    first_->setFocus();
    first_->selectAll();
}

QString TaxRatesDialog::First() const { return first_->text(); }
QString TaxRatesDialog::Second() const { return second_->text(); }

}  // namespace qb
