#pragma once
// The User Guide: one topic at a time, a sorted topic list, First, Previous, Next and Last.
// Modeless, one at a time.

#include <QDialog>
#include <functional>
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
    // tooltipsChanged is told when Ctrl+T switches the tooltips here.
    // The topics come from the folders that topics lists when the window opens.
    UserGuideWindow(std::vector<TopicFolder> topics, bool tooltipsOn, MessagePort& messages,
                    std::function<void(bool)> tooltipsChanged, QWidget* parent = nullptr);

    const TopicList& Topics() const { return topics_; }
    void SetTooltips(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildList();
    void DisplayTheTopic();
    void SelectionChanged(int index);
    void Walk(TopicList::Button button);
    void RenderButtons();

    std::vector<TopicFolder> folders_;
    bool tooltipsOn_;
    MessagePort& messages_;
    std::function<void(bool)> tooltipsChanged_;
    QtCollationPort collation_;  // the user's language orders and finds the topics
    TopicList topics_{&collation_};
    bool loading_ = false;
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
