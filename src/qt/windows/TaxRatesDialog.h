#pragma once
// The Tax Rates dialog: the first and the second tax rate in per cent, as typed. The program
// checks what is typed; Enter is OK, Esc is Cancel.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qb {

class TaxRatesDialog final : public QDialog {
    Q_OBJECT
public:
    TaxRatesDialog(const QString& first, const QString& second, bool tooltipsOn, QWidget* parent = nullptr);

    QString First() const;
    QString Second() const;

private:
    QLineEdit* first_;
    QLineEdit* second_;
};

}  // namespace qb
