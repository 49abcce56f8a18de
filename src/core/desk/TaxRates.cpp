#include "desk/TaxRates.h"

#include "desk/Desk.h"
#include "engine/BusinessRules.h"
#include "platform/ErrorMessage.h"

namespace qb {
namespace {

const char* KeyOf(bool second) { return second ? key::TaxRate2 : key::TaxRate1; }

}  // namespace

std::optional<double> TaxRates::Rate(bool second) const {
    // The store holds the rate as the program wrote it; anything else there is no rate.
    return ReadTaxRate(desk_.Settings().Get(KeyOf(second)), false).rate;
}

std::string TaxRates::Shown(bool second) const {
    const std::optional<double> rate = Rate(second);
    if (!rate) return {};
    std::string text = TaxRateText(*rate);
    if (desk_.DecimalComma())
        for (char& c : text)
            if (c == '.') c = ',';
    return text;
}

bool TaxRates::Ask() {
    TaxRatesForm form{Shown(false), Shown(true)};
    for (;;) {
        bool tooltips = desk_.GetOptions().Tooltips;
        const bool ok = desk_.Dialogs().TaxRatesDialog(form, tooltips);
        desk_.FollowTooltips(tooltips);
        if (!ok) return false;
        const TaxRateReading first = ReadTaxRate(form.first, desk_.DecimalComma());
        const TaxRateReading second = ReadTaxRate(form.second, desk_.DecimalComma());
        const std::string& error = first.error.empty() ? second.error : first.error;
        if (!error.empty()) {
            ShowErrorMessage(desk_.Messages(), error);
            continue;
        }
        desk_.Settings().Save(key::TaxRate1, first.rate ? TaxRateText(*first.rate) : std::string());
        desk_.Settings().Save(key::TaxRate2, second.rate ? TaxRateText(*second.rate) : std::string());
        return true;
    }
}

std::optional<double> TaxRates::RateForKey(bool second) {
    if (auto rate = Rate(second)) return rate;
    if (!Ask()) return std::nullopt;
    std::optional<double> rate = Rate(second);
    if (!rate)
        ShowErrorMessage(desk_.Messages(), std::string("No ") + (second ? "second" : "first") +
                                               " tax rate is set, so nothing was taxed: Options, Tax Rates... sets it");
    return rate;
}

}  // namespace qb
