#include "windows/IndicatorLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>

namespace qb {
namespace {

class IndicatorAccessible final : public QAccessibleWidget {
public:
    explicit IndicatorAccessible(IndicatorLabel* label)
        : QAccessibleWidget(label, label->Selectable() ? QAccessible::RadioButton : QAccessible::StaticText) {}

    IndicatorLabel* Label() const { return static_cast<IndicatorLabel*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Label()->ValueText();
        QString out = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && out.isEmpty()) out = Label()->text();
        return out;
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        if (Label()->Selectable()) {
            s.checkable = true;
            s.checked = Label()->Checked();
        }
        return s;
    }

    QStringList actionNames() const override {
        return Label()->Selectable() ? QStringList{pressAction()} : QStringList{};
    }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction() && Label()->Selectable()) Label()->Click();
    }
};

QAccessibleInterface* IndicatorFactory(const QString& key, QObject* object) {
    if (key == QLatin1String(IndicatorLabel::staticMetaObject.className()))
        if (auto* label = qobject_cast<IndicatorLabel*>(object)) return new IndicatorAccessible(label);
    return nullptr;
}

}  // namespace

IndicatorLabel::IndicatorLabel(QWidget* parent) : QLabel(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(IndicatorFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setTextFormat(Qt::PlainText);
}

void IndicatorLabel::SetCaption(const QString& caption) {
    if (caption == text()) return;
    setText(caption);
    if (QAccessible::isActive() && valueText_.isEmpty()) {
        QAccessibleValueChangeEvent event(this, caption);
        QAccessible::updateAccessibility(&event);
    }
}

void IndicatorLabel::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void IndicatorLabel::SetValueText(const QString& value) {
    if (value == valueText_) return;
    valueText_ = value;
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, ValueText());
        QAccessible::updateAccessibility(&event);
    }
}

void IndicatorLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (selectable_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        emit Clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

}  // namespace qb
