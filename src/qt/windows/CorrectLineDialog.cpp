#include "windows/CorrectLineDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

#include "aids/Tooltips.h"
#include "engine/Calculator.h"

namespace qb {
namespace {

constexpr const char* kOperations = "+-*/%";

bool IsTooltipKey(const QKeyEvent* key) {
    return key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_T || key->key() == Qt::Key_F5);
}

}  // namespace

CorrectLineDialog::CorrectLineDialog(const QString& number, char operation, bool tooltipsOn, QWidget* parent,
                                     const QString& label, bool decimalComma)
    : QDialog(parent), tooltipsOn_(tooltipsOn) {
    setObjectName(QStringLiteral("frmCorrectLine"));
    setWindowTitle(QStringLiteral("Correct Line"));
    setModal(true);

    number_ = new QLineEdit(this);
    number_->setObjectName(QStringLiteral("txtNumber"));
    // The Entry box's rules: a sign, digits and one point (or comma, where that is the decimal
    // sign), within its capacity.
    const QString pattern = decimalComma ? QStringLiteral("-?[0-9]*[.,]?[0-9]*") : QStringLiteral("-?[0-9]*\\.?[0-9]*");
    number_->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), number_));
    // A file's line may show more digits than that: its number is offered whole, not cut.
    number_->setMaxLength(std::max(static_cast<int>(Calculator::kCapacity), static_cast<int>(number.size())));
    number_->setText(number);
    number_->setAlignment(Qt::AlignRight);
    number_->setAccessibleName(QStringLiteral("Number"));
    number_->installEventFilter(this);
    operation_ = new QComboBox(this);
    operation_->setObjectName(QStringLiteral("cmbOperation"));
    operation_->setAccessibleName(QStringLiteral("Operation"));
    for (const char* o = kOperations; *o; ++o) operation_->addItem(QString(QLatin1Char(*o)));
    const char* found = std::strchr(kOperations, operation);
    operation_->setCurrentIndex(found && operation ? static_cast<int>(found - kOperations) : 0);

    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(label, number_);
    form->addRow(QStringLiteral("O&peration:"), operation_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    ApplyTooltips();
    number_->setFocus();
    number_->selectAll();
}

QString CorrectLineDialog::Number() const {
    QString number = number_->text();
    return number.replace(QLatin1Char(','), QLatin1Char('.'));
}

char CorrectLineDialog::Operation() const {
    const int index = operation_->currentIndex();
    return index >= 0 && index < 5 ? kOperations[index] : '+';
}

void CorrectLineDialog::ApplyTooltips() {
    for (QWidget* control : {static_cast<QWidget*>(number_), static_cast<QWidget*>(operation_),
                             static_cast<QWidget*>(ok_), static_cast<QWidget*>(cancel_)}) {
        const std::string text = TooltipOf(DialogTooltips("frmCorrectLine"), control->objectName().toStdString());
        control->setToolTip(tooltipsOn_ ? QString::fromStdString(text) : QString());
    }
}

void CorrectLineDialog::keyPressEvent(QKeyEvent* event) {
    if (IsTooltipKey(event)) {
        tooltipsOn_ = !tooltipsOn_;
        ApplyTooltips();
        return;
    }
    QDialog::keyPressEvent(event);  // Esc rejects
}

bool CorrectLineDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == number_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsTooltipKey(key)) {
            keyPressEvent(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace qb
