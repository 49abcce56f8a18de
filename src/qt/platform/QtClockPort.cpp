#include "platform/QtClockPort.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>

#include "platform/CodePage.h"

namespace qb {
namespace {

std::string MonthDayYear(const QDate& date) {
    return std::to_string(date.month()) + "/" + std::to_string(date.day()) + "/" + std::to_string(date.year());
}

// Years written with two digits fall in 1930 to 2029.
QDate WindowYear(QDate date, bool twoDigitYear) {
    if (!twoDigitYear || !date.isValid()) return date;
    int yy = date.year() % 100;
    return QDate(yy < 30 ? 2000 + yy : 1900 + yy, date.month(), date.day());
}

}  // namespace

double QtClockPort::SecondsSinceMidnight() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

std::string QtClockPort::Today() { return MonthDayYear(QDate::currentDate()); }

std::optional<std::string> QtClockPort::ParseDate(const std::string& text) {
    const QString t = FromCodePage(text).trimmed();
    if (t.isEmpty()) return std::nullopt;
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    struct Form {
        const char* pattern;
        bool twoDigitYear;
    };
    const Form forms[] = {{"M/d/yyyy", false}, {"M/d/yy", true},       {"yyyy-M-d", false},
                          {"MMMM d, yyyy", false}, {"MMM d, yyyy", false}, {"MMMM d yyyy", false},
                          {"MMM d yyyy", false},   {"d MMMM yyyy", false}, {"M-d-yyyy", false},
                          {"M-d-yy", true}};
    for (const Form& form : forms) {
        const QString pattern = QString::fromLatin1(form.pattern);
        // A four-digit pattern must not take a two-digit year, nor the reverse.
        QDate date = english.toDate(t, pattern);
        if (!date.isValid()) continue;
        if (form.twoDigitYear && !t.contains(QRegularExpression(QStringLiteral("\\D\\d{2}$")))) continue;
        return MonthDayYear(WindowYear(date, form.twoDigitYear));
    }
    const QLocale system;
    for (auto format : {QLocale::ShortFormat, QLocale::LongFormat}) {
        QDate date = system.toDate(t, format);
        if (date.isValid()) return MonthDayYear(date);
    }
    return std::nullopt;
}

}  // namespace qb
