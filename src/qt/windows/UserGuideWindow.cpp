#include "windows/UserGuideWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "aids/Tooltips.h"
#include "guide/RtfReader.h"
#include "platform/ErrorMessage.h"
#include "platform/MessagePort.h"
#include "windows/Appearance.h"
#include "windows/RichTextDocument.h"
#include "window/Zoom.h"

namespace qb {

UserGuideWindow::UserGuideWindow(std::vector<TopicFolder> topics, bool tooltipsOn, MessagePort& messages,
                                 TooltipToggle toggleTooltips)
    : QDialog(nullptr, Qt::Window),
      folders_(std::move(topics)),
      tooltipsOn_(tooltipsOn),
      messages_(messages),
      toggleTooltips_(std::move(toggleTooltips)) {
    setObjectName(QStringLiteral("UsersGuide"));
    setWindowTitle(QStringLiteral("User Guide"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    // The topics were written for the 8 pt desktop font: a larger one draws them larger.
    textScale_ = Zoom::Scale(DesktopPointSize(), Zoom::kSmallest);

    lblSelectTopic_ = new QLabel(QStringLiteral("Select Topic"), this);
    lblSelectTopic_->setObjectName(QStringLiteral("lblSelectTopic"));
    cmbTopics_ = new QComboBox(this);
    cmbTopics_->setObjectName(QStringLiteral("cmbTopics"));
    cmbTopics_->setAccessibleName(QStringLiteral("Select Topic"));
    cmbTopics_->setMinimumWidth(qRound(260 * textScale_));
    cmbTopics_->installEventFilter(this);
    cmbTopics_->view()->installEventFilter(this);  // the dropped-down list takes the keys then
    lblSelectTopic_->setBuddy(cmbTopics_);
    auto* hint = new QLabel(QStringLiteral("Also find a topic by pressing either the first letter or the up/down "
                                           "arrow keys while the Select Topic box is highlighted"),
                            this);
    hint->setObjectName(QStringLiteral("lblAlsoFind"));
    hint->setWordWrap(true);

    rtbText_ = new QTextBrowser(this);
    rtbText_->setObjectName(QStringLiteral("rtbText"));
    rtbText_->setAccessibleName(QStringLiteral("Topic"));
    // The viewer grows with its text, within the screen: half its height at most, so that the
    // topic list, the hint and the frame above and below it fit too.
    const QSize designed = QSize(520, 380) * textScale_;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize room = screen ? QSize(screen->availableGeometry().width() * 7 / 10, screen->availableGeometry().height() / 2) : designed;
    rtbText_->setMinimumSize(designed.boundedTo(room));
    rtbText_->document()->setDocumentMargin(14 * textScale_);

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    cmdFirst_ = button("cmdFirst", "&First");
    cmdNext_ = button("cmdNext", "&Next");
    cmdPrev_ = button("cmdPrev", "Pre&vious");
    cmdLast_ = button("cmdLast", "&Last");
    cmdClose_ = button("cmdClose", "&Close");
    connect(cmdFirst_, &QPushButton::clicked, this, [this] { Walk(TopicList::Button::First); });
    connect(cmdPrev_, &QPushButton::clicked, this, [this] { Walk(TopicList::Button::Previous); });
    connect(cmdNext_, &QPushButton::clicked, this, [this] { Walk(TopicList::Button::Next); });
    connect(cmdLast_, &QPushButton::clicked, this, [this] { Walk(TopicList::Button::Last); });
    connect(cmdClose_, &QPushButton::clicked, this, &QDialog::close);

    auto* top = new QHBoxLayout;
    top->addWidget(lblSelectTopic_);
    top->addWidget(cmbTopics_, 1);
    auto* column = new QVBoxLayout;
    for (QPushButton* b : {cmdFirst_, cmdNext_, cmdPrev_, cmdLast_}) column->addWidget(b);
    column->addStretch();
    column->addWidget(cmdClose_);
    auto* middle = new QHBoxLayout;
    middle->addWidget(rtbText_, 1);
    middle->addLayout(column);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(hint);
    layout->addLayout(middle, 1);

    // The user's choice counts even when it is the topic already selected.
    connect(cmbTopics_, &QComboBox::activated, this, &UserGuideWindow::SelectionChanged);
    BuildList();
    // Centred on the screen when it opens, at the size it will show with.
    ensurePolished();
    adjustSize();
    CentreOnScreen();
}

// The window system frames the window only once it is shown, on showing or a little later, and
// before the user can have moved it by its title bar: it is centred again then, on its outer size.
void UserGuideWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnceFramed();
}

void UserGuideWindow::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (isVisible()) CentreOnceFramed();
}

void UserGuideWindow::CentreOnceFramed() {
    if (framed_ || frameGeometry().size() == size()) return;
    framed_ = true;
    CentreOnScreen();
}

void UserGuideWindow::CentreOnScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

void UserGuideWindow::BuildList() {
    loading_ = true;
    topics_.Build(folders_);
    cmbTopics_->clear();
    for (const std::string& entry : topics_.Entries()) cmbTopics_->addItem(QString::fromStdString(entry));
    cmbTopics_->setEnabled(topics_.HasTopics());
    cmbTopics_->setCurrentIndex(topics_.Selected());
    if (topics_.HasTopics()) DisplayTheTopic();
    RenderButtons();
    SetTooltips(tooltipsOn_);
    loading_ = false;
}

void UserGuideWindow::DisplayTheTopic() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString path = QString::fromStdString(topics_.SelectedPath());
    QFile file(path);
    if (!file.exists()) {
        QApplication::restoreOverrideCursor();
        ShowErrorMessage(messages_, "Cannot find that User Guide topic");
        return;
    }
    // A topic is a plain file of reasonable size: a pipe of that name would hang the window, and
    // a huge file would exhaust the memory.
    constexpr qint64 kLargestTopic = 32 << 20;
    const QFileInfo info(path);
    std::optional<RichDocument> topic;
    if (info.isFile() && info.size() <= kLargestTopic && file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.read(kLargestTopic);
        topic = ReadRtf(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    QApplication::restoreOverrideCursor();
    if (!topic) {
        ShowErrorMessage(messages_, "Unable to open the selected User Guide");
        return;
    }
    FillTextDocument(*topic, *rtbText_->document(), textScale_);
    MakeColoursReadable(*rtbText_->document(), rtbText_->palette().color(QPalette::Base));
    rtbText_->moveCursor(QTextCursor::Start);
}

void UserGuideWindow::SelectionChanged(int index) {
    if (loading_ || index < 0) return;
    topics_.Select(index);
    DisplayTheTopic();
    RenderButtons();
}

// A topic selected for the user, by a walking button or a typed letter, is shown as a chosen one is.
void UserGuideWindow::SelectFound(int index) {
    cmbTopics_->setCurrentIndex(index);
    if (cmbTopics_->view()->isVisible()) cmbTopics_->view()->setCurrentIndex(cmbTopics_->model()->index(index, 0));
    SelectionChanged(index);
}

void UserGuideWindow::Walk(TopicList::Button button) {
    if (topics_.Walk(button))
        SelectFound(topics_.Selected());
    else
        messages_.Beep();
    cmbTopics_->setFocus();
}

void UserGuideWindow::RenderButtons() {
    using B = TopicList::Button;
    cmdFirst_->setEnabled(topics_.ButtonEnabled(B::First));
    cmdPrev_->setEnabled(topics_.ButtonEnabled(B::Previous));
    cmdNext_->setEnabled(topics_.ButtonEnabled(B::Next));
    cmdLast_->setEnabled(topics_.ButtonEnabled(B::Last));
}

void UserGuideWindow::SetTooltips(bool on) {
    tooltipsOn_ = on;
    const TooltipTable& table = DialogTooltips("UsersGuide");
    for (QWidget* w : std::initializer_list<QWidget*>{cmbTopics_, lblSelectTopic_, cmdFirst_, cmdLast_, cmdNext_,
                                                     cmdPrev_, cmdClose_})
        w->setToolTip(on ? QString::fromStdString(TooltipOf(table, w->objectName().toStdString())) : QString());
    rtbText_->setToolTip(on ? QString::fromStdString(topics_.ViewerTooltip()) : QString());
}

void UserGuideWindow::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::ControlModifier && (event->key() == Qt::Key_T || event->key() == Qt::Key_F5)) {
        if (!toggleTooltips_)
            SetTooltips(!tooltipsOn_);
        else if (const std::optional<bool> on = toggleTooltips_())
            SetTooltips(*on);
        return;
    }
    QDialog::keyPressEvent(event);  // Esc closes, as Close does
}

// A letter typed into the list, closed or dropped down, finds the next topic that starts with it.
bool UserGuideWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == cmbTopics_ || watched == cmbTopics_->view()) && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (key->modifiers() & Qt::ControlModifier) {
            keyPressEvent(key);
            return true;
        }
        if (!text.isEmpty() && text[0].isPrint()) {
            // Alt with a letter is a button's key: an enabled button took it already, a disabled
            // one (Next on the last topic) leaves nothing to do. Alt+Down still opens the list.
            const bool buttonKey = key->modifiers() & (Qt::AltModifier | Qt::MetaModifier);
            if (!buttonKey && topics_.TypeLetter(text.toStdString())) SelectFound(topics_.Selected());
            return true;  // the list's own typing never acts
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace qb
