#include "sky/moon_phase.h"

#include "sky/option_flag.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace orvane::sky {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kTwoPi = 2 * kPi;

// Days before each month of a common year.
constexpr std::array<int, 12> kDaysBeforeMonth
    = { 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334 };

// Seconds from the origin of the count to the reference new moon (1999 February 15, 07:33).
constexpr long double kReferenceNewMoon = 4001580.0L;
constexpr long double kSecondsPerYear = 31556926.1L;

// Picture shown for each interval, index 1 to 56 (index 0 unused). The steps are uneven on
// purpose: the thin crescents change faster on screen than the near-full shapes.
constexpr std::array<int, 57> kBitmapOfInterval = { 0, //
    28, 1, 2, 2, 3, 3, 4, 4, 5, 5, //  1-10
    5, 5, 6, 6, 7, 7, 8, 8, 8, 9, // 11-20
    9, 10, 10, 10, 11, 11, 12, 13, 14, 15, // 21-30
    15, 16, 16, 17, 17, 18, 18, 18, 19, 19, // 31-40
    20, 20, 21, 21, 21, 22, 22, 22, 23, 23, // 41-50
    24, 24, 25, 26, 27, 28 }; // 51-56

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return month == 2 && IsLeap(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

long double ReduceToOneTurn(long double p) {
    return p - std::trunc(p / kTwoPi) * kTwoPi;
}

// A small cursor over the custom time text.
class Reader {
public:
    explicit Reader(std::string_view text)
        : text_(text) { }
    void SkipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ')
            ++pos_;
    }
    // 1 to `max_digits` digits, or nothing.
    std::optional<int> Number(std::size_t max_digits, std::size_t* digits = nullptr) {
        std::size_t count = 0;
        int value = 0;
        while (pos_ < text_.size() && count < max_digits
            && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
            ++count;
        }
        if (digits)
            *digits = count;
        if (count == 0)
            return std::nullopt;
        return value;
    }
    bool Take(char c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool AtEnd() const { return pos_ == text_.size(); }
    std::string_view Rest() const { return text_.substr(pos_); }
    void Skip(std::size_t n) { pos_ += n; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

std::string Padded(int value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

} // namespace

const std::array<double, 57> kMoonPhaseBounds = { 0.0, 0.267971686242562, 0.467071686242562,
    0.606871686242562, 0.722671686242562, 0.824971686242562, 0.918271686242562, 1.00537168624256,
    1.08787168624256, 1.16697168624256, 1.24347168624256, 1.31807168624256, 1.39117168624256,
    1.46337168624256, 1.53507168624256, 1.60647168624256, 1.67807168624256, 1.75027168624256,
    1.82347168624256, 1.89797168624256, 1.97447168624256, 2.05357168624256, 2.13607168624256,
    2.22317168624256, 2.31657168624256, 2.41887168624256, 2.53467168624256, 2.67437168624256,
    2.87347168624256, 3.40957168624256, 3.60867168624256, 3.74847168624256, 3.86427168624256,
    3.96657168624256, 4.05987168624256, 4.14697168624256, 4.22947168624256, 4.30857168624256,
    4.38507168624256, 4.45967168624256, 4.53277168624256, 4.60497168624256, 4.74807168624256,
    4.81967168624256, 4.89187168624256, 4.96497168624256, 5.03957168624256, 5.11607168624256,
    5.19517168624256, 5.27767168624256, 5.36477168624256, 5.45817168624256, 5.56037168624256,
    5.67627168624256, 5.81597168624256, 6.01507168624256, 10.0 };

DateTimeParts PartsOf(const LocalTime& time) {
    DateTimeParts parts;
    parts.year = static_cast<int>(time.date.year());
    parts.month = static_cast<int>(static_cast<unsigned>(time.date.month()));
    parts.day = static_cast<int>(static_cast<unsigned>(time.date.day()));
    parts.hour = time.hour;
    parts.minute = time.minute;
    parts.second = time.second;
    return parts;
}

long double PhaseAngleAt(const DateTimeParts& when) {
    const int month_index = when.month >= 1 && when.month <= 12 ? when.month - 1 : 0;
    long double t = when.second + when.millisecond / 1000.0L
        + ((((when.day + kDaysBeforeMonth[static_cast<std::size_t>(month_index)]) * 24.0L
                + when.hour)
                   * 60.0L
               + when.minute)
            * 60.0L)
        + (when.year - 1999) * kSecondsPerYear;
    t = t - kReferenceNewMoon;
    const auto cycles = static_cast<std::int64_t>(t / kLunarCycleSeconds);
    t = t - static_cast<long double>(cycles) * kLunarCycleSeconds;
    const long double phase = kTwoPi * t / kLunarCycleSeconds;
    return phase > 0 ? phase : kTwoPi + phase;
}

std::string DateTimeToText(const LocalTime& time) {
    const DateTimeParts p = PartsOf(time);
    std::string text = std::to_string(p.month) + "/" + std::to_string(p.day) + "/"
        + Padded(((p.year % 100) + 100) % 100);
    if (p.hour == 0 && p.minute == 0 && p.second == 0)
        return text;
    const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    return text + " " + std::to_string(hour12) + ":" + Padded(p.minute) + ":" + Padded(p.second)
        + (p.hour < 12 ? " AM" : " PM");
}

std::optional<DateTimeParts> TextToDateTime(std::string_view text, int reference_year) {
    Reader in(text);
    DateTimeParts parts;
    in.SkipBlanks();
    const auto month = in.Number(2);
    if (!month || !in.Take('/'))
        return std::nullopt;
    const auto day = in.Number(2);
    if (!day || !in.Take('/'))
        return std::nullopt;
    std::size_t year_digits = 0;
    const auto year = in.Number(4, &year_digits);
    if (!year)
        return std::nullopt;
    parts.month = *month;
    parts.day = *day;
    parts.year = *year;
    if (year_digits <= 2) {
        // Nearest century: within 50 years of the reference year.
        const int low = reference_year - 50;
        parts.year = low - ((low % 100) + 100) % 100 + *year;
        if (parts.year < low)
            parts.year += 100;
    }
    if (parts.month < 1 || parts.month > 12 || parts.day < 1
        || parts.day > DaysInMonth(parts.year, parts.month))
        return std::nullopt;

    in.SkipBlanks();
    if (in.AtEnd())
        return parts;
    const auto hour = in.Number(2);
    if (!hour || !in.Take(':'))
        return std::nullopt;
    const auto minute = in.Number(2);
    if (!minute)
        return std::nullopt;
    int second = 0;
    if (in.Take(':')) {
        const auto sec = in.Number(2);
        if (!sec)
            return std::nullopt;
        second = *sec;
    }
    in.SkipBlanks();
    int h = *hour;
    if (!in.AtEnd()) {
        const std::string_view rest = in.Rest();
        if (rest.size() != 2 || std::toupper(static_cast<unsigned char>(rest[1])) != 'M')
            return std::nullopt;
        const char marker = static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
        if ((marker != 'A' && marker != 'P') || h < 1 || h > 12)
            return std::nullopt;
        h = h % 12 + (marker == 'P' ? 12 : 0);
        in.Skip(2);
    }
    if (h > 23 || *minute > 59 || second > 59)
        return std::nullopt;
    parts.hour = h;
    parts.minute = *minute;
    parts.second = second;
    return parts;
}

std::string EveningCustomTime(const Date& today) {
    const DateTimeParts p = PartsOf(LocalTime { today, 0, 0, 0 });
    return Padded(p.month) + "/" + Padded(p.day) + "/" + Padded(((p.year % 100) + 100) % 100)
        + " 6:00:00 PM";
}

int MoonBitmapForInterval(int interval) {
    if (interval < 1 || interval > 56)
        return 0;
    return kBitmapOfInterval[static_cast<std::size_t>(interval)];
}

int MoonBitmapForPhase(long double phase) {
    for (std::size_t i = 1; i < kMoonPhaseBounds.size(); ++i) {
        if (kMoonPhaseBounds[i - 1] < phase && phase < kMoonPhaseBounds[i])
            return kBitmapOfInterval[i];
    }
    return 0;
}

long double MiddlePhaseOfBitmap(int id) {
    if (id == kNewMoonBitmap) {
        // Its intervals meet across the turn: the last one and the first one.
        const long double low = kMoonPhaseBounds[55];
        const long double high = kTwoPi + kMoonPhaseBounds[1];
        return ReduceToOneTurn((low + high) / 2);
    }
    int first = 0;
    int last = 0;
    for (int i = 1; i <= 56; ++i) {
        if (kBitmapOfInterval[static_cast<std::size_t>(i)] == id) {
            if (first == 0)
                first = i;
            last = i;
        }
    }
    if (first == 0)
        return 0;
    return (static_cast<long double>(kMoonPhaseBounds[static_cast<std::size_t>(first - 1)])
               + kMoonPhaseBounds[static_cast<std::size_t>(last)])
        / 2;
}

bool MoonStepApplies(std::size_t line_count, const Preferences& prefs) {
    return FlagOrZero(prefs, Flag::DisplayMoon) != '0' && line_count >= 23;
}

MoonPhaseCalculator::MoonPhaseCalculator(const LocalTime& created)
    : custom_time_(DateTimeToText(created)) { }

void MoonPhaseCalculator::SetCustomTime(std::string text) {
    custom_time_ = std::move(text);
    mode_ = TMoonDisplayType::mdtUseCustomTime;
}

void MoonPhaseCalculator::SetPhase(long double phase) {
    phase_ = phase;
    mode_ = TMoonDisplayType::mdtUsePhaseAngle;
}

long double MoonPhaseCalculator::CalcPhase(const LocalTime& now) {
    switch (mode_) {
    case TMoonDisplayType::mdtUsePhaseAngle:
        return phase_;
    case TMoonDisplayType::mdtUseSystemTime:
        custom_time_ = DateTimeToText(now);
        phase_ = PhaseAngleAt(PartsOf(now));
        return phase_;
    case TMoonDisplayType::mdtUseCustomTime:
        break;
    }
    const auto when = TextToDateTime(custom_time_, static_cast<int>(now.date.year()));
    if (when)
        phase_ = PhaseAngleAt(*when);
    return phase_;
}

long double MoonPhaseCalculator::CalcPhaseFor(const LocalTime& when) {
    if (mode_ == TMoonDisplayType::mdtUsePhaseAngle)
        return phase_;
    phase_ = PhaseAngleAt(PartsOf(when));
    return phase_;
}

std::vector<MoonShape> PlanMoonPaint(
    int width, int height, int border, long double phase, THemisphere hemisphere) {
    using Kind = MoonShape::Kind;
    using Colour = MoonShape::Colour;
    const int b = border;
    const int w = width - 2 * b;
    const int h = height - 2 * b;
    const int r = w / 2; // truncates toward zero, also for a negative width
    const int cx = b + r;

    std::vector<MoonShape> shapes;
    shapes.push_back({ Kind::kRectangle, Colour::kBackground, 0, 0, width, height });
    shapes.push_back({ Kind::kEllipse, Colour::kMoon, b, b, b + w, b + h });

    long double p = ReduceToOneTurn(phase);
    if (hemisphere == THemisphere::heSouthern)
        p = ReduceToOneTurn(kTwoPi - p);
    // Rounds half to even under the default rounding mode.
    const int k = static_cast<int>(std::nearbyint(std::cos(p) * r));
    const MoonShape ellipse { Kind::kEllipse, Colour::kBackground, cx - k, b, cx + k, b + h };

    if (p < kPi / 2) {
        shapes.push_back(ellipse);
        shapes.push_back({ Kind::kRectangle, Colour::kBackground, b, b, cx, b + h });
    } else if (p < kPi) {
        shapes.push_back({ Kind::kRectangle, Colour::kBackground, b, b, cx, b + h });
        MoonShape lit = ellipse;
        lit.colour = Colour::kMoon;
        shapes.push_back(lit);
    } else if (p < 3 * kPi / 2) {
        shapes.push_back({ Kind::kRectangle, Colour::kBackground, cx + 1, b, b + w, b + h });
        MoonShape lit = ellipse;
        lit.colour = Colour::kMoon;
        shapes.push_back(lit);
    } else {
        shapes.push_back({ Kind::kRectangle, Colour::kBackground, cx + 1, b, b + w, b + h });
        shapes.push_back(ellipse);
    }
    return shapes;
}

} // namespace orvane::sky
