#include "windows/MainWindow.h"

#include <QLabel>
#include <QTimer>

#include "aids/Tooltips.h"
#include "aids/WindowPlacement.h"
#include "windows/AboutWindow.h"
#include "windows/Appearance.h"
#include "windows/UserGuideWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMoveEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionGroupBox>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "platform/CodePage.h"
#include "window/KeyCodes.h"
#include "window/Zoom.h"
#include "windows/IndicatorLabel.h"
#include "platform/PlatformChoice.h"
#include "windows/KeyTranslation.h"
#include "windows/PictureButton.h"
#include "windows/TapeListModel.h"
#include "windows/TapeView.h"

namespace qb {
namespace {

constexpr int kClientWidth = 8355;
constexpr int kClientHeight = 5130;
// The collapsed window's entry line, above its tape.
constexpr int kAltDisplayWidth = 1785, kAltHeight = 225;
constexpr int kTwipsPerInch = 1440;

// Fonts grow with the window's scale: the desktop's font size and the user's zoom.
QFont SansSerifFont(double scale) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8 * scale);
    return font;
}

QFont CourierFont(double scale) {
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QStringLiteral("Courier")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(8.25 * scale);
    return font;
}

QFont FontOfOperator(OperatorFont font, double scale) {
    QFont out = font == OperatorFont::MSSansSerif ? SansSerifFont(scale) : CourierFont(scale);
    out.setPointSizeF(8.25 * scale);
    return out;
}

// A key is named by its caption, as a reader would say it.
QString NameOfCaption(const char* caption) { return QString::fromLatin1(caption).remove(QLatin1Char('&')).trimmed(); }

// True when the box shows a new text.
bool SetText(QLineEdit* box, const std::string& text) {
    const QString shown = FromCodePage(text);
    if (box->text() == shown) return false;
    box->setText(shown);
    return true;
}

// A number wider than its box (a long pasted or computed one) is drawn smaller, down to half the
// box's font, so that it shows whole; one wider still shows its start, sign and leading digits,
// never only its end.
void FitNumber(QLineEdit* box, const QFont& font) {
    const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
    const int room = box->width() - 2 * frame - 6;  // less the box's own margins around its text
    const double smallest = font.pointSizeF() / 2;
    QFont fitted = font;
    // Type does not narrow in proportion to its size: measured again at each step down.
    for (int need = QFontMetrics(fitted).horizontalAdvance(box->text()); need > room && room > 0;
         need = QFontMetrics(fitted).horizontalAdvance(box->text())) {
        if (fitted.pointSizeF() <= smallest) break;
        fitted.setPointSizeF(std::max(smallest, std::min(fitted.pointSizeF() * room / need, fitted.pointSizeF() - 0.25)));
    }
    if (box->font() != fitted) box->setFont(fitted);
    box->setCursorPosition(QFontMetrics(fitted).horizontalAdvance(box->text()) > room ? 0
                                                                                       : static_cast<int>(box->text().size()));
}

void SetText(IndicatorLabel* label, const std::string& text) { label->SetCaption(FromCodePage(text)); }

bool IsCaptionCursorKey(int key) {
    return key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_Left || key == Qt::Key_Right;
}

// Focus that only moves to a menu or another program is no change of control.
bool IsRealFocusChange(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

struct KeyPlace {
    const char* name;
    const char* caption;
    Command command;
    int left, top, width, height;
};

}  // namespace

MainWindow::MainWindow(Machine& machine, MessagePort& messages, QWidget* parent)
    : QMainWindow(parent), machine_(machine), messages_(messages) {
    setObjectName(QStringLiteral("frmCalc"));
    if (QScreen* s = screen()) dpi_ = s->logicalDotsPerInch();
    xkbScanCodes_ = PlatformHasXkbScanCodes();
    shownZoom_ = machine_.Window().ZoomPercent();
    scale_ = Zoom::Scale(DesktopPointSize(), shownZoom_);
    setFont(SansSerifFont(scale_));

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("clientArea"));
    client_->setFixedSize(LayoutPixels(kClientWidth), LayoutPixels(kClientHeight));
    setCentralWidget(client_);

    BuildFrames();
    BuildMenus();

    // The stopwatch ticks every 100 ms while a run goes on; the sound reports while it plays.
    tmrStopwatch_ = new QTimer(this);
    tmrStopwatch_->setObjectName(QStringLiteral("tmrStopwatch"));
    connect(tmrStopwatch_, &QTimer::timeout, this, [this] {
        machine_.StopwatchTick();
        Render();
    });
    tmrSound_ = new QTimer(this);
    tmrSound_->setObjectName(QStringLiteral("mmcAudio"));
    connect(tmrSound_, &QTimer::timeout, this, [this] {
        machine_.SoundStatusUpdate();
        Render();
    });
    // Unsaved changes written to the recovery record are synced within a second; idle, the timer
    // stands still.
    tmrRecovery_ = new QTimer(this);
    tmrRecovery_->setObjectName(QStringLiteral("tmrRecovery"));
    tmrRecovery_->setSingleShot(true);
    connect(tmrRecovery_, &QTimer::timeout, this, [this] {
        machine_.RecoveryTick();
        Render();
    });

    FitToClientArea();
    TellScreenAndSize();
    txtKeyStroke_->setFocus(Qt::OtherFocusReason);
    Render();
}

// The window is as large as its client area and menu bar, and the user cannot resize it.
void MainWindow::FitToClientArea() {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setFixedSize(sizeHint());
}

// The machine places the window in twips: it learns the screen and the expanded window's
// outer size, frame included once the window system has given it one.
void MainWindow::TellScreenAndSize() {
    if (QScreen* s = screen()) {
        machine_.SetScreen(Twips(s->geometry().width()), Twips(s->geometry().height()));
        const QRect work = s->availableGeometry();
        machine_.SetWorkArea(Twips(work.width()), Twips(work.height()), Twips(work.x()), Twips(work.y()));
    }
    const QSize outer = OuterSize();
    const bool collapsed = machine_.Window().Collapsed();
    if (!collapsed) machine_.SetExpandedSize(Twips(outer.width()), Twips(outer.height()), shownZoom_);
    const QSize drawn = collapsed ? outer : CollapsedClientSize() + Chrome();
    machine_.SetCollapsedSize(Twips(drawn.width()), Twips(drawn.height()));
}

// What the window draws around its client area: the menu bar, the margins, and the frame once
// the window system has given it one.
QSize MainWindow::Chrome() const { return OuterSize() - client_->size(); }

// The window's size with its frame, which a window not yet shown does not have.
QSize MainWindow::OuterSize() const { return isVisible() ? frameGeometry().size() : size(); }

// Collapsed, the client area is what the designed outer size, drawn at the window's scale,
// leaves inside the chrome, but never less than the entry line and the tape need.
QSize MainWindow::CollapsedClientSize() const {
    const QSize chrome = Chrome();
    const QRect content = TwipsRect(30, 0, kAltDisplayWidth + 30 + 375, kAltHeight) |
                          QRect(QPoint(0, LayoutPixels(kAltHeight + 130)), lstTape_->size());
    return {std::max(LayoutPixels(Layout::kCollapsedWidth) - chrome.width(), content.right() + 1),
            std::max(LayoutPixels(Layout::kCollapsedHeight) - chrome.height(), content.bottom() + 1)};
}

// The User Guide has no parent to take it along.
MainWindow::~MainWindow() { delete userGuide_.data(); }

int MainWindow::Pixels(long twips) const { return qRound(static_cast<double>(twips) * dpi_ / kTwipsPerInch); }

long MainWindow::Twips(int pixels) const { return std::lround(pixels * kTwipsPerInch / dpi_); }

int MainWindow::LayoutPixels(long twips) const {
    return qRound(static_cast<double>(twips) * dpi_ * scale_ / kTwipsPerInch);
}

QRect MainWindow::TwipsRect(int left, int top, int width, int height) const {
    const int x = LayoutPixels(left);
    const int y = LayoutPixels(top);
    return {x, y, LayoutPixels(left + width) - x, LayoutPixels(top + height) - y};
}

// A control placed by its design in twips, and placed again when the window's scale changes.
void MainWindow::Place(QWidget* widget, const QRect& twips) {
    placed_.push_back({widget, twips});
    widget->setGeometry(TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
}

QGroupBox* MainWindow::AddFrame(QWidget* parent, const char* name, const char* caption, const QRect& twips,
                                const QString& accessibleName) {
    auto* frame = new QGroupBox(QString::fromLatin1(caption), parent);
    frame->setObjectName(QString::fromLatin1(name));
    Place(frame, twips);
    frame->setAccessibleName(accessibleName);
    frame->setFocusPolicy(Qt::NoFocus);
    return frame;
}

QPushButton* MainWindow::AddButton(QWidget* parent, const char* name, const char* caption, Command command,
                                   const QRect& twips, std::optional<Picture> picture) {
    QPushButton* button = picture ? new PictureButton(*picture, QString::fromLatin1(caption), parent)
                                  : new QPushButton(QString::fromLatin1(caption), parent);
    // Keys reach the machine through its keyboard map alone, so the caption's mnemonic is no shortcut.
    button->setShortcut(QKeySequence());
    button->setObjectName(QString::fromLatin1(name));
    Place(button, twips);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setAccessibleName(NameOfCaption(caption));
    connect(button, &QPushButton::clicked, this, [this, command] { RunCommand(command); });
    buttons_.push_back({button, command});
    return button;
}

QPushButton* MainWindow::AddPictureButton(QWidget* parent, const char* name, Picture picture, Command command,
                                          const QRect& twips, const QString& accessibleName) {
    QPushButton* button = AddButton(parent, name, "", command, twips);
    button->setAccessibleName(accessibleName);
    pictureButtons_.push_back({button, picture});
    DrawPictureOn(button, picture);
    return button;
}

// The picture fills the button; letters take a shade that reads on the key.
void MainWindow::DrawPictureOn(QPushButton* button, Picture picture) {
    const QSize room = button->size() - QSize(10, 6);
    const QSize iconSize(std::max(8, room.width()), std::max(8, room.height()));
    button->setIconSize(iconSize);
    button->setIcon(DrawPicture(picture, iconSize, devicePixelRatio(), QApplication::palette().color(QPalette::Button)));
}

QLineEdit* MainWindow::AddTextBox(QWidget* parent, const char* name, const QRect& twips,
                                  const QString& accessibleName) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    Place(box, twips);
    box->setAccessibleName(accessibleName);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->setContextMenuPolicy(Qt::NoContextMenu);
    return box;
}

IndicatorLabel* MainWindow::AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& twips,
                                     const QString& accessibleName) {
    auto* label = new IndicatorLabel(parent);
    label->setText(text);
    label->setObjectName(QString::fromLatin1(name));
    Place(label, twips);
    label->setAccessibleName(accessibleName);
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

void MainWindow::BuildFrames() {
    using C = Command;
    const QFont courier = CourierFont(scale_);

    // The unseen keystroke box holds the keyboard focus; every key struck there goes to the machine.
    txtKeyStroke_ = AddTextBox(client_, "txtKeyStroke", {3870, 5970, 585, 315}, tr("Calculator keyboard"));
    txtKeyStroke_->setFocusPolicy(Qt::StrongFocus);
    txtKeyStroke_->installEventFilter(this);

    // Caption
    QGroupBox* frmCaption = AddFrame(client_, "frmCaption", " Caption ", {90, 30, 6645, 705}, tr("Caption"));
    AddPictureButton(frmCaption, "cmdNewCaption", Picture::NewCaption, C::NewCaption, {150, 270, 495, 285},
                     tr("New caption"));
    AddPictureButton(frmCaption, "cmdClearCaption", Picture::ClearCaption, C::ClearCaption, {750, 270, 495, 285},
                     tr("Clear caption"));
    txtCaption_ = AddTextBox(frmCaption, "txtCaption", {1410, 300, 5055, 225}, tr("Caption for printed/saved tape"));
    txtCaption_->setReadOnly(true);
    txtCaption_->setFocusPolicy(Qt::ClickFocus);
    txtCaption_->installEventFilter(this);

    // File
    QGroupBox* frmFile = AddFrame(client_, "frmFile", " File ", {6810, 30, 1455, 705}, tr("File"));
    AddPictureButton(frmFile, "cmdOpen", Picture::Open, C::Open, {150, 210, 525, 375}, tr("Open"));
    AddPictureButton(frmFile, "cmdSave", Picture::Save, C::Save, {780, 210, 525, 375}, tr("Save"));

    // Next operation: the Entry box and its two indicators. The Clear Entry Box indicator lies
    // under the Entry box and the operator, so only a strip of it shows between them.
    QGroupBox* frmOperation =
        AddFrame(client_, "frmOperation", " Next Operation ", {90, 780, 4335, 735}, tr("Next Operation"));
    AddPictureButton(frmOperation, "cmdPaste", Picture::Paste, C::Paste, {150, 270, 495, 285}, tr("Paste"));
    AddPictureButton(frmOperation, "cmdClearEntry", Picture::ClearEntry, C::ClearEntry, {750, 270, 495, 285},
                     tr("Clear entry"));
    lblClearEntryBox_ = AddLabel(frmOperation, "lblClearEntryBox", {}, {3660, 300, 195, 225}, tr("Clear Entry Box"));
    txtDisplay_ = AddTextBox(frmOperation, "txtDisplay", {1410, 300, 2265, 225}, tr("Entry box"));
    lblOperator_ = AddLabel(frmOperation, "lblOperator", {}, {3810, 300, 375, 225}, tr("Next operation to be performed"));

    // The tape, and the two shortcut-key panels that lie over it when asked for.
    tapeModel_ = new TapeListModel(machine_.GetTape(), this);
    lstTape_ = new TapeView(client_);
    lstTape_->setObjectName(QStringLiteral("lstTape"));
    lstTape_->setAccessibleName(tr("Continuous tape"));
    lstTape_->setFont(courier);
    lstTape_->setModel(tapeModel_);
    Place(lstTape_, {4500, 870, 2235, 3390});
    FitTapeRows();
    connect(lstTape_, &TapeView::RowClicked, this, [this](int row) {
        machine_.FocusEntered(Control::Tape);
        if (row >= 0) machine_.TapeClicked(row);
        Render();
    });
    connect(lstTape_, &TapeView::RowDoubleClicked, this, [this](int row) {
        machine_.TapeDoubleClicked(row);
        Render();
    });
    // Scrolling the tape by hand moves the tape's first visible line.
    QScrollBar* tapeBar = lstTape_->verticalScrollBar();
    connect(tapeBar, &QScrollBar::actionTriggered, this, [this, tapeBar](int) {
        if (!rendering_) machine_.TapeScrolled(tapeBar->sliderPosition());
    });

    frmShortcutKeys1_ = AddFrame(client_, "frmShortcutKeys1", "", {4500, 780, 2235, 3495}, tr("Shortcut keys"));
    frmShortcutKeys2_ = AddFrame(client_, "frmShortcutKeys2", "", {4500, 780, 2235, 3495}, tr("Shortcut keys"));
    frmShortcutKeys1_->hide();
    frmShortcutKeys2_->hide();
    BuildShortcutPanels();

    // Tape buttons
    QGroupBox* frmTape = AddFrame(client_, "frmTape", " Tape ", {6810, 780, 1455, 3525}, tr("Tape"));
    AddButton(frmTape, "cmdClear", "Clear Subtotal", C::ClearSubtotal, {150, 210, 1155, 555}, Picture::ClearSubtotal);
    AddButton(frmTape, "cmdNewTape", "New Tape", C::NewTape, {150, 810, 1155, 555}, Picture::NewTape);
    AddButton(frmTape, "cmdPrintTape", " Print", C::Print, {150, 1410, 1155, 555}, Picture::Print);
    AddButton(frmTape, "cmdCopy", "Copy", C::Copy, {150, 2010, 1155, 555}, Picture::Copy);
    AddButton(frmTape, "cmdExit", "&Close", C::Exit, {150, 2610, 1155, 795}, Picture::Close);

    // Number keys: 1 2 3 on top, 0 00 . at the bottom.
    QGroupBox* frmKeys = AddFrame(client_, "frmKeys", "", {90, 1560, 2235, 2745}, tr("Keys"));
    static constexpr int kColumns[] = {150, 810, 1500};
    static constexpr int kRows[] = {240, 870, 1500, 2130};
    static const char* const kDigitCaptions[] = {" 0", " 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", " 00"};
    for (int digit = 1; digit <= 9; ++digit) {
        const int column = (digit - 1) % 3;
        const int row = (digit - 1) / 3;
        const QByteArray name = "cmdKey" + QByteArray::number(digit);
        AddButton(frmKeys, name.constData(), kDigitCaptions[digit], DigitCommand(digit),
                  {kColumns[column], kRows[row], 555, 465});
    }
    AddButton(frmKeys, "cmdKey0", kDigitCaptions[0], C::Digit0, {kColumns[0], kRows[3], 555, 465});
    AddButton(frmKeys, "cmdKey10", kDigitCaptions[10], C::Digit00, {kColumns[1], kRows[3], 555, 465});
    AddButton(frmKeys, "cmdDecimal", ".", C::DecimalPoint, {kColumns[2], kRows[3], 555, 465});

    // Operation keys
    QGroupBox* frmOperations = AddFrame(client_, "frmOperations", "", {2430, 1560, 1995, 2745}, tr("Operations"));
    static constexpr KeyPlace kOperations[] = {
        {"cmdPlus", " +", C::Plus, 150, 240, 495, 825},
        {"cmdMinus", "-", C::Minus, 750, 240, 495, 825},
        {"cmdMultiply", "*", C::Multiply, 1350, 240, 495, 825},
        {"cmdEquals", " =", C::Equals, 150, 1170, 495, 1425},
        {"cmdDivide", " /", C::Divide, 750, 1170, 495, 915},
        {"cmdPlusMinus", "+/-", C::PlusMinus, 1350, 1170, 495, 405},
        {"cmdInverse", "1/x", C::Inverse, 1350, 1680, 495, 405},
        {"cmdSquareRoot", "SqR", C::SquareRoot, 1350, 2190, 495, 405},
        {"cmdPercent", " %", C::Percent, 750, 2190, 495, 405},
    };
    for (const KeyPlace& key : kOperations)
        AddButton(frmOperations, key.name, key.caption, key.command, {key.left, key.top, key.width, key.height});

    // Memory
    QGroupBox* frmMemory = AddFrame(client_, "frmMemory", " Memory ", {90, 4350, 5835, 675}, tr("Memory"));
    AddPictureButton(frmMemory, "cmdMemoryRecall", Picture::MemoryRecall, C::RecallMemory, {150, 240, 495, 285},
                     tr("Memory recall"));
    AddPictureButton(frmMemory, "cmdClearMemory", Picture::ClearMemory, C::ClearMemory, {750, 240, 495, 285},
                     tr("Clear memory"));
    txtMemory_ = AddTextBox(frmMemory, "txtMemory", {1410, 270, 2235, 225}, tr("Memory"));
    static constexpr KeyPlace kMemoryKeys[] = {
        {"cmdMemoryAdd", "M+", C::MemoryAdd, 3810, 240, 435, 285},
        {"cmdMemorySubtract", "M-", C::MemorySubtract, 4290, 240, 435, 285},
        {"cmdMemoryDivide", "M/", C::MemoryDivide, 4770, 240, 435, 285},
        {"cmdMemoryMultiply", "M*", C::MemoryMultiply, 5250, 240, 435, 285},
    };
    for (const KeyPlace& key : kMemoryKeys)
        AddButton(frmMemory, key.name, key.caption, key.command, {key.left, key.top, key.width, key.height});
    lblGrandTotal_ = AddLabel(frmMemory, "lblGrandTotal", {}, {2700, 0, 2985, 225}, tr("Grand total"));
    lblGrandTotal_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblGrandTotal_->hide();

    // Decimal places: F, 1 to 5; a click selects the mode.
    QGroupBox* frmDecimalPlaces =
        AddFrame(client_, "frmDecimalPlaces", " Decimal Places ", {6000, 4350, 2265, 675}, tr("Decimal Places"));
    for (int i = 0; i < 6; ++i) {
        const QString caption = i == 0 ? QStringLiteral("F") : QString::number(i);
        const QString name = i == 0   ? tr("Floating point")
                             : i == 1 ? tr("1 decimal place")
                                      : tr("%1 decimal places").arg(i);
        const QByteArray objectName = "lblDecimalPlaces" + QByteArray::number(i);
        IndicatorLabel* label =
            AddLabel(frmDecimalPlaces, objectName.constData(), caption, {150 + 330 * i, 270, 315, 255}, name);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Raised);
        label->SetSelectable(true);
        connect(label, &IndicatorLabel::Clicked, this, [this, i] { RunCommand(PlacesCommand(i)); });
        lblDecimalPlaces_[static_cast<std::size_t>(i)] = label;
    }

    expandedFrames_ = {frmCaption, frmFile, frmOperation, frmTape, frmKeys, frmOperations, frmMemory, frmDecimalPlaces};

    // The collapsed window's twins, hidden in the expanded layout.
    txtAltDisplay_ = AddTextBox(client_, "txtAltDisplay", {4500, 630, 1785, 225}, tr("Entry box"));
    lblAltClearEntryBox_ = AddLabel(client_, "lblAltClearEntryBox", {}, {6690, 630, 105, 225}, tr("Clear Entry Box"));
    lblAltOperator_ = AddLabel(client_, "lblAltOperator", {}, {6360, 630, 375, 225}, tr("Next operation to be performed"));
    txtAltDisplay_->hide();
    lblAltClearEntryBox_->hide();
    lblAltOperator_->hide();

    // The Entry box, the memory and the operator: display-only, white, in a typewriter face.
    for (QLineEdit* box : {txtDisplay_, txtAltDisplay_, txtMemory_}) {
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setFont(courier);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setTextMargins(0, 0, 0, 0);
        // Filled edge to edge, so a new entry repaints the box alone and not the frame behind.
        box->setAutoFillBackground(true);
        box->installEventFilter(this);
    }
    for (IndicatorLabel* label : {lblOperator_, lblAltOperator_}) {
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setFont(courier);
    }
    txtCaption_->setFont(SansSerifFont(scale_));
}

// Sixteen whole lines show, the list's height following its rows as a list box does.
void MainWindow::FitTapeRows() {
    const int frame = lstTape_->frameWidth() * 2;
    const int inside = lstTape_->height() - frame;
    const int rowHeight = std::max(QFontMetrics(lstTape_->font()).height(),
                                   qRound(inside / static_cast<double>(Tape::kVisibleLines)));
    lstTape_->SetRowHeight(rowHeight);
    lstTape_->resize(lstTape_->width(), rowHeight * static_cast<int>(Tape::kVisibleLines) + frame);
}

// The whole window drawn larger or smaller: every control placed again from its twips, every
// font and picture at the new size.
void MainWindow::RenderScale() {
    if (machine_.Window().ZoomPercent() == shownZoom_) return;
    shownZoom_ = machine_.Window().ZoomPercent();
    scale_ = Zoom::Scale(DesktopPointSize(), shownZoom_);
    setFont(SansSerifFont(scale_));
    for (const auto& [widget, twips] : placed_)
        widget->setGeometry(TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    const QFont courier = CourierFont(scale_);
    lstTape_->setFont(courier);
    FitNumbers();
    txtCaption_->setFont(SansSerifFont(scale_));
    for (QGroupBox* panel : {frmShortcutKeys1_, frmShortcutKeys2_})
        for (QLabel* label : panel->findChildren<QLabel*>()) label->setFont(SansSerifFont(scale_));
    shownOperatorFont_ = -1;
    shownGrandTotal_.clear();
    FitTapeRows();
    for (const auto& [button, picture] : pictureButtons_) DrawPictureOn(button, picture);
    // The layout of the mode showing and the window's size follow.
    shownCollapsed_ = -1;
    shownGeometry_ = {-1, -1, -1, -1};
    if (!machine_.Window().Collapsed()) {
        client_->setFixedSize(LayoutPixels(kClientWidth), LayoutPixels(kClientHeight));
        FitToClientArea();
        TellScreenAndSize();
    }
}

// The grand total stands right-aligned on the Memory frame's top edge. A long total widens it
// to the left as far as the frame's caption; a longer one still is shortened in the middle of its
// number, never in its words, and screen readers hear it whole.
void MainWindow::RenderGrandTotal() {
    lblGrandTotal_->setVisible(machine_.IsChecked(Command::GrandTotalOption));
    if (!lblGrandTotal_->isVisible()) return;
    const Calculator& calculator = machine_.GetCalculator();
    const QString number = FromCodePage(calculator.TapeNumber(calculator.State().GrandTotal));
    // Laid out again only for a new total, or a new zoom (which forgets the one shown).
    if (number == shownGrandTotal_) return;
    shownGrandTotal_ = number;
    const QString words = QStringLiteral(" Grand total ");
    const QRect designed = TwipsRect(2700, 0, 2985, 225);
    auto* frame = static_cast<QGroupBox*>(lblGrandTotal_->parentWidget());
    QStyleOptionGroupBox caption;
    caption.initFrom(frame);
    caption.text = frame->title();
    caption.textAlignment = frame->alignment();
    caption.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    caption.lineWidth = 1;
    const int captionRight =
        frame->style()->subControlRect(QStyle::CC_GroupBox, &caption, QStyle::SC_GroupBoxLabel, frame).right();
    const int room = std::max(designed.width(), designed.right() - captionRight - LayoutPixels(60));
    const QFontMetrics metrics(lblGrandTotal_->font());
    QString shown = words + number + QLatin1Char(' ');
    if (metrics.horizontalAdvance(shown) > room) {
        const int left = room - metrics.horizontalAdvance(words + QLatin1Char(' '));
        shown = words + metrics.elidedText(number, Qt::ElideMiddle, left) + QLatin1Char(' ');
    }
    lblGrandTotal_->SetCaption(shown);
    lblGrandTotal_->SetValueText(shown.contains(number) ? QString() : (words + number).trimmed());
    const int width = std::clamp(metrics.horizontalAdvance(shown) + 1, designed.width(), room);
    lblGrandTotal_->setGeometry(designed.right() + 1 - width, designed.top(), width, designed.height());
}

// Each panel lists fifteen keys, the last one after a small gap.
void MainWindow::BuildShortcutPanels() {
    static constexpr int kIndexes[2][15] = {{13, 7, 0, 1, 8, 9, 10, 11, 5, 12, 6, 2, 4, 29, 3},
                                            {14, 20, 27, 26, 19, 18, 17, 16, 22, 21, 15, 28, 23, 25, 24}};
    QGroupBox* panels[2] = {frmShortcutKeys1_, frmShortcutKeys2_};
    for (int p = 0; p < 2; ++p) {
        panels[p]->setAutoFillBackground(true);
        const std::vector<std::string>& labels = ShortcutPanelLabels(p + 1);
        for (int i = 0; i < 15; ++i) {
            auto* label = new QLabel(FromCodePage(labels[static_cast<std::size_t>(i)]), panels[p]);
            label->setObjectName(QStringLiteral("lblKey%1").arg(kIndexes[p][i]));
            const int top = i == 14 ? 3240 : 150 + 210 * i;
            Place(label, {90, top, 2055, 210});
            label->setFont(SansSerifFont(scale_));
        }
    }
}

void MainWindow::BuildMenus() {
    for (const Menu& menu : MainMenus()) {
        QMenu* qmenu = menuBar()->addMenu(FromCodePage(menu.caption));
        qmenu->setObjectName(QString::fromStdString(menu.name));
        menuTitles_.push_back({qmenu, &menu});
        const std::string name = menu.name;
        connect(qmenu, &QMenu::aboutToShow, this, [this, name] {
            machine_.MenuOpened(name);
            Render();
        });
        for (const MenuItem& item : menu.items) {
            if (item.IsSeparator()) {
                qmenu->addSeparator();
            } else if (item.IsSubmenu()) {
                QMenu* submenu = qmenu->addMenu(FromCodePage(item.caption));
                submenu->setObjectName(QString::fromStdString(item.name));
                submenu->menuAction()->setObjectName(QString::fromStdString(item.name));
                for (const MenuItem& subitem : item.submenu) AddMenuEntry(submenu, subitem);
            } else {
                AddMenuEntry(qmenu, item);
            }
        }
    }
    // The stopwatch's reading stands in the menu bar while there is one.
    mnuStopWatch_ = menuBar()->addAction(QString());
    mnuStopWatch_->setObjectName(QStringLiteral("mnuStopWatch"));
    mnuStopWatch_->setVisible(false);
}

void MainWindow::AddMenuEntry(QMenu* menu, const MenuItem& item) {
    // The shortcut is only shown: the keyboard map runs it, like every other key.
    QAction* action = menu->addAction(QString());
    action->setObjectName(QString::fromStdString(item.name));
    action->setCheckable(Machine::IsCheckable(item.command));
    const Command command = item.command;
    connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    menuEntries_.push_back({action, &item, {}});
}

void MainWindow::RenderTimers() {
    if (machine_.GetTimers().GetStopwatch().TimerOn() != tmrStopwatch_->isActive()) {
        if (machine_.GetTimers().GetStopwatch().TimerOn())
            tmrStopwatch_->start(100);
        else
            tmrStopwatch_->stop();
    }
    const int interval = machine_.GetDesk().Sounds().StatusInterval();
    if (interval > 0 && !tmrSound_->isActive())
        tmrSound_->start(interval);
    else if (interval == 0 && tmrSound_->isActive())
        tmrSound_->stop();
    // Started by the first change and left running by the next ones, so typing never holds the
    // flush back.
    if (machine_.RecoveryTimerOn() && !tmrRecovery_->isActive())
        tmrRecovery_->start(Machine::kRecoveryFlushMs);
    else if (!machine_.RecoveryTimerOn() && tmrRecovery_->isActive())
        tmrRecovery_->stop();
}

// Every control's tooltip, or none, as the one switch says.
void MainWindow::RenderTooltips() {
    const int on = machine_.IsChecked(Command::ShowTooltips);
    const int rounding = static_cast<int>(machine_.GetOptions().RoundingMode);
    if (on == shownTooltips_ && rounding == shownRounding_) return;
    shownTooltips_ = on;
    shownRounding_ = rounding;
    for (const auto& [control, text] : MainWindowTooltips()) {
        QString name = QString::fromStdString(control);
        name.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
        if (QWidget* widget = findChild<QWidget*>(name)) widget->setToolTip(on ? QString::fromStdString(text) : QString());
    }
    // The fixed places say which rounding they follow.
    for (std::size_t i = 0; i < lblDecimalPlaces_.size() && on; ++i)
        lblDecimalPlaces_[i]->setToolTip(QString::fromStdString(
            DecimalPlacesTooltip(static_cast<int>(i), machine_.GetOptions().RoundingMode)));
    // A menu item without a tooltip of its own would show its caption: the menus show tooltips
    // only while they are on.
    for (const auto& [item, text] : MenuItemTooltips()) {
        for (QAction* action : findChildren<QAction*>(QString::fromStdString(item))) {
            action->setToolTip(QString::fromStdString(text));
            if (auto* menu = qobject_cast<QMenu*>(action->parent())) menu->setToolTipsVisible(on);
        }
    }
}

// The display controls are white, or a running timed event's colour, with the text that reads
// on it; in a dark palette they follow the palette.
void MainWindow::RenderEventColour() {
    const std::uint32_t rgb = machine_.GetTimers().DisplayBackground();
    if (rgb == shownBackground_) return;
    shownBackground_ = rgb;
    const ColourPair colours = DisplayColours(PaletteOf(QApplication::palette()), rgb);
    for (QWidget* widget : std::initializer_list<QWidget*>{txtCaption_, txtDisplay_, txtAltDisplay_, lblOperator_,
                                                            lblAltOperator_, lstTape_, txtMemory_})
        SetColours(widget, colours);
    tapeModel_->SetCorrectedColour(QColorOf(ReadableOn(qb::RgbOf(kCorrectedLineColour), colours.background)));
    tapeModel_->SetDifferences([this](std::int64_t line) { return machine_.LineDifference(line); },
                               QColorOf(ShadeFor(PaletteOf(QApplication::palette()), qb::RgbOf(kDifferingLineColour))));
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if ((event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) && lstTape_)
        Render();
}

// A new desktop palette: every colour pair is drawn again.
void MainWindow::RenderPalette() {
    const Palette desktop = PaletteOf(QApplication::palette());
    if (shownPalette_ && *shownPalette_ == desktop) return;
    shownPalette_ = desktop;
    shownBackground_ = kNoColourShown;
    shownPlaces_.fill(-1);
    shownClearEntryBox_ = -1;
    for (const auto& [button, picture] : pictureButtons_) DrawPictureOn(button, picture);
}

// Modeless and one at a time: a second request shows the open window as it stands. It is a
// window of its own, so a click on the main window brings that one to the front.
void MainWindow::ShowUserGuide() {
    if (!userGuide_) {
        userGuide_ = new UserGuideWindow(machine_.GetDesk().Places().TopicFolders(), machine_.IsChecked(Command::ShowTooltips),
                                         messages_, [this] {
                                             const std::optional<bool> on = machine_.ToggleTooltipsInUserGuide();
                                             Render();
                                             return on;
                                         });
    }
    userGuide_->show();
    userGuide_->raise();
    userGuide_->activateWindow();
}

void MainWindow::ShowAbout() {
    machine_.BeginAbout();
    Render();
    AboutWindow about(this, scale_);
    const Point place = AboutWindowPlace(Twips(screen()->geometry().width()), Twips(screen()->geometry().height()),
                                         Twips(about.width()), Twips(about.height()));
    about.move(Pixels(place.left), Pixels(place.top));
    about.exec();
    machine_.EndAbout();
    Render();
}

void MainWindow::FirstActivation() {
    TellScreenAndSize();
    // A zoom too large for this screen is drawn smaller first, so that a collapsed window kept
    // off the screen is brought back at the size it will have.
    RenderScale();
    machine_.FirstActivation();
    Render();
    // Drawn collapsed, the window tells its size as drawn, which may bring it further in.
    TellScreenAndSize();
    RenderGeometry();
}

void MainWindow::RunCommand(Command command) {
    machine_.Run(command);
    Render();
}

bool MainWindow::SendKey(QKeyEvent* event) {
    const TranslatedKey key = TranslateKey(KeyInputOf(*event, xkbScanCodes_));
    if (key.keyCode == 0 && key.character == 0) return false;
    machine_.Key(key.keyCode, key.shift, key.character);
    Render();
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == txtKeyStroke_) {
            SendKey(static_cast<QKeyEvent*>(event));
            return true;
        }
        if (watched == txtCaption_) {
            auto* key = static_cast<QKeyEvent*>(event);
            SendKey(key);
            // The caption box moves its own cursor; every other key ends with the machine.
            return !(IsCaptionCursorKey(key->key()) && machine_.Window().CaptionFocus() && txtCaption_->hasFocus());
        }
        break;
    case QEvent::FocusIn:
        if (watched == txtCaption_ && IsRealFocusChange(event)) {
            machine_.FocusEntered(Control::Caption);
            Render();
            // The whole caption is selected, after the click that gave the focus has placed its cursor.
            QTimer::singleShot(0, txtCaption_, [this] {
                if (txtCaption_->hasFocus()) txtCaption_->selectAll();
            });
        }
        break;
    case QEvent::FocusOut:
        if (watched == txtCaption_ && IsRealFocusChange(event)) {
            machine_.FocusLeft(Control::Caption);
            Render();
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The display boxes never keep the focus: a click on one is reported and goes no further.
        if (watched == txtDisplay_ || watched == txtAltDisplay_ || watched == txtMemory_) {
            if (event->type() == QEvent::MouseButtonPress) {
                machine_.FocusEntered(watched == txtDisplay_      ? Control::Display
                                      : watched == txtAltDisplay_ ? Control::AltDisplay
                                                                  : Control::Memory);
                Render();
            }
            return true;
        }
        break;
    default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (!SendKey(event)) QMainWindow::keyPressEvent(event);
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (placing_ || !isVisible()) return;
    // A window standing where it was placed has not been moved: its frame may just have come,
    // and the machine then centres the outer window again.
    const QPoint corner = frameGeometry().topLeft();
    if (corner != QPoint(Pixels(shownGeometry_.left), Pixels(shownGeometry_.top)))
        machine_.WindowMoved(Twips(corner.x()), Twips(corner.y()));
    const Layout::Geometry before = machine_.Window().WindowGeometry();
    TellScreenAndSize();
    const Layout::Geometry& after = machine_.Window().WindowGeometry();
    if (after.left != before.left || after.top != before.top) RenderGeometry();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Close box, Close button and Exit alike: the machine may ask to save, or refuse.
    if (!machine_.QueryClose()) {
        event->ignore();
        Render();
        return;
    }
    closing_ = true;
    if (isMinimized()) showNormal();  // the position remembered is the real one
    const QPoint corner = frameGeometry().topLeft();
    machine_.Unload(Twips(corner.x()), Twips(corner.y()));
    if (userGuide_) userGuide_->close();
    event->accept();
}

void MainWindow::Render() {
    RenderState();
    if (machine_.TakeUserGuideRequest()) ShowUserGuide();
    if (machine_.TakeAboutRequest()) ShowAbout();
    if (machine_.TakeFocusRequest()) txtKeyStroke_->setFocus(Qt::OtherFocusReason);
    if (machine_.Window().CloseRequested() && !closing_) close();
}

void MainWindow::RenderState() {
    if (rendering_) return;
    rendering_ = true;
    bool numbersChanged = SetText(txtDisplay_, machine_.GetCalculator().DisplayText());
    numbersChanged |= SetText(txtAltDisplay_, machine_.GetCalculator().DisplayText());
    SetText(lblOperator_, machine_.GetCalculator().OperatorCaption());
    SetText(lblAltOperator_, machine_.GetCalculator().OperatorCaption());
    numbersChanged |= SetText(txtMemory_, machine_.Memory().Text());
    if (numbersChanged) FitNumbers();
    // A re-key check's counts changed: the lines that differ are drawn again.
    if (machine_.Rekey().TitleText() != shownRekey_) {
        shownRekey_ = machine_.Rekey().TitleText();
        if (machine_.GetTape().Count() > 0) tapeModel_->LinesChanged(0, machine_.GetTape().Count() - 1);
    }
    SetText(txtCaption_, machine_.Document().Caption());
    RenderScale();
    RenderGrandTotal();
    RenderPalette();
    if (const int font = static_cast<int>(machine_.GetCalculator().OperatorFontName()); font != shownOperatorFont_) {
        shownOperatorFont_ = font;
        lblOperator_->setFont(FontOfOperator(machine_.GetCalculator().OperatorFontName(), scale_));
        lblAltOperator_->setFont(FontOfOperator(machine_.GetCalculator().OperatorFontName(), scale_));
    }
    RenderIndicators();
    if (machine_.Title() != shownTitle_) {
        shownTitle_ = machine_.Title();
        setWindowTitle(QString::fromStdString(shownTitle_));  // it names a file: UTF-8
    }
    for (const CommandButton& entry : buttons_) entry.button->setEnabled(machine_.IsEnabled(entry.command));
    RenderMenus();
    RenderLayout();
    RenderGeometry();
    frmShortcutKeys1_->setVisible(machine_.Window().ShortcutPanelVisible(1));
    frmShortcutKeys2_->setVisible(machine_.Window().ShortcutPanelVisible(2));
    lstTape_->setVisible(machine_.Window().TapeVisible());
    RenderTape();
    RenderTooltips();
    RenderEventColour();
    RenderTimers();
    rendering_ = false;
}

void MainWindow::RenderIndicators() {
    const Palette desktop = PaletteOf(QApplication::palette());
    auto colourOf = [&](IndicatorColour colour) { return IndicatorColours(desktop, colour); };
    for (std::size_t i = 0; i < lblDecimalPlaces_.size(); ++i) {
        const IndicatorColour colour = machine_.GetDesk().DecimalIndicatorColour(static_cast<int>(i));
        if (static_cast<int>(colour) == shownPlaces_[i]) continue;
        shownPlaces_[i] = static_cast<int>(colour);
        SetColours(lblDecimalPlaces_[i], colourOf(colour));
        lblDecimalPlaces_[i]->SetChecked(colour != IndicatorColour::ButtonFace);
        lblDecimalPlaces_[i]->setAccessibleDescription(colour == IndicatorColour::Red ? tr("Auto Decimal on")
                                                                                      : QString());
    }
    const IndicatorColour clearEntry = machine_.GetDesk().ClearEntryBoxColour();
    if (static_cast<int>(clearEntry) != shownClearEntryBox_) {
        shownClearEntryBox_ = static_cast<int>(clearEntry);
        for (IndicatorLabel* label : {lblClearEntryBox_, lblAltClearEntryBox_}) {
            SetColours(label, colourOf(clearEntry));
            label->SetValueText(machine_.IsChecked(Command::ClearEntryBox) ? tr("On") : tr("Off"));
        }
    }
}

void MainWindow::RenderMenus() {
    mnuStopWatch_->setVisible(machine_.GetTimers().GetStopwatch().ItemVisible());
    if (mnuStopWatch_->isVisible()) mnuStopWatch_->setText(FromCodePage(machine_.GetTimers().GetStopwatch().ItemCaption()));
    for (const MenuTitle& title : menuTitles_) title.menu->menuAction()->setVisible(machine_.Window().MenuVisible(title.model->name));
    for (MenuEntry& entry : menuEntries_) {
        const Command command = entry.item->command;
        entry.action->setEnabled(machine_.MenuItemEnabled(command));
        if (entry.action->isCheckable()) entry.action->setChecked(machine_.IsChecked(command));
        std::string caption = machine_.MenuCaption(command, entry.item->caption);
        if (caption != entry.caption || entry.action->text().isEmpty()) {
            entry.caption = std::move(caption);
            QString text = FromCodePage(entry.caption);
            const std::string shortcut = ShortcutText(entry.item->shortcut);
            if (!shortcut.empty()) text += QLatin1Char('\t') + QString::fromStdString(shortcut);
            entry.action->setText(text);
        }
    }
}

// The two layouts. Collapsed, the window keeps the entry line with its two indicators above the
// tape; the shortcut-key panels follow the tape.
void MainWindow::RenderLayout() {
    const bool collapsed = machine_.Window().Collapsed();
    if (static_cast<int>(collapsed) == shownCollapsed_) return;
    shownCollapsed_ = collapsed;
    if (collapsed) {
        for (QWidget* frame : expandedFrames_) frame->hide();
        txtAltDisplay_->setGeometry(TwipsRect(30, 0, kAltDisplayWidth, kAltHeight));
        lblAltClearEntryBox_->setGeometry(TwipsRect(kAltDisplayWidth + 30, 0, 105, kAltHeight));
        lblAltOperator_->setGeometry(TwipsRect(30 + kAltDisplayWidth + 30, 0, 375, kAltHeight));
        lstTape_->move(0, LayoutPixels(kAltHeight + 130));
        frmShortcutKeys1_->move(0, LayoutPixels(kAltHeight + 50));
        frmShortcutKeys2_->move(0, LayoutPixels(kAltHeight + 50));
    } else {
        lstTape_->move(LayoutPixels(4500), LayoutPixels(870));
        frmShortcutKeys1_->move(LayoutPixels(4500), LayoutPixels(780));
        frmShortcutKeys2_->move(LayoutPixels(4500), LayoutPixels(780));
        for (QWidget* frame : expandedFrames_) frame->show();
    }
    for (QWidget* twin : std::initializer_list<QWidget*>{txtAltDisplay_, lblAltClearEntryBox_, lblAltOperator_})
        twin->setVisible(collapsed);
    FitNumbers();
}

void MainWindow::FitNumbers() {
    const QFont courier = CourierFont(scale_);
    for (QLineEdit* box : {txtDisplay_, txtAltDisplay_, txtMemory_}) FitNumber(box, courier);
}

// Where the machine wants the window, in twips of the outer window. Expanded, the client area
// keeps its designed size; collapsed, see CollapsedClientSize.
void MainWindow::RenderGeometry() {
    const Layout::Geometry& wanted = machine_.Window().WindowGeometry();
    const int topmost = machine_.Window().Collapsed();
    const bool changed = wanted.left != shownGeometry_.left || wanted.top != shownGeometry_.top ||
                         wanted.width != shownGeometry_.width || wanted.height != shownGeometry_.height;
    if (!changed && topmost == shownTopmost_) return;
    shownGeometry_ = wanted;
    placing_ = true;
    if (topmost != shownTopmost_) {
        shownTopmost_ = topmost;
        // Told to the window system in place: recreating the window would lose the keyboard.
        Qt::WindowFlags flags = windowFlags();
        flags.setFlag(Qt::WindowStaysOnTopHint, topmost != 0);
        overrideWindowFlags(flags);
        if (QWindow* window = windowHandle()) window->setFlags(flags);
        if (topmost && !WindowsCanStayOnTop() && !std::exchange(toldNoTopmost_, true))
            QTimer::singleShot(0, this, [this] {
                messages_.ShowMessage({"the Quillbox", NoTopmostMessage().toStdString()});
            });
    }
    if (wanted.width > 0 && wanted.height > 0) {
        QSize clientSize(LayoutPixels(kClientWidth), LayoutPixels(kClientHeight));
        if (machine_.Window().Collapsed())
            clientSize = CollapsedClientSize();
        if (client_->size() != clientSize) {
            client_->setFixedSize(clientSize);
            FitToClientArea();
        }
        move(Pixels(wanted.left), Pixels(wanted.top));
    }
    placing_ = false;
}

void MainWindow::RenderTape() {
    const Tape& tape = machine_.GetTape();
    lstTape_->SetTopRow(static_cast<int>(tape.TopIndex()));
    lstTape_->ShowSelection(static_cast<int>(tape.ListIndex()));
}

}  // namespace qb
