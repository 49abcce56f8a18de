#pragma once
// The first window: the logo and the pictures, for five seconds, before the main window.

#include <QDialog>
#include <QTimer>

namespace qb {

class SplashWindow final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIntroMilliseconds = 5000;
    explicit SplashWindow(QWidget* parent = nullptr);

    // Five seconds after the window is first shown, once.
    QTimer& Intro() { return tmrIntro_; }
    // The main window has taken over: the splash closes.
    void Finish();

protected:
    void showEvent(QShowEvent* event) override;
    // Neither Esc nor the close box ends the splash (and with it the program) before its time.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    QTimer tmrIntro_;
    bool finished_ = false;
};

}  // namespace qb
