#pragma once
// The caption prompt: one line of up to 75 characters. Enter is OK, Esc is Cancel, Ctrl+T and
// Ctrl+F5 switch the tooltips.

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace qb {

class TapeCaptionDialog final : public QDialog {
    Q_OBJECT
public:
    TapeCaptionDialog(const QString& initial, bool tooltipsOn, QWidget* parent = nullptr);

    // The text on OK; the starting text when the window was closed by other means.
    QString Text() const;
    bool Cancelled() const { return cancelled_; }
    bool TooltipsOn() const { return tooltipsOn_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyTooltips();

    QString initial_;
    bool tooltipsOn_;
    bool cancelled_ = false;
    bool closedOtherwise_ = false;
    QGroupBox* frame_;
    QLineEdit* text_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace qb
