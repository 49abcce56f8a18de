#include "windows/TimedEventDialog.h"

#include <algorithm>

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "aids/Tooltips.h"
#include "platform/CodePage.h"
#include "platform/ErrorMessage.h"
#include "windows/Appearance.h"

namespace qb {
namespace {

QColor ColorOf(int index) {
    std::uint32_t rgb = TimedEventRules::ColorRgb(index);
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

QLineEdit* Box(QWidget* parent, const char* name, int maxLength, const std::string& text) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(maxLength);
    box->setText(FromCodePage(text));
    return box;
}

}  // namespace

TimedEventDialog::TimedEventDialog(const TimedEventForm& form, bool tooltipsOn, const TimedEventRules& rules,
                                   MessagePort& messages, QWidget* parent)
    : QDialog(parent), rules_(rules), messages_(messages), form_(form), tooltipsOn_(tooltipsOn) {
    setObjectName(QStringLiteral("TimedEvent"));
    setWindowTitle(QStringLiteral("Timed Event"));
    setModal(true);

    name_ = Box(this, "txtName", static_cast<int>(TimedEventRules::kNameLength), form.name);
    // Dates are kept as m/d/yyyy and shown as the user's locale writes them, in its own letters:
    // the date box's text crosses as UTF-8, not in the code page.
    date_ = Box(this, "txtDate", static_cast<int>(TimedEventRules::kDateLength), "");
    date_->setText(QString::fromStdString(rules.ShownDate(form.date)));
    event_ = Box(this, "txtEvent", static_cast<int>(TimedEventRules::kEventLength), form.description);
    name_->setAccessibleName(QStringLiteral("Name"));
    date_->setAccessibleName(QStringLiteral("Date"));
    event_->setAccessibleName(QStringLiteral("Event"));
    const int wide = name_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24;
    name_->setMinimumWidth(wide);
    event_->setMinimumWidth(wide);
    date_->setFixedWidth(wide / 4 + name_->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")) / 2);

    auto* fields = new QGridLayout;
    const char* labels[3] = {"Name", "Date", "Event"};
    QLineEdit* boxes[3] = {name_, date_, event_};
    const char* labelNames[3] = {"lblName", "lblDate", "lblEvent"};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(QString::fromLatin1(labels[i]), this);
        label->setObjectName(QString::fromLatin1(labelNames[i]));
        label->setBuddy(boxes[i]);
        fields->addWidget(label, i, 0);
        fields->addWidget(boxes[i], i, 1, Qt::AlignLeft);
        boxes[i]->installEventFilter(this);
    }

    auto* colorCaption = new QLabel(QStringLiteral("Color"), this);
    colorCaption->setObjectName(QStringLiteral("lblColorCaption"));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 2);
    // The swatches grow with the desktop's font, from 36 by 20 pixels at a small one.
    const int swatchHeight = std::max(20, fontMetrics().height() + 4);
    for (int i = 0; i < 8; ++i) {
        options_[i] = new QRadioButton(this);
        options_[i]->setObjectName(QStringLiteral("optColor%1").arg(i));
        options_[i]->setAccessibleName(QStringLiteral("Color %1").arg(i));
        options_[i]->installEventFilter(this);
        swatches_[i] = new QLabel(this);
        swatches_[i]->setObjectName(QStringLiteral("lblColor%1").arg(i));
        swatches_[i]->setFixedSize(swatchHeight * 9 / 5, swatchHeight);
        swatches_[i]->setAutoFillBackground(true);
        swatches_[i]->setFrameShape(QFrame::Box);
        QPalette palette = swatches_[i]->palette();
        palette.setColor(QPalette::Window, ColorOf(i));
        swatches_[i]->setPalette(palette);
        swatches_[i]->installEventFilter(this);
        // Two rows: 0, 2, 4, 6 above and 1, 3, 5, 7 below. Each option button hugs its own
        // swatch on the left, and the pairs stand well apart, however wide the columns grow.
        auto* pair = new QHBoxLayout;
        pair->setSpacing(2);
        pair->addWidget(options_[i]);
        pair->addWidget(swatches_[i]);
        pair->addStretch();
        grid->addLayout(pair, i % 2, i / 2);
        connect(options_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) ChooseColor(i);
        });
    }

    begin_ = new QPushButton(QStringLiteral("&Begin"), this);
    begin_->setObjectName(QStringLiteral("cmdBegin"));
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    begin_->setAutoDefault(false);
    cancel_->setAutoDefault(false);
    connect(begin_, &QPushButton::clicked, this, &TimedEventDialog::Begin);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(begin_);
    buttons->addWidget(cancel_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(colorCaption);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    int index = form.colorIndex < 1 || form.colorIndex > 7 ? 7 : form.colorIndex;
    options_[index]->setChecked(true);
    ChooseColor(index);
    ApplyTooltips();
    name_->setFocus();
}

int TimedEventDialog::SelectedColor() const {
    for (int i = 0; i < 8; ++i)
        if (options_[i]->isChecked()) return i;
    return 0;
}

// The boxes preview the colour as the main window's display boxes will show it, text and all.
void TimedEventDialog::ChooseColor(int index) {
    const ColourPair colours = DisplayColours(PaletteOf(QApplication::palette()), TimedEventRules::ColorRgb(index));
    for (QLineEdit* box : {name_, date_, event_}) SetColours(box, colours);
}

void TimedEventDialog::ApplyTooltips() {
    const TooltipTable& table = DialogTooltips("TimedEvent");
    auto tip = [&](const std::string& control) {
        return tooltipsOn_ ? QString::fromStdString(TooltipOf(table, control)) : QString();
    };
    name_->setToolTip(tip("txtName"));
    date_->setToolTip(tip("txtDate"));
    event_->setToolTip(tip("txtEvent"));
    for (int i = 0; i < 8; ++i) {
        options_[i]->setToolTip(tip("optColor(" + std::to_string(i) + ")"));
        swatches_[i]->setToolTip(tip("lblColor(" + std::to_string(i) + ")"));
    }
    begin_->setToolTip(tip("cmdBegin"));
    cancel_->setToolTip(tip("cmdCancel"));
}

void TimedEventDialog::Begin() {
    TimedEventForm typed;
    typed.name = ToCodePage(name_->text());
    typed.date = date_->text().toStdString();
    typed.description = ToCodePage(event_->text());
    typed.colorIndex = SelectedColor();
    if (auto problem = rules_.Check(typed)) {
        ShowErrorMessage(messages_, problem->message);
        QLineEdit* box = problem->field == EventField::Name ? name_ : problem->field == EventField::Date ? date_ : event_;
        box->setFocus();
        return;
    }
    date_->setText(QString::fromStdString(rules_.ShownDate(typed.date)));
    form_ = typed;
    begun_ = true;
    accept();
}

void TimedEventDialog::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::ControlModifier && (event->key() == Qt::Key_T || event->key() == Qt::Key_F5)) {
        tooltipsOn_ = !tooltipsOn_;
        ApplyTooltips();
        return;
    }
    if (event->key() == Qt::Key_F9) {
        Begin();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TimedEventDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // The window sees keys before its controls: F9 and the tooltip switch everywhere; the
        // switch's character never reaches a box.
        if (key->key() == Qt::Key_F9 ||
            (key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_T || key->key() == Qt::Key_F5))) {
            keyPressEvent(key);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            QWidget* next = nullptr;
            if (watched == name_) next = date_;
            else if (watched == date_) next = event_;
            else if (watched == event_) next = options_[SelectedColor()];
            else
                for (auto* option : options_)
                    if (watched == option) next = name_;
            if (next) {
                next->setFocus();
                return true;  // the Enter key itself is discarded
            }
        }
    }
    if (event->type() == QEvent::FocusIn)
        for (QLineEdit* box : {name_, date_, event_})
            if (watched == box) QTimer::singleShot(0, box, [box] { box->selectAll(); });
    if (event->type() == QEvent::FocusOut && watched == date_ && !date_->text().isEmpty()) {
        std::string text = date_->text().toStdString();
        if (rules_.ValidateDate(text)) date_->setText(QString::fromStdString(rules_.ShownDate(text)));
    }
    if (event->type() == QEvent::MouseButtonPress)
        for (int i = 0; i < 8; ++i)
            if (watched == swatches_[i]) {
                options_[i]->setChecked(true);
                options_[i]->setFocus();
            }
    return QDialog::eventFilter(watched, event);
}

}  // namespace qb
