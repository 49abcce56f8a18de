#include "windows/ProgramStyle.h"

#include <QApplication>
#include <cstring>

namespace qb {

bool StyleRequested(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE")) return true;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "-style", 6) == 0 || std::strncmp(argv[i], "--style", 7) == 0) return true;
    return false;
}

void UseProgramStyle() { QApplication::setStyle(QStringLiteral("Windows")); }

}  // namespace qb
