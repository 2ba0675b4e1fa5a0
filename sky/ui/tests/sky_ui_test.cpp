#include "core/clock.h"
#include "core/ui/notifier.h"
#include "resources/resource_paths.h"
#include "sky/moon_phase.h"
#include "sky/sun_times.h"
#include "sky/ui/moon.h"
#include "sky/ui/strip_bitmaps.h"
#include "sky/ui/sun_moon_strip.h"

#include <QLabel>
#include <QMetaProperty>
#include <QPainter>
#include <QTest>

#include <functional>
#include <numbers>

using orvane::Date;
using orvane::FixedClock;
using orvane::LocalTime;
using orvane::Preferences;
using orvane::RecordingNotifier;
using orvane::sky::SunMoonStrip;

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

Date D(int y, unsigned m, unsigned d) {
    return Date { std::chrono::year(y), std::chrono::month(m), std::chrono::day(d) };
}

// A preferences file as the main window reads it: 25 lines, line 1 the flags.
std::vector<std::string> PrefLines(const std::string& flags, const std::string& longitude,
    const std::string& latitude, const std::string& zone) {
    std::vector<std::string> lines(25, "SUN");
    lines[0] = flags;
    lines[20] = "C:\\Orvane";
    lines[21] = longitude;
    lines[22] = latitude;
    lines[23] = zone;
    lines[24] = "Verdana";
    return lines;
}

Preferences PrefsWith(const std::string& flags) {
    Preferences prefs;
    prefs.OptionFlags = flags;
    return prefs;
}

QImage Painted(TMoon& moon) {
    QImage image(moon.size(), QImage::Format_RGB888);
    image.fill(Qt::green);
    QPainter painter(&image);
    moon.Paint(painter);
    return image;
}

// Shows every box it is given and, while showing one, asks the strip to activate again, as a
// main window would that took a closing box for a new activation.
class ReentrantNotifier final : public orvane::Notifier {
public:
    void Show(Kind, const QString& text, const QString&) override {
        texts << text;
        if (again)
            again();
    }
    bool Confirm(const QString&, const QString&) override { return true; }
    void Beep() override { }

    QStringList texts;
    std::function<void()> again;
};

} // namespace

class SkyUiTest : public QObject {
    Q_OBJECT

private slots:
    void MoonPublishesItsPropertiesInOrderWithTheirDefaults();
    void MoonSettersSwitchTheMode();
    void MoonPaintsEachQuarterAndMirrorsTheSouth();
    void MoonPaintRecomputesThePhaseFromTheClock();
    void MoonSurvivesABorderWiderThanItself();
    void ResourcesHoldTheGeneratedPictures();
    void StripHasItsNamedControls();
    void StartupFlagsShowAndHide();
    void ActivationComputesMoonThenSun();
    void ActivationFollowsTheClock();
    void ActivationSkipsWhatIsSwitchedOffOrMissing();
    void UnreadablePlaceChangesNothing();
    void PolarNoticeOncePerActivation();
    void MoonPhaseComesFromTheDateNotTheTwoDigitYear();
};

void SkyUiTest::MoonPublishesItsPropertiesInOrderWithTheirDefaults() {
    const FixedClock clock(LocalTime { D(2024, 3, 14), 9, 30, 5 });
    TMoon moon(clock);
    QStringList names;
    const QMetaObject* meta = moon.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        names << QString::fromLatin1(meta->property(i).name());
    QCOMPARE(names,
        QStringList({ "BackgroundColor", "BorderSize", "CustomTime", "Hemisphere", "MoonColor",
            "Phase", "MoonDisplayType" }));
    QCOMPARE(moon.property("BackgroundColor").value<QColor>(), QColor(0, 0, 0));
    QCOMPARE(moon.property("BorderSize").toInt(), 2);
    QCOMPARE(moon.property("CustomTime").toString(), QStringLiteral("3/14/24 9:30:05 AM"));
    QCOMPARE(moon.property("Hemisphere").toInt(), 0);
    QCOMPARE(moon.property("MoonColor").value<QColor>(), QColor(255, 255, 255));
    QCOMPARE(moon.property("Phase").toDouble(), 0.0);
    QCOMPARE(moon.property("MoonDisplayType").toInt(), 0);
    QCOMPARE(moon.size(), QSize(32, 32));
}

void SkyUiTest::MoonSettersSwitchTheMode() {
    using Mode = TMoon::TMoonDisplayType;
    const FixedClock clock(LocalTime { D(2024, 3, 14), 9, 30, 0 });
    TMoon moon(clock);
    moon.setProperty("BorderSize", 3);
    moon.setProperty("MoonColor", QColor(Qt::red));
    moon.setProperty("Hemisphere", 1);
    QCOMPARE(moon.MoonDisplayType(), Mode::mdtUseSystemTime);
    QCOMPARE(moon.Hemisphere(), TMoon::THemisphere::heSouthern);
    QVERIFY(moon.setProperty("CustomTime", QStringLiteral("01/25/24 6:00:00 PM")));
    QCOMPARE(moon.MoonDisplayType(), Mode::mdtUseCustomTime);
    QVERIFY(moon.setProperty("Phase", 2.0));
    QCOMPARE(moon.MoonDisplayType(), Mode::mdtUsePhaseAngle);
    QVERIFY(moon.setProperty("MoonDisplayType", 0));
    QCOMPARE(moon.MoonDisplayType(), Mode::mdtUseSystemTime);
}

void SkyUiTest::MoonPaintsEachQuarterAndMirrorsTheSouth() {
    const FixedClock clock(LocalTime { D(2024, 3, 14), 9, 30, 0 });
    TMoon moon(clock);
    moon.SetBackgroundColor(Qt::black);
    moon.SetMoonColor(Qt::white);
    const QColor lit(Qt::white);
    const QColor dark(Qt::black);
    // 32 x 32, border 2: the disc spans columns 2 to 29 around column 16.
    struct Case {
        long double phase;
        TMoon::THemisphere hemisphere;
        QColor left, middle_left, middle_right, right;
    };
    const Case cases[] = {
        { kPi / 3, TMoon::THemisphere::heNorthern, dark, dark, dark, lit }, // waxing crescent
        { 2 * kPi / 3, TMoon::THemisphere::heNorthern, dark, lit, lit, lit }, // waxing gibbous
        { 4 * kPi / 3, TMoon::THemisphere::heNorthern, lit, lit, lit, dark }, // waning gibbous
        { 5 * kPi / 3, TMoon::THemisphere::heNorthern, lit, dark, dark, dark }, // waning crescent
        { kPi / 3, TMoon::THemisphere::heSouthern, lit, dark, dark, dark },
        { 2 * kPi / 3, TMoon::THemisphere::heSouthern, lit, lit, lit, dark },
        { 4 * kPi / 3, TMoon::THemisphere::heSouthern, dark, lit, lit, lit },
        { 5 * kPi / 3, TMoon::THemisphere::heSouthern, dark, dark, dark, lit },
    };
    for (const Case& c : cases) {
        moon.SetHemisphere(c.hemisphere);
        moon.SetPhase(c.phase);
        const QImage image = Painted(moon);
        const QString what = QStringLiteral("phase %1 hemisphere %2")
                                 .arg(static_cast<double>(c.phase))
                                 .arg(static_cast<int>(c.hemisphere));
        QVERIFY2(image.pixelColor(4, 16) == c.left, qPrintable(what));
        QVERIFY2(image.pixelColor(12, 16) == c.middle_left, qPrintable(what));
        QVERIFY2(image.pixelColor(20, 16) == c.middle_right, qPrintable(what));
        QVERIFY2(image.pixelColor(27, 16) == c.right, qPrintable(what));
        QCOMPARE(image.pixelColor(0, 0), dark); // the frame
        QCOMPARE(image.pixelColor(1, 16), dark); // the border
    }
}

void SkyUiTest::MoonPaintRecomputesThePhaseFromTheClock() {
    FixedClock clock(LocalTime { D(2024, 1, 25), 18, 0, 0 });
    TMoon moon(clock);
    Painted(moon);
    QCOMPARE(moon.Phase(), orvane::sky::PhaseAngleAt({ 2024, 1, 25, 18, 0, 0, 0 }));
    QCOMPARE(moon.CustomTime(), QStringLiteral("1/25/24 6:00:00 PM"));
    QCOMPARE(moon.MoonDisplayType(), TMoon::TMoonDisplayType::mdtUseSystemTime);
    clock.Set(LocalTime { D(2024, 2, 9), 18, 0, 0 });
    const QImage new_moon = Painted(moon);
    QCOMPARE(moon.Phase(), orvane::sky::PhaseAngleAt({ 2024, 2, 9, 18, 0, 0, 0 }));
    QCOMPARE(new_moon.pixelColor(16, 16), QColor(Qt::black));
}

void SkyUiTest::MoonSurvivesABorderWiderThanItself() {
    const FixedClock clock(LocalTime { D(2024, 3, 14), 9, 30, 0 });
    TMoon moon(clock);
    moon.SetBorderSize(20);
    moon.SetPhase(kPi / 3);
    QCOMPARE(Painted(moon).pixelColor(0, 0), QColor(Qt::black));
    moon.resize(1, 1);
    moon.SetBorderSize(2);
    moon.SetBackgroundColor(QColor(192, 192, 192));
    moon.SetMoonColor(QColor(192, 192, 192));
    QCOMPARE(Painted(moon).pixelColor(0, 0), QColor(192, 192, 192));
}

void SkyUiTest::ResourcesHoldTheGeneratedPictures() {
    for (int id = 1; id <= orvane::sky::kMoonBitmapCount; ++id) {
        const QImage stored(orvane::MoonBitmapPath(id));
        QVERIFY2(!stored.isNull(), qPrintable(orvane::MoonBitmapPath(id)));
        QCOMPARE(stored.size(), QSize(16, 16));
        QCOMPARE(stored.pixelColor(0, 0), orvane::sky::kStripSilver);
        QCOMPARE(stored.convertToFormat(QImage::Format_RGB888), orvane::sky::RenderMoonBitmap(id));
    }
    // The new moon is dark all over, the full moon bright.
    const QImage dark(orvane::MoonBitmapPath(orvane::sky::kNewMoonBitmap));
    const QImage full(orvane::MoonBitmapPath(orvane::sky::kFullMoonBitmap));
    QVERIFY(dark.pixelColor(8, 8).lightness() < 100);
    QVERIFY(full.pixelColor(8, 8).lightness() > 200);
    // Waxing is lit from the right, waning from the left.
    const QImage first_quarter(orvane::MoonBitmapPath(7));
    QVERIFY(
        first_quarter.pixelColor(12, 8).lightness() > first_quarter.pixelColor(3, 8).lightness());
    const QImage last_quarter(orvane::MoonBitmapPath(21));
    QVERIFY(last_quarter.pixelColor(3, 8).lightness() > last_quarter.pixelColor(12, 8).lightness());

    QCOMPARE(QImage(orvane::kSunriseBitmapPath).convertToFormat(QImage::Format_RGB888),
        orvane::sky::RenderSunBitmap(true));
    QCOMPARE(QImage(orvane::kSunsetBitmapPath).convertToFormat(QImage::Format_RGB888),
        orvane::sky::RenderSunBitmap(false));
}

void SkyUiTest::StripHasItsNamedControls() {
    const FixedClock clock(LocalTime { D(2024, 3, 14), 9, 0, 0 });
    SunMoonStrip strip(clock);
    QCOMPARE(strip.objectName(), QStringLiteral("Panelm1"));
    QCOMPARE(strip.size(), QSize(SunMoonStrip::kWidth, SunMoonStrip::kHeight));
    const struct {
        const char* name;
        const char* hint;
    } pictures[]
        = { { "Image42Rise", "Sunrise" }, { "Image44Set", "Sunset" }, { "Image45", "Moon phase" } };
    for (const auto& picture : pictures) {
        auto* image = strip.findChild<QLabel*>(QString::fromLatin1(picture.name));
        QVERIFY2(image, picture.name);
        QCOMPARE(image->toolTip(), QString::fromLatin1(picture.hint));
        QCOMPARE(image->accessibleName(), QString::fromLatin1(picture.hint));
        QVERIFY(image->isHidden());
    }
    QCOMPARE(strip.findChild<QLabel*>("Image45")->size(), QSize(16, 15));
    // The sun pictures are there as soon as the sun display is switched on.
    orvane::Preferences sun_on;
    sun_on.set_flag(orvane::Flag::DisplaySunriseSunset, '1');
    strip.ApplyStartupFlags(sun_on);
    QVERIFY(!strip.findChild<QLabel*>("Image42Rise")->pixmap().isNull());
    QVERIFY(!strip.findChild<QLabel*>("Image44Set")->pixmap().isNull());
    auto* rise = strip.findChild<QLabel*>("Label8");
    auto* set = strip.findChild<QLabel*>("Label9");
    QVERIFY(rise && set);
    QCOMPARE(rise->text(), QStringLiteral("Rise"));
    QCOMPARE(set->text(), QStringLiteral("Set"));
    QCOMPARE(rise->accessibleDescription(), QStringLiteral("Sunrise time"));
    QCOMPARE(set->accessibleDescription(), QStringLiteral("Sunset time"));
    QVERIFY(strip.findChild<TMoon*>("Moon1"));
    QVERIFY(strip.findChild<TMoon*>("Moon2"));
    QCOMPARE(strip.findChild<TMoon*>("Moon1")->size(), QSize(1, 1));
    for (QWidget* child : strip.findChildren<QWidget*>())
        QVERIFY2(!child->accessibleName().isEmpty() || qobject_cast<QLabel*>(child),
            qPrintable(child->objectName()));
}

void SkyUiTest::StartupFlagsShowAndHide() {
    const FixedClock clock(LocalTime { D(2024, 3, 14), 9, 0, 0 });
    SunMoonStrip strip(clock);
    const auto shown = [&](const char* name) {
        return strip.findChild<QWidget*>(QString::fromLatin1(name))->isVisibleTo(&strip);
    };
    strip.ApplyStartupFlags(PrefsWith("00001010000"));
    QVERIFY(shown("Image42Rise") && shown("Label8") && shown("Image44Set") && shown("Label9"));
    QVERIFY(shown("Image45"));
    strip.ApplyStartupFlags(PrefsWith("00001000000"));
    QVERIFY(shown("Label8") && shown("Label9"));
    QVERIFY(!shown("Image45"));
    strip.ApplyStartupFlags(PrefsWith("00000010000"));
    QVERIFY(!shown("Image42Rise") && !shown("Label8") && !shown("Image44Set") && !shown("Label9"));
    QVERIFY(shown("Image45"));
    // Only "1" shows them at start-up.
    strip.ApplyStartupFlags(PrefsWith("00002020000"));
    QVERIFY(!shown("Label8") && !shown("Image45"));
    strip.ApplyStartupFlags(PrefsWith("0000"));
    QVERIFY(!shown("Label8") && !shown("Image45"));
}

void SkyUiTest::ActivationComputesMoonThenSun() {
    const FixedClock clock(LocalTime { D(2024, 3, 14), 9, 0, 0 });
    SunMoonStrip strip(clock);
    RecordingNotifier notifier;
    const std::string flags = "00101111001"; // sun, 24-hour, moon, north, daylight saving
    strip.ApplyStartupFlags(PrefsWith(flags));
    strip.Activate(
        PrefLines(flags, "-74.01", "40.71", "-5"), PrefsWith(flags), clock.Now(), notifier);

    QVERIFY(notifier.boxes.empty());
    // New York that morning, in daylight saving time: about 07:08 and (the evening before) 19:01.
    const QString rise = strip.findChild<QLabel*>("Label8")->text();
    const QString set = strip.findChild<QLabel*>("Label9")->text();
    QVERIFY2(rise >= QStringLiteral("0706") && rise <= QStringLiteral("0710"), qPrintable(rise));
    QVERIFY2(set >= QStringLiteral("1859") && set <= QStringLiteral("1903"), qPrintable(set));

    TMoon* moon = strip.Moon1();
    QCOMPARE(moon->CustomTime(), QStringLiteral("03/14/24 6:00:00 PM"));
    QCOMPARE(moon->MoonDisplayType(), TMoon::TMoonDisplayType::mdtUseCustomTime);
    QCOMPARE(moon->Hemisphere(), TMoon::THemisphere::heNorthern);
    // Four days after the new moon of March 10: a waxing crescent.
    QCOMPARE(strip.MoonBitmapShown(),
        orvane::sky::MoonBitmapForPhase(orvane::sky::PhaseAngleAt({ 2024, 3, 14, 18, 0, 0, 0 })));
    QVERIFY(strip.MoonBitmapShown() >= 2 && strip.MoonBitmapShown() <= 6);
    QVERIFY(!strip.findChild<QLabel*>("Image45")->pixmap().isNull());

    // The 12-hour style and the southern hemisphere.
    const std::string civil = "00101010001";
    strip.Activate(
        PrefLines(civil, "-74.01", "40.71", "-5"), PrefsWith(civil), clock.Now(), notifier);
    QCOMPARE(strip.findChild<QLabel*>("Label8")->text(),
        QString(rise).remove(0, 1).insert(1, ':') + "A");
    QCOMPARE(moon->Hemisphere(), TMoon::THemisphere::heSouthern);
}

void SkyUiTest::ActivationFollowsTheClock() {
    FixedClock clock(LocalTime { D(2024, 3, 14), 9, 0, 0 });
    SunMoonStrip strip(clock);
    RecordingNotifier notifier;
    const std::string flags = "00111110000";
    const auto lines = PrefLines(flags, "-0,13", "51,51", "0");
    strip.Activate(lines, PrefsWith(flags), clock.Now(), notifier);
    const QString march_rise = strip.findChild<QLabel*>("Label8")->text();
    const int march_moon = strip.MoonBitmapShown();

    clock.Set(LocalTime { D(2024, 6, 21), 9, 0, 0 }); // a full moon near midsummer
    strip.Activate(lines, PrefsWith(flags), clock.Now(), notifier);
    const QString june_rise = strip.findChild<QLabel*>("Label8")->text();
    QVERIFY2(june_rise < march_rise, qPrintable(june_rise + " " + march_rise));
    QVERIFY2(june_rise >= QStringLiteral("0341") && june_rise <= QStringLiteral("0345"),
        qPrintable(june_rise));
    QVERIFY(strip.MoonBitmapShown() != march_moon);
    QVERIFY(strip.MoonBitmapShown() >= 13 && strip.MoonBitmapShown() <= 15);
    QVERIFY(notifier.boxes.empty());
}

void SkyUiTest::ActivationSkipsWhatIsSwitchedOffOrMissing() {
    const FixedClock clock(LocalTime { D(2024, 3, 14), 9, 0, 0 });
    SunMoonStrip strip(clock);
    RecordingNotifier notifier;
    auto* rise = strip.findChild<QLabel*>("Label8");

    // Moon off: no picture is chosen; sun on.
    strip.Activate(
        PrefLines("00001100000", "10", "50", "1"), PrefsWith("00001100000"), clock.Now(), notifier);
    QCOMPARE(strip.MoonBitmapShown(), 0);
    QVERIFY(rise->text() != QStringLiteral("Rise"));

    // A file of 23 lines: the moon runs, the sun does not.
    SunMoonStrip short_strip(clock);
    std::vector<std::string> lines = PrefLines("00101110000", "10", "50", "1");
    lines.resize(23);
    short_strip.Activate(lines, PrefsWith("00101110000"), clock.Now(), notifier);
    QVERIFY(short_strip.MoonBitmapShown() != 0);
    QCOMPARE(short_strip.findChild<QLabel*>("Label8")->text(), QStringLiteral("Rise"));

    // Sun off, place at latitude 0: no times.
    SunMoonStrip off_strip(clock);
    off_strip.Activate(
        PrefLines("00100110000", "10", "50", "1"), PrefsWith("00100110000"), clock.Now(), notifier);
    off_strip.Activate(PrefLines("00101110000", "10", "00.00", "1"), PrefsWith("00101110000"),
        clock.Now(), notifier);
    QCOMPARE(off_strip.findChild<QLabel*>("Label8")->text(), QStringLiteral("Rise"));
    QCOMPARE(off_strip.findChild<QLabel*>("Label9")->text(), QStringLiteral("Set"));
    QVERIFY(notifier.boxes.empty());
}

void SkyUiTest::UnreadablePlaceChangesNothing() {
    const FixedClock clock(LocalTime { D(2024, 3, 14), 9, 0, 0 });
    SunMoonStrip strip(clock);
    RecordingNotifier notifier;
    const std::string flags = "00101110000";
    strip.Activate(PrefLines(flags, "10", "50", "1"), PrefsWith(flags), clock.Now(), notifier);
    const QString rise = strip.findChild<QLabel*>("Label8")->text();
    const QString set = strip.findChild<QLabel*>("Label9")->text();
    for (const auto& place : std::vector<std::vector<std::string>> { { "ten", "50", "1" },
             { "10", "", "1" }, { "10", "50", "one" }, { "1O", "50", "1" } }) {
        strip.Activate(PrefLines(flags, place[0], place[1], place[2]), PrefsWith(flags),
            LocalTime { D(2024, 9, 1), 9, 0, 0 }, notifier);
        QCOMPARE(strip.findChild<QLabel*>("Label8")->text(), rise);
        QCOMPARE(strip.findChild<QLabel*>("Label9")->text(), set);
    }
    QVERIFY(notifier.boxes.empty());
}

void SkyUiTest::PolarNoticeOncePerActivation() {
    const FixedClock clock(LocalTime { D(2024, 6, 21), 9, 0, 0 });
    SunMoonStrip strip(clock);
    const std::string flags = "00101110000";
    const auto lines = PrefLines(flags, "18.96", "69.65", "1");
    const Preferences prefs = PrefsWith(flags);

    ReentrantNotifier notifier;
    notifier.again = [&] { strip.Activate(lines, prefs, clock.Now(), notifier); };
    strip.Activate(lines, prefs, clock.Now(), notifier);
    QCOMPARE(notifier.texts, QStringList { QStringLiteral("Sun up or down all day") });
    QCOMPARE(strip.findChild<QLabel*>("Label8")->text(), QStringLiteral("Rise"));

    // The next activation (another window closed) shows it again, once.
    strip.Activate(lines, prefs, clock.Now(), notifier);
    QCOMPARE(notifier.texts.size(), 2);
}

void SkyUiTest::MoonPhaseComesFromTheDateNotTheTwoDigitYear() {
    // The clock says 2099; the text "12/31/99" alone could be read as 1999.
    const FixedClock clock(LocalTime { D(2099, 12, 31), 9, 0, 0 });
    SunMoonStrip strip(clock);
    RecordingNotifier notifier;
    const std::string flags = "00000010000";
    strip.Activate(PrefLines(flags, "10", "50", "1"), PrefsWith(flags), clock.Now(), notifier);
    QCOMPARE(strip.Moon1()->CustomTime(), QStringLiteral("12/31/99 6:00:00 PM"));
    QCOMPARE(strip.Moon1()->Phase(), orvane::sky::PhaseAngleAt({ 2099, 12, 31, 18, 0, 0, 0 }));
    QVERIFY(strip.Moon1()->Phase() != orvane::sky::PhaseAngleAt({ 1999, 12, 31, 18, 0, 0, 0 }));
    QCOMPARE(strip.MoonBitmapShown(), orvane::sky::MoonBitmapForPhase(strip.Moon1()->Phase()));
}

QTEST_MAIN(SkyUiTest)
#include "sky_ui_test.moc"
