#pragma once
// The options that change how the calculator works; their menus and storage live elsewhere.

#include "engine/Rounding.h"

namespace qb {

struct Options {
    bool ClearEntryBox = true;
    bool ClearOnEqual = false;
    bool RoundBeforeOperation = true;
    bool CommaSeparator = true;
    bool AutoDecimal = false;
    Rounding RoundingMode = Rounding::FiveFour;  // Decimal > Rounding
    // Each total shows how many numbers went into it.
    bool ItemCount = false;
    // Every total is added into the grand total.
    bool GrandTotal = false;
    // While a list is keyed again to check it, its totals stay out of the grand total, which
    // counted the list at its first keying. Not kept in the settings.
    bool GrandTotalPaused = false;
    // Kept here for the features they switch (captions, copy, sounds, tooltips).
    bool TapeCaption = true;
    bool FileCaption = true;
    bool ShowCopy = true;
    bool MachineSounds = true;
    bool Tooltips = true;
};

}  // namespace qb
