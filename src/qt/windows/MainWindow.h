#pragma once
// The main window frmCalc in its expanded layout. It draws the machine's state after every
// event and turns keys, clicks and menu choices into the machine's calls; it decides nothing.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "Machine.h"
#include "window/MenuModel.h"
#include "window/Colours.h"
#include "windows/PictureIcons.h"

class QAction;
class QTimer;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace qb {

class IndicatorLabel;
class UserGuideWindow;
class TapeListModel;
class TapeView;

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    // messages: where the User Guide reports what it cannot show.
    MainWindow(Machine& machine, MessagePort& messages, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the machine's state: entry, indicators, menus, tape, title, focus.
    void Render();
    // Draws the machine's state only: what a modal box may show in front of.
    void RenderState();
    // The window has been shown for the first time.
    void FirstActivation();

    // Design lengths are in twips, 1440 to the inch.
    int Pixels(long twips) const;
    long Twips(int pixels) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct CommandButton {
        QPushButton* button;
        Command command;
    };
    struct MenuEntry {
        QAction* action;
        const MenuItem* item;
        std::string caption;  // as last shown
    };
    struct MenuTitle {
        QMenu* menu;
        const Menu* model;
    };

    QRect TwipsRect(int left, int top, int width, int height) const;
    // Design twips on the window's scale: the desktop's font size times the user's zoom.
    int LayoutPixels(long twips) const;
    void Place(QWidget* widget, const QRect& twips);
    void DrawPictureOn(QPushButton* button, Picture picture);
    void FitTapeRows();
    void RenderScale();
    // The Entry boxes and the memory box show their whole number, drawn smaller when it is long.
    void FitNumbers();
    void RenderPalette();
    QGroupBox* AddFrame(QWidget* parent, const char* name, const char* caption, const QRect& twips,
                        const QString& accessibleName);
    QPushButton* AddButton(QWidget* parent, const char* name, const char* caption, Command command,
                           const QRect& twips, std::optional<Picture> picture = std::nullopt);
    QPushButton* AddPictureButton(QWidget* parent, const char* name, Picture picture, Command command,
                                  const QRect& twips, const QString& accessibleName);
    QLineEdit* AddTextBox(QWidget* parent, const char* name, const QRect& twips, const QString& accessibleName);
    IndicatorLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& twips,
                     const QString& accessibleName);
    void BuildFrames();
    void BuildMenus();
    void AddMenuEntry(QMenu* menu, const MenuItem& item);

    bool SendKey(QKeyEvent* event);
    void RunCommand(Command command);
    void RenderIndicators();
    void RenderGrandTotal();
    void RenderMenus();
    void RenderTape();
    void RenderLayout();
    void RenderGeometry();
    void RenderTooltips();
    void RenderTimers();
    void RenderEventColour();
    void BuildShortcutPanels();
    void ShowUserGuide();
    void ShowAbout();
    void TellScreenAndSize();
    QSize Chrome() const;
    QSize OuterSize() const;
    QSize CollapsedClientSize() const;
    void FitToClientArea();

    Machine& machine_;
    MessagePort& messages_;
    qreal dpi_ = 96.0;
    double scale_ = 1.0;
    bool xkbScanCodes_ = false;
    bool rendering_ = false;
    bool closing_ = false;
    bool placing_ = false;  // the window is being moved to where the machine wants it

    QWidget* client_ = nullptr;
    QLineEdit* txtKeyStroke_ = nullptr;
    QLineEdit* txtCaption_ = nullptr;
    QLineEdit* txtDisplay_ = nullptr;
    QLineEdit* txtAltDisplay_ = nullptr;
    QLineEdit* txtMemory_ = nullptr;
    std::string shownRekey_;
    IndicatorLabel* lblGrandTotal_ = nullptr;  // on the Memory frame's top edge, with its option
    IndicatorLabel* lblOperator_ = nullptr;
    IndicatorLabel* lblAltOperator_ = nullptr;
    IndicatorLabel* lblClearEntryBox_ = nullptr;
    IndicatorLabel* lblAltClearEntryBox_ = nullptr;
    std::array<IndicatorLabel*, 6> lblDecimalPlaces_{};
    QGroupBox* frmShortcutKeys1_ = nullptr;
    QGroupBox* frmShortcutKeys2_ = nullptr;
    TapeListModel* tapeModel_ = nullptr;
    TapeView* lstTape_ = nullptr;

    // The frames of the expanded layout, hidden while the window is collapsed.
    std::vector<QWidget*> expandedFrames_;
    std::vector<CommandButton> buttons_;
    std::vector<std::pair<QWidget*, QRect>> placed_;
    std::vector<std::pair<QPushButton*, Picture>> pictureButtons_;
    std::vector<MenuEntry> menuEntries_;
    std::vector<MenuTitle> menuTitles_;
    QAction* mnuStopWatch_ = nullptr;
    QTimer* tmrStopwatch_ = nullptr;
    QTimer* tmrSound_ = nullptr;
    QTimer* tmrRecovery_ = nullptr;
    QPointer<UserGuideWindow> userGuide_;

    // What is on screen, so that unchanged things are not drawn again.
    std::array<int, 6> shownPlaces_{-1, -1, -1, -1, -1, -1};
    int shownClearEntryBox_ = -1;
    int shownOperatorFont_ = -1;
    QString shownGrandTotal_;  // the grand total the label is laid out for
    std::string shownTitle_;
    int shownCollapsed_ = -1;
    int shownTopmost_ = -1;
    bool toldNoTopmost_ = false;  // the window system cannot keep the collapsed window on top
    Layout::Geometry shownGeometry_{-1, -1, -1, -1};
    int shownTooltips_ = -1;
    int shownRounding_ = -1;
    static constexpr std::uint32_t kNoColourShown = 0xFFFFFFFF;
    std::uint32_t shownBackground_ = kNoColourShown;
    int shownZoom_ = -1;
    std::optional<Palette> shownPalette_;
};

}  // namespace qb
