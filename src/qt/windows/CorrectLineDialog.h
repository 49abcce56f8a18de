#pragma once
// The Correct Line dialog: the number of a tape line, typed as into the Entry box, and its
// operation. Enter is OK, Esc is Cancel, Ctrl+T and Ctrl+F5 switch the tooltips.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace qb {

class CorrectLineDialog final : public QDialog {
    Q_OBJECT
public:
    // operation as the tape shows it: '+', '-', '*', '/' or '%'; label, the number's label, says
    // how what is typed is read. With decimalComma a comma typed is the point, as in the Entry
    // box where the locale writes one.
    CorrectLineDialog(const QString& number, char operation, bool tooltipsOn, QWidget* parent = nullptr,
                      const QString& label = QStringLiteral("&Number:"), bool decimalComma = false);

    // The number typed, with a point for its decimal sign.
    QString Number() const;
    char Operation() const;
    bool TooltipsOn() const { return tooltipsOn_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyTooltips();

    bool tooltipsOn_;
    QLineEdit* number_;
    QComboBox* operation_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace qb
