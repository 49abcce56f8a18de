#include <gtest/gtest.h>

#include "platform/PlatformChoice.h"

namespace qb {
namespace {

TEST(PlatformChoice, WaylandWithXRunsThroughX) {
    struct Case {
        const char* what;
        SessionDisplays session;
        QByteArray platform;
    };
    const Case cases[] = {
        {"Wayland and XWayland", {false, true, true}, "xcb;wayland"},
        {"Wayland alone runs natively", {false, true, false}, ""},
        {"X alone is left to Qt", {false, false, true}, ""},
        {"the user's choice stands", {true, true, true}, ""},
        {"no display at all", {false, false, false}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(PlatformFor(c.session), c.platform) << c.what;
}

}  // namespace
}  // namespace qb
