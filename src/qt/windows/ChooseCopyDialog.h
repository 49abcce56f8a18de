#pragma once
// The copy choice: the last value on the tape, the selected value, or the entire tape.

#include <QDialog>
#include <optional>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace qb {

class ChooseCopyDialog final : public QDialog {
    Q_OBJECT
public:
    ChooseCopyDialog(bool selectedOffered, bool tooltipsOn, QWidget* parent = nullptr);

    // 'L', 'S' or 'W' after OK; nothing after Cancel or when the window was closed otherwise.
    std::optional<char> Choice() const { return choice_; }
    bool TooltipsOn() const { return tooltipsOn_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ApplyTooltips();

    bool tooltipsOn_;
    std::optional<char> choice_;
    QGroupBox* frame_;
    QRadioButton* options_[3];
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace qb
