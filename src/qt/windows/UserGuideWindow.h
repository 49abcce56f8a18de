#pragma once
// The User Guide: one topic at a time, a sorted topic list, First, Previous, Next and Last.
// Modeless, one at a time.

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "guide/TopicList.h"
#include "platform/QtCollationPort.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTextBrowser;

namespace qb {

class MessagePort;

class UserGuideWindow final : public QDialog {
    Q_OBJECT
public:
    // Turns the program's one tooltip switch for Ctrl+T and says where it now stands, or nothing
    // when the switch may not be turned now.
    using TooltipToggle = std::function<std::optional<bool>()>;

    // The topics come from the folders that topics lists when the window opens. Without a
    // toggle, Ctrl+T switches this window's tooltips alone. A window of its own, beside the
    // main window and not above it.
    UserGuideWindow(std::vector<TopicFolder> topics, bool tooltipsOn, MessagePort& messages,
                    TooltipToggle toggleTooltips);

    const TopicList& Topics() const { return topics_; }
    void SetTooltips(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void BuildList();
    void DisplayTheTopic();
    void SelectionChanged(int index);
    void SelectFound(int index);
    void Walk(TopicList::Button button);
    void RenderButtons();
    void CentreOnScreen();
    void CentreOnceFramed();

    std::vector<TopicFolder> folders_;
    bool tooltipsOn_;
    MessagePort& messages_;
    TooltipToggle toggleTooltips_;
    QtCollationPort collation_;  // the user's language orders and finds the topics
    TopicList topics_{&collation_};
    bool loading_ = false;
    bool framed_ = false;
    double textScale_ = 1.0;  // the desktop font against the one the topics were written for
    QComboBox* cmbTopics_;
    QLabel* lblSelectTopic_;
    QTextBrowser* rtbText_;
    QPushButton* cmdFirst_;
    QPushButton* cmdPrev_;
    QPushButton* cmdNext_;
    QPushButton* cmdLast_;
    QPushButton* cmdClose_;
};

}  // namespace qb
