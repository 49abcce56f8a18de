#pragma once
// The timed event's set-up window: name, date, event, eight colour swatches, Begin and Cancel.

#include <QDialog>

#include "timers/TimedEvent.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qb {

class MessagePort;

class TimedEventDialog final : public QDialog {
    Q_OBJECT
public:
    TimedEventDialog(const TimedEventForm& form, bool tooltipsOn, const TimedEventRules& rules,
                     MessagePort& messages, QWidget* parent = nullptr);

    bool Begun() const { return begun_; }
    const TimedEventForm& Form() const { return form_; }
    bool TooltipsOn() const { return tooltipsOn_; }
    int SelectedColor() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Begin();
    void ChooseColor(int index);
    void ApplyTooltips();

    const TimedEventRules& rules_;
    MessagePort& messages_;
    TimedEventForm form_;
    bool tooltipsOn_;
    bool begun_ = false;
    QLineEdit* name_;
    QLineEdit* date_;
    QLineEdit* event_;
    QRadioButton* options_[8];
    QLabel* swatches_[8];
    QPushButton* begin_;
    QPushButton* cancel_;
};

}  // namespace qb
