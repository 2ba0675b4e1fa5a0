// For tests: puts a category of the C library's locale in force for one scope and restores what
// was in force before, so that a test can show that no number reaching or leaving a file follows
// the user's locale.
//
//   ScopedLocale comma(LC_NUMERIC, kCommaLocale);
//   ASSERT_TRUE(comma.active()) << kCommaLocaleMissing;
#pragma once

#include <clocale>
#include <string>

namespace orvane {

// A locale whose decimal separator is ",", installed by scripts/install-deps.sh.
inline constexpr const char* kCommaLocale = "de_DE.UTF-8";
inline constexpr const char* kCommaLocaleMissing
    = "the de_DE.UTF-8 locale is not installed; scripts/install-deps.sh generates it";

class ScopedLocale {
public:
    ScopedLocale(int category, const char* name)
        : category_(category) {
        // For LC_ALL this is a composite name that setlocale takes back whole.
        const char* current = std::setlocale(category, nullptr);
        saved_ = current ? current : "C";
        active_ = std::setlocale(category, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(category_, saved_.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    // False when the locale asked for is not installed; the old one is then still in force.
    bool active() const { return active_; }

private:
    int category_;
    std::string saved_;
    bool active_ = false;
};

} // namespace orvane
