#include "platform/QtClockPort.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <vector>

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

namespace {

// A date form and whether its year has two digits (read in the 1930 to 2029 window).
struct DateForm {
    QLocale locale;
    QString pattern;
    bool twoDigitYear;
};

bool TwoDigitYear(const QString& pattern) { return pattern.contains(QLatin1String("yy")) && !pattern.contains(QLatin1String("yyyy")); }

// The forms a user of the locale types, in the order they are tried: the locale's own short and
// long forms (each also with the other year length), the day.month.year forms where the locale
// puts the day first, ISO, then the US forms. The first form that reads the text decides, so a
// text that reads as two different days is read the locale's way.
std::vector<DateForm> FormsOf(const QLocale& locale) {
    std::vector<DateForm> forms;
    auto add = [&forms](const QLocale& in, const QString& pattern) {
        for (const DateForm& form : forms)
            if (form.pattern == pattern && form.locale == in) return;
        forms.push_back({in, pattern, TwoDigitYear(pattern)});
    };
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (auto length : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QString own = locale.dateFormat(length);
        add(locale, own);
        QString other = own;
        if (own.contains(QLatin1String("yyyy")))
            other.replace(QLatin1String("yyyy"), QLatin1String("yy"));
        else
            other.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        add(locale, other);
    }
    const QString shortForm = locale.dateFormat(QLocale::ShortFormat);
    const bool dayFirst = shortForm.indexOf(QLatin1Char('d')) < shortForm.indexOf(QLatin1Char('M'));
    if (dayFirst)
        for (const char* pattern :
             {"d.M.yyyy", "d.M.yy", "d/M/yyyy", "d/M/yy", "d-M-yyyy", "d-M-yy", "d MMMM yyyy", "d. MMMM yyyy"})
            add(locale, QString::fromLatin1(pattern));
    add(english, QStringLiteral("yyyy-M-d"));
    for (const char* pattern : {"M/d/yyyy", "M/d/yy", "MMMM d, yyyy", "MMM d, yyyy", "MMMM d yyyy", "MMM d yyyy",
                                "d MMMM yyyy", "M-d-yyyy", "M-d-yy"})
        add(english, QString::fromLatin1(pattern));
    return forms;
}

}  // namespace

std::optional<std::string> QtClockPort::ParseDate(const std::string& text) {
    const QString t = FromCodePage(text).trimmed();
    if (t.isEmpty()) return std::nullopt;
    for (const DateForm& form : FormsOf(QLocale())) {
        const QDate date = form.locale.toDate(t, form.pattern);
        // A four-digit form must not take a year typed with two digits, which would be read as
        // the first century: the two-digit form after it reads that year.
        if (!date.isValid() || (!form.twoDigitYear && date.year() < 100)) continue;
        return MonthDayYear(WindowYear(date, form.twoDigitYear));
    }
    return std::nullopt;
}

}  // namespace qb
