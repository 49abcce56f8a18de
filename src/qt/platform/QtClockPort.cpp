#include "platform/QtClockPort.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>
#include <optional>


namespace qb {
namespace {

std::string MonthDayYear(const QDate& date) {
    return std::to_string(date.month()) + "/" + std::to_string(date.day()) + "/" + std::to_string(date.year());
}

// A day of the years the program writes with four digits, as "m/d/yyyy".
std::optional<std::string> Kept(const QDate& date) {
    if (!date.isValid() || date.year() < 1000 || date.year() > 9999) return std::nullopt;
    return MonthDayYear(date);
}

// Years written with two digits fall in 1930 to 2029.
int WindowYear(int yy) { return yy < 30 ? 2000 + yy : 1900 + yy; }

// A year of four digits as written, or of two through the window; nothing else is a year.
int YearOf(const QString& digits) {
    if (digits.size() == 4) return digits.toInt();
    if (digits.size() == 2) return WindowYear(digits.toInt());
    return 0;
}

// The fields' order in a date format: where its first day, month and year letters stand
// (quoted text left out).
struct FieldOrder {
    qsizetype day = -1, month = -1, year = -1;
};

FieldOrder OrderOf(const QString& format) {
    FieldOrder order;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (quoted) continue;
        if (c == QLatin1Char('d') && order.day < 0) order.day = i;
        if (c == QLatin1Char('M') && order.month < 0) order.month = i;
        if (c == QLatin1Char('y') && order.year < 0) order.year = i;
    }
    return order;
}

// The long format without its weekday, which nobody types: "dddd, d. MMMM yyyy" gives
// "d. MMMM yyyy".
QString WithoutWeekday(QString format) {
    static const QRegularExpression weekday(QStringLiteral("[,\\s]*dddd[,\\s]*"));
    format.replace(weekday, QStringLiteral(" "));
    return format.trimmed();
}

}  // namespace

QtClockPort::QtClockPort(const QLocale& locale)
    : locale_(locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale) {
    const FieldOrder order = OrderOf(locale_.dateFormat(QLocale::ShortFormat));
    const QString shortFormat = locale_.dateFormat(QLocale::ShortFormat);
    if (order.year >= 0 && order.year < order.month && order.year < order.day) {
        order_ = Order::YearMonthDay;
        shortYearFirst_ = !shortFormat.contains(QLatin1String("yyyy"));
    }
    else if (order.day >= 0 && order.day < order.month)
        order_ = Order::DayMonthYear;
    else
        order_ = Order::MonthDayYear;
}

double QtClockPort::SecondsSinceMidnight() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

std::string QtClockPort::Today() { return MonthDayYear(QDate::currentDate()); }

std::optional<std::string> QtClockPort::ParseDate(const std::string& text) {
    const QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
    if (t.isEmpty()) return std::nullopt;

    // Three numbers with one kind of separator between them, blanks allowed around it, and a
    // closing point as some locales write it ("1999. 7. 4.").
    static const QRegularExpression numeric(
        QStringLiteral("^(\\d{1,4})\\s*([./-])\\s*(\\d{1,4})\\s*\\2\\s*(\\d{1,4})\\s*\\.?$"));
    const QRegularExpressionMatch numbers = numeric.match(t);
    if (numbers.hasMatch()) {
        const QString a = numbers.captured(1), b = numbers.captured(3), c = numbers.captured(4);
        const QChar separator = numbers.captured(2)[0];
        auto dayMonth = [](const QString& s) { return s.size() <= 2 ? s.toInt() : 0; };
        auto read = [&](Order order) -> QDate {
            switch (order) {
            case Order::DayMonthYear: return QDate(YearOf(c), dayMonth(b), dayMonth(a));
            case Order::MonthDayYear:
                // Month first is written with slashes or dashes, never with points.
                if (separator == QLatin1Char('.')) return {};
                return QDate(YearOf(c), dayMonth(a), dayMonth(b));
            case Order::YearMonthDay:
                // A two-digit year comes first only where the locale writes it so.
                if (a.size() == 2 && !shortYearFirst_) return {};
                return QDate(YearOf(a), dayMonth(b), dayMonth(c));
            }
            return {};
        };
        // The locale's own order first, then yyyy-mm-dd, then the United States' forms.
        QDate date = read(order_);
        if (!date.isValid() && a.size() == 4) date = read(Order::YearMonthDay);
        if (!date.isValid()) date = read(Order::MonthDayYear);
        return Kept(date);
    }

    // Month names, in the locale's language or in English.
    static const QRegularExpression fourDigits(QStringLiteral("(^|\\D)\\d{4}(\\D|$)"));
    static const QRegularExpression twoDigitYear(QStringLiteral("(^|\\D)(\\d{2})\\D*$"));
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    for (int pass = 0; pass < 2; ++pass) {
        const QLocale& language = pass == 0 ? locale_ : english;
        QStringList formats = {language.dateFormat(QLocale::ShortFormat), language.dateFormat(QLocale::LongFormat),
                               WithoutWeekday(language.dateFormat(QLocale::LongFormat))};
        if (order_ == Order::MonthDayYear || pass == 1)
            formats << QStringLiteral("MMMM d, yyyy") << QStringLiteral("MMM d, yyyy") << QStringLiteral("MMMM d yyyy")
                    << QStringLiteral("MMM d yyyy");
        formats << QStringLiteral("d MMMM yyyy") << QStringLiteral("d MMM yyyy") << QStringLiteral("d. MMMM yyyy")
                << QStringLiteral("d. MMM yyyy");
        // Every form also with a two-digit year.
        static const QRegularExpression longYear(QStringLiteral("(?<!y)yyyy(?!y)"));
        for (qsizetype i = 0, n = formats.size(); i < n; ++i)
            if (formats[i].contains(longYear)) formats << QString(formats[i]).replace(longYear, QStringLiteral("yy"));
        for (const QString& format : formats) {
            QDate date = language.toDate(t, format);
            if (!date.isValid()) continue;
            if (format.contains(QLatin1String("yyyy"))) {
                if (!t.contains(fourDigits)) continue;
            } else if (format.contains(QLatin1String("yy"))) {
                const QRegularExpressionMatch yy = twoDigitYear.match(t);
                if (!yy.hasMatch()) continue;
                date = QDate(WindowYear(yy.captured(2).toInt()), date.month(), date.day());
            }
            if (auto kept = Kept(date)) return kept;
        }
    }
    return std::nullopt;
}

std::string QtClockPort::ShowDate(const std::string& monthDayYear) {
    static const QRegularExpression kept(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
    const QRegularExpressionMatch parts = kept.match(QString::fromLatin1(monthDayYear));
    const QDate date = parts.hasMatch()
                           ? QDate(parts.captured(3).toInt(), parts.captured(1).toInt(), parts.captured(2).toInt())
                           : QDate();
    if (!date.isValid()) return monthDayYear;
    // The short form, its year widened to four digits.
    QString format = locale_.dateFormat(QLocale::ShortFormat);
    static const QRegularExpression shortYear(QStringLiteral("(?<!y)yy(?!y)"));
    format.replace(shortYear, QStringLiteral("yyyy"));
    const QString shown = locale_.toString(date, format);
    if (shown.size() <= 10) {
        std::string text = shown.toStdString();
        if (ParseDate(text) == MonthDayYear(date)) return text;
    }
    return order_ == Order::MonthDayYear ? MonthDayYear(date) : date.toString(QStringLiteral("yyyy-MM-dd")).toStdString();
}

}  // namespace qb
