#pragma once
// A label that shows a state: the next operation, the Clear Entry Box indicator, a decimal-
// places indicator. Screen readers hear its name and its value; an indicator that selects
// something on a click reads as a radio button that can be pressed.

#include <QLabel>

namespace qb {

class IndicatorLabel final : public QLabel {
    Q_OBJECT
public:
    explicit IndicatorLabel(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    // Clicking selects what the indicator stands for.
    void SetSelectable(bool selectable) { selectable_ = selectable; }
    bool Selectable() const { return selectable_; }
    void SetChecked(bool checked);
    bool Checked() const { return checked_; }
    // What a screen reader hears as the value; the caption when empty.
    void SetValueText(const QString& value);
    QString ValueText() const { return valueText_.isEmpty() ? text() : valueText_; }
    void Click() { emit Clicked(); }

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool selectable_ = false;
    bool checked_ = false;
    QString valueText_;
};

}  // namespace qb
