#pragma once
// The About window: the logo, the tape, and where to get technical help.

#include <QDialog>

namespace qb {

class AboutWindow final : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
    // The technical-help line, with the support address the program was built with.
    static QString TechnicalHelpLine();
};

}  // namespace qb
