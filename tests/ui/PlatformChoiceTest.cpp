#include <gtest/gtest.h>

#include "platform/DecimalSeparator.h"
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

TEST(DecimalSeparator, TheCommaCountsWhereTheLocaleWritesIt) {
    for (const char* name : {"de_DE", "fr_FR", "es_ES", "it_IT", "pt_BR", "ru_RU", "cs_CZ", "pl_PL", "sv_SE"})
        EXPECT_TRUE(UsesDecimalComma(QLocale(QString::fromLatin1(name)))) << name;
    for (const char* name : {"en_US", "en_GB", "ja_JP", "de_CH", "C"})
        EXPECT_FALSE(UsesDecimalComma(QLocale(QString::fromLatin1(name)))) << name;
}

}  // namespace
}  // namespace qb
