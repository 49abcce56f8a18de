#pragma once
// The About window: the logo, the tape, and where to get technical help.

#include <QDialog>

namespace qb {

class AboutWindow final : public QDialog {
    Q_OBJECT
public:
    // scale: the size the main window is drawn at, which the pictures follow.
    explicit AboutWindow(QWidget* parent = nullptr, double scale = 1.0);
    // The technical-help line, with the support address the program was built with.
    static QString TechnicalHelpLine();
};

}  // namespace qb
