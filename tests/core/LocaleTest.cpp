// The core's rules answer the same whatever the user's locale: letters are A to Z and a to z,
// letter case folds the same way, and stored truth values read the same. tools/deps makes the
// Turkish and German locales that this runs under.
#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

#include "engine/BusinessRules.h"
#include "fakes/FakePorts.h"
#include "guide/SymbolFonts.h"
#include "guide/TopicList.h"
#include "settings/SettingsStore.h"
#include "timers/TimedEvent.h"

using namespace qb;

namespace {

// Sets the process and C++ locales for one scope, as the program's Qt start-up does.
class InLocale {
public:
    explicit InLocale(const char* name) : old_(std::setlocale(LC_ALL, nullptr)) {
        available_ = std::setlocale(LC_ALL, name) != nullptr;
        if (available_) std::locale::global(std::locale(name));
    }
    ~InLocale() {
        std::setlocale(LC_ALL, old_.c_str());
        std::locale::global(std::locale::classic());
    }
    bool Available() const { return available_; }

private:
    std::string old_;
    bool available_ = false;
};

TEST(Locale, RulesDoNotDependOnTheUsersLocale) {
    for (const char* name : {"C", "tr_TR.UTF-8", "de_DE.UTF-8"}) {
        SCOPED_TRACE(name);
        InLocale locale(name);
        ASSERT_TRUE(locale.Available()) << "tools/deps makes this locale";

        test::FakeClockPort clock;
        TimedEventRules rules(clock);
        TimedEventForm lower{"Jim", "7/4/2024", "Billing in Izmir", 3};
        EXPECT_FALSE(rules.Check(lower).has_value());
        TimedEventForm accented{"J\xEFm", "7/4/2024", "Audit", 3};  // "ï" is no letter here
        EXPECT_TRUE(rules.Check(accented).has_value());

        TopicList list;
        list.Build({TopicFolder{"/own/", {"UG KEYBOARD.rtf", "UG important.rtf"}},
                    TopicFolder{"/usr/share/quillbox/", {"UG Keyboard.rtf", "UG Your Own Topic.rtf"}}});
        EXPECT_EQ(list.Entries(), (std::vector<std::string>{"important", "KEYBOARD", "Your Own Topic"}));
        list.TypeLetter('k');
        EXPECT_EQ(list.SelectedTopic(), "KEYBOARD");

        // A font named in capitals is still the picture font (a Turkish "I" has no small "i").
        EXPECT_EQ(SymbolFontOf("WINGDINGS", false), SymbolFont::Wingdings);

        EXPECT_EQ(SettingsStore::ParseTruth("TRUE"), std::optional<bool>(true));
        EXPECT_EQ(SettingsStore::ParseTruth("FaLsE"), std::optional<bool>(false));

        // A tax rate is stored and printed with a point.
        EXPECT_EQ(TaxRateText(7.5), "7.5");
    }
}

}  // namespace
