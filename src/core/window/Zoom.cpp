#include "window/Zoom.h"

#include <algorithm>
#include <charconv>

namespace qb {

int Zoom::Parse(const std::string& text) {
    int percent = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, percent);
    if (error != std::errc() || last != end || percent < kSmallest || percent > kLargest) return kSmallest;
    return percent;
}

// Steps fall on whole multiples of the step from 100, whatever the stored value was.
int Zoom::Larger(int percent) {
    return std::min(kLargest, kSmallest + ((percent - kSmallest) / kStep + 1) * kStep);
}

int Zoom::Smaller(int percent) {
    return std::max(kSmallest, kSmallest + ((percent - kSmallest + kStep - 1) / kStep - 1) * kStep);
}

double Zoom::Scale(double desktopPointSize, int percent) {
    constexpr double kDesignPointSize = 8.0;
    const double desktop = desktopPointSize > kDesignPointSize ? desktopPointSize / kDesignPointSize : 1.0;
    return desktop * std::clamp(percent, kSmallest, kLargest) / 100.0;
}

}  // namespace qb
