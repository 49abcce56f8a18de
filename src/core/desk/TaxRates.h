#pragma once
// The two tax rates of Tax+ and Tax-: kept in the settings store ("Tax Rate 1", "Tax Rate 2"),
// none set at first, and changed in the Tax Rates dialog (Options menu).

#include <optional>
#include <string>

namespace qb {

class Desk;

namespace key {
inline constexpr const char* TaxRate1 = "Tax Rate 1";
inline constexpr const char* TaxRate2 = "Tax Rate 2";
}  // namespace key

class TaxRates {
public:
    explicit TaxRates(Desk& desk) : desk_(desk) {}

    // The first (second false) or the second rate, when one is set.
    std::optional<double> Rate(bool second) const;
    // The dialog, until it holds rates it can take (each refusal says why) or is cancelled.
    // True when the rates were saved.
    bool Ask();
    // The rate for a tax key: with none set, the dialog opens first.
    std::optional<double> RateForKey(bool second);

private:
    // A rate as the dialog shows it, in the locale's decimal sign.
    std::string Shown(bool second) const;

    Desk& desk_;
};

}  // namespace qb
