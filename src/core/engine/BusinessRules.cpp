#include "engine/BusinessRules.h"

#include <cmath>
#include <charconv>

#include "engine/NumberRules.h"

namespace qb {

std::optional<PercentAdjustment> AdjustByAmount(double subtotal, double amount, bool less) {
    PercentAdjustment result{amount, less ? subtotal - amount : subtotal + amount};
    if (!std::isfinite(result.amount) || !std::isfinite(result.total)) return std::nullopt;
    return result;
}

std::optional<PercentAdjustment> AdjustByPercent(double subtotal, double rate, bool less) {
    return AdjustByAmount(subtotal, subtotal * rate / 100, less);
}

namespace {

bool Finite(const TaxSplit& s) { return std::isfinite(s.net) && std::isfinite(s.tax) && std::isfinite(s.gross); }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<TaxSplit> AddTax(double net, double rate, const Rounder& round) {
    TaxSplit s;
    s.net = net;
    s.tax = round(net * rate / 100);
    s.gross = net + s.tax;
    if (!Finite(s)) return std::nullopt;
    return s;
}

std::optional<TaxSplit> RemoveTax(double gross, double rate, const Rounder& round) {
    TaxSplit s;
    s.gross = gross;
    s.net = round(gross / (1 + rate / 100));
    s.tax = gross - s.net;
    if (!Finite(s)) return std::nullopt;
    return s;
}

TaxRateReading ReadTaxRate(std::string_view text, bool decimalComma) {
    TaxRateReading reading;
    std::string_view typed = TrimBlanks(text);
    if (!typed.empty() && typed.back() == '%') typed = TrimBlanks(typed.substr(0, typed.size() - 1));
    if (typed.empty()) return reading;
    const std::string shown(TrimBlanks(text));
    std::string number;
    int points = 0, decimals = 0, digits = 0;
    for (const char c : typed) {
        if (c >= '0' && c <= '9') {
            number += c;
            ++digits;
            if (points > 0) ++decimals;
        } else if (c == '.' || (c == ',' && decimalComma)) {
            number += '.';
            ++points;
        } else if (c == ',') {
            reading.error = "A tax rate takes a point as its decimal sign: \"" + shown + "\" has a comma";
            return reading;
        } else {
            reading.error = "\"" + shown + "\" is not a tax rate: type a number from 0 to 100, such as 19 or 7.5";
            return reading;
        }
    }
    if (points > 1 || digits == 0) {
        reading.error = "\"" + shown + "\" is not a tax rate: type a number from 0 to 100, such as 19 or 7.5";
        return reading;
    }
    if (decimals > 4) {
        reading.error = "A tax rate has at most 4 decimals: \"" + shown + "\" has " + std::to_string(decimals);
        return reading;
    }
    const double rate = ParseNumber(number);
    if (rate > 100) {
        reading.error = "A tax rate is from 0 to 100 %: \"" + shown + "\" is more";
        return reading;
    }
    reading.rate = rate;
    return reading;
}

std::string TaxRateText(double rate) {
    // A point whatever the user's locale: the store and the tape read it back so.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, rate, std::chars_format::fixed, 4);
    std::string text(buffer, written.ptr);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string TaxRatePrefix(double rate) { return TaxRateText(rate) + '%'; }

std::optional<double> RateOfTaxLine(std::string_view line) {
    line = TrimBlanks(line);
    if (line.size() < 3 || line.back() != kTaxMark) return std::nullopt;
    const std::size_t percent = line.find('%');
    if (percent == std::string_view::npos || percent + 1 >= line.size() || line[percent + 1] != ' ') return std::nullopt;
    const TaxRateReading reading = ReadTaxRate(line.substr(0, percent), false);
    return reading.rate;
}

std::optional<PercentAdjustment> MarkUp(double cost, double rate, const Rounder& round) {
    return AdjustByAmount(cost, round(cost * rate / 100), false);
}

CsmResult SolveCostSellMargin(const CostSellMargin& given, const Rounder& round) {
    CsmResult r;
    if (given.margin && *given.margin >= 100) {
        r.error = kMarginTooLarge;
        return r;
    }
    if (given.cost && given.sell) {
        r.cost = *given.cost;
        r.sell = *given.sell;
        if (r.sell == 0) {
            r.error = "A sell price of 0 has no margin";
            return r;
        }
        r.margin = round((r.sell - r.cost) / r.sell * 100);
        r.computed = kMarginMark;
    } else if (given.cost && given.margin) {
        r.cost = *given.cost;
        r.margin = *given.margin;
        r.sell = round(r.cost / (1 - r.margin / 100));
        r.computed = kSellMark;
    } else if (given.sell && given.margin) {
        r.sell = *given.sell;
        r.margin = *given.margin;
        r.cost = round(r.sell * (1 - r.margin / 100));
        r.computed = kCostMark;
    } else {
        r.error = "Give two of cost, sell price and margin";
        return r;
    }
    r.profit = r.sell - r.cost;
    if (!std::isfinite(r.cost) || !std::isfinite(r.sell) || !std::isfinite(r.margin) || !std::isfinite(r.profit)) {
        r.error = "The result is too large for the calculator";
        r.computed = 0;
    }
    return r;
}

}  // namespace qb
