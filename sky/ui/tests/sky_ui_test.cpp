#include "core/clock.h"
#include "core/testing/scoped_locale.h"
#include "core/ui/notifier.h"
#include "resources/resource_paths.h"
#include "sky/moon_phase.h"
#include "sky/sun_times.h"
#include "sky/tools/strip_bitmaps.h"
#include "sky/ui/moon.h"
#include "sky/ui/sun_moon_strip.h"

#include <QLabel>
#include <QPainter>
#include <QTest>

#include <functional>
#include <numbers>

namespace sky = orvane::sky;
using orvane::LocalTime;
using sky::PhaseAngleAt;
using sky::SunMoonStrip;
using sky::TMoon;

namespace {

const QColor kDark(Qt::black), kLit(Qt::white);

LocalTime At(int y, unsigned m, unsigned d, int hour = 9) {
    return { { std::chrono::year(y), std::chrono::month(m), std::chrono::day(d) }, hour, 0, 0 };
}

orvane::Preferences PrefsWith(const std::string& flags) {
    orvane::Preferences prefs;
    prefs.OptionFlags = flags;
    return prefs;
}

QString Text(const QWidget& strip, const char* name) {
    return strip.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

QImage Painted(TMoon& moon) {
    QImage image(moon.size(), QImage::Format_RGB888);
    image.fill(Qt::green);
    QPainter painter(&image);
    moon.Paint(painter);
    return image;
}

// Records every box and, while one shows, activates the strip again, as a main window does that
// takes a closing box for a new activation.
struct ReentrantNotifier final : orvane::Notifier {
    void Show(Kind, const QString& text, const QString&) override {
        texts << text;
        again();
    }
    bool Confirm(const QString&, const QString&) override { return true; }
    SaveChoice AskToSave(const QString&) override { return SaveChoice::kCancel; }
    int Choose(const QString&, const QStringList&, int escape) override { return escape; }
    void Beep() override { }
    QStringList texts;
    std::function<void()> again;
};

} // namespace

class SkyUiTest : public QObject {
    Q_OBJECT

    orvane::FixedClock clock_ { At(2024, 3, 14) };
    orvane::RecordingNotifier notifier_;

    // A preferences file of `size` lines: line 1 the flags, 22-24 longitude, latitude and zone.
    void Activate(SunMoonStrip& strip, const std::string& flags, std::vector<std::string> place,
        orvane::Notifier& notifier, std::size_t size = 25) {
        std::vector<std::string> lines(21, "SUN");
        lines[0] = flags;
        lines.insert(lines.end(), place.begin(), place.end());
        lines.resize(size, "Verdana");
        strip.Activate(lines, PrefsWith(flags), clock_.Now(), notifier);
    }

private slots:
    void init() { clock_.Set(At(2024, 3, 14)); }

    // 32 x 32, border 2: the disc spans columns 2 to 29 around column 16.
    void MoonPaintsTheLitPartAndFollowsTheClock() {
        TMoon moon(clock_);
        // Waning gibbous: dark right edge, lit ellipse drawn backwards.
        moon.SetPhase(std::numbers::pi_v<long double> * 4 / 3);
        QImage image = Painted(moon);
        QCOMPARE(QList({ image.pixelColor(1, 16), image.pixelColor(4, 16), image.pixelColor(20, 16),
                     image.pixelColor(27, 16) }),
            QList({ kDark, kLit, kLit, kDark }));

        // In the system-time mode each paint takes the phase from the clock.
        TMoon timed(clock_);
        clock_.Set(At(2024, 2, 9, 18)); // new moon
        QCOMPARE(Painted(timed).pixelColor(16, 16), kDark);
        QCOMPARE(timed.Phase(), PhaseAngleAt({ 2024, 2, 9, 18, 0, 0, 0 }));
    }

    void ResourcesHoldTheGeneratedPictures() {
        const auto stored = [](const QString& path) {
            return QImage(path).convertToFormat(QImage::Format_RGB888);
        };
        for (int id = 1; id <= sky::kMoonBitmapCount; ++id) {
            const QImage image = stored(orvane::MoonBitmapPath(id));
            QVERIFY(image.size() == QSize(16, 16) && image.pixelColor(0, 0) == sky::kStripSilver);
            QCOMPARE(image, sky::RenderMoonBitmap(id));
        }
        QCOMPARE(stored(orvane::kSunriseBitmapPath), sky::RenderSunBitmap(true));
        QCOMPARE(stored(orvane::kSunsetBitmapPath), sky::RenderSunBitmap(false));
    }

    void StripControlsAndStartupFlags() {
        SunMoonStrip strip(clock_);
        // Only "1" shows a part at start-up; a short flags line shows nothing.
        for (const auto& [flags, sun, moon] :
            { std::tuple { "00001000000", true, false }, { "00000010000", false, true },
                { "00002020000", false, false }, { "0000", false, false } }) {
            strip.ApplyStartupFlags(PrefsWith(flags));
            QList<bool> seen;
            for (const char* name : { "Image42Rise", "Label8", "Image44Set", "Label9", "Image45" })
                seen << strip.findChild<QWidget*>(name)->isVisibleTo(&strip);
            QCOMPARE(seen, QList<bool>({ sun, sun, sun, sun, moon }));
        }
    }

    void ActivationComputesMoonThenSunFromTheClock() {
        SunMoonStrip strip(clock_);
        // Sun, 24-hour style, moon, north, daylight saving; New York, sunset the evening before.
        Activate(strip, "00101111001", { "-74.01", "40.71", "-5" }, notifier_);
        QCOMPARE(Text(strip, "Label8") + Text(strip, "Label9"), QStringLiteral("07081901"));
        TMoon* moon = strip.Moon1();
        QCOMPARE(moon->CustomTime(), QStringLiteral("03/14/24 6:00:00 PM"));
        QCOMPARE(strip.MoonBitmapShown(),
            sky::MoonBitmapForPhase(PhaseAngleAt({ 2024, 3, 14, 18, 0, 0, 0 })));
        QVERIFY(!strip.findChild<QLabel*>("Image45")->pixmap().isNull());

        // The 12-hour style, the southern hemisphere, and a later day of the clock: full moon.
        clock_.Set(At(2024, 6, 21));
        Activate(strip, "00101010001", { "-74.01", "40.71", "-5" }, notifier_);
        QCOMPARE(Text(strip, "Label8"), QStringLiteral("5:25A"));
        QCOMPARE(moon->Hemisphere(), TMoon::THemisphere::heSouthern);
        QVERIFY(strip.MoonBitmapShown() >= 13 && strip.MoonBitmapShown() <= 15);
        QVERIFY(notifier_.boxes.empty());

        // "12/31/99" alone could be read as 1999; the phase comes from the date itself.
        clock_.Set(At(2099, 12, 31));
        Activate(strip, "00000010000", {}, notifier_);
        QCOMPARE(moon->CustomTime(), QStringLiteral("12/31/99 6:00:00 PM"));
        const int picture_2099
            = sky::MoonBitmapForPhase(PhaseAngleAt({ 2099, 12, 31, 18, 0, 0, 0 }));
        QVERIFY(
            picture_2099 != sky::MoonBitmapForPhase(PhaseAngleAt({ 1999, 12, 31, 18, 0, 0, 0 })));
        QCOMPARE(strip.MoonBitmapShown(), picture_2099);
    }

    void ActivationSkipsWhatIsSwitchedOffMissingOrUnreadable() {
        SunMoonStrip strip(clock_);
        Activate(strip, "00101110000", { "10", "50" }, notifier_, 23); // no zone line: moon only
        const int crescent = strip.MoonBitmapShown();
        QVERIFY(crescent != 0);
        QCOMPARE(Text(strip, "Label8"), QStringLiteral("Rise"));
        clock_.Set(At(2024, 6, 21));
        Activate(strip, "00001100000", { "10", "50", "1" }, notifier_); // moon off
        QCOMPARE(strip.MoonBitmapShown(), crescent);
        const QString times = Text(strip, "Label8") + Text(strip, "Label9");
        // A place that is no number: no times, no box, labels kept.
        clock_.Set(At(2024, 9, 1));
        Activate(strip, "00101110000", { "ten", "50", "1" }, notifier_);
        QCOMPARE(Text(strip, "Label8") + Text(strip, "Label9"), times);
        QVERIFY(notifier_.boxes.empty());
    }

    // The C library's numeric locale follows the user's settings in the running program; the
    // place still reaches the computation as the numbers the file holds.
    void SunTimesFromTheFileUnderACommaLocale() {
        orvane::ScopedLocale comma(LC_NUMERIC, orvane::kCommaLocale);
        QVERIFY2(comma.active(), orvane::kCommaLocaleMissing);
        clock_.Set(At(2024, 6, 21));
        SunMoonStrip strip(clock_);
        Activate(strip, "00001100000", { "-00.13", "51.50", "0" }, notifier_);

        sky::SunRequest request;
        request.longitude = -0.13;
        request.latitude = 51.5;
        request.military_time = true;
        request.date = clock_.Now().date;
        const sky::SunTimes expected = sky::ComputeSunTimes(request, sky::kNoEvent);
        QVERIFY(expected.rise_caption && expected.set_caption);
        QCOMPARE(Text(strip, "Label8"), QString::fromStdString(*expected.rise_caption));
        QCOMPARE(Text(strip, "Label9"), QString::fromStdString(*expected.set_caption));
        // Half a degree of latitude moves the times at midsummer, so the captions tell 51.50 from
        // a latitude cut to 51.
        request.latitude = 51;
        QVERIFY(sky::ComputeSunTimes(request, sky::kNoEvent).rise_caption != expected.rise_caption);
    }

    // A closing box must not count as a new activation that shows the box again.
    void PolarNoticeOncePerActivation() {
        clock_.Set(At(2024, 6, 21));
        SunMoonStrip strip(clock_);
        ReentrantNotifier notifier;
        notifier.again = [&] { Activate(strip, "00101110000", { "19", "69.6", "1" }, notifier); };
        notifier.again();
        QCOMPARE(notifier.texts, QStringList { QStringLiteral("Sun up or down all day") });
        notifier.again(); // the next real activation shows it once more
        QCOMPARE(notifier.texts.size(), 2);
    }
};

QTEST_MAIN(SkyUiTest)
#include "sky_ui_test.moc"
