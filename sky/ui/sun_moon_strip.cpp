#include "sky/ui/sun_moon_strip.h"

#include "core/ui/dialog_style.h"
#include "core/ui/notifier.h"
#include "resources/resource_paths.h"
#include "sky/moon_phase.h"
#include "sky/option_flag.h"
#include "sky/sun_times.h"
#include "sky/ui/moon.h"

#include <QBitmap>
#include <QLabel>
#include <QPixmap>

namespace orvane::sky {
namespace {

// The strip pictures are drawn on silver, which is shown as transparent.
QPixmap TransparentPicture(const QString& path) {
    QPixmap pixmap(path);
    if (!pixmap.isNull())
        pixmap.setMask(pixmap.createMaskFromColor(kStripSilver, Qt::MaskInColor));
    return pixmap;
}

QLabel* Picture(QWidget* parent, const char* name, const QString& hint, const QRect& place) {
    auto* image = new QLabel(parent);
    image->setObjectName(QString::fromLatin1(name));
    image->setToolTip(hint);
    image->setAccessibleName(hint);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setGeometry(place);
    image->hide();
    return image;
}

QLabel* TimeLabel(QWidget* parent, const char* name, const QString& caption,
    const QString& description, const QRect& place) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    // The caption is the information; the description says which time it is.
    label->setAccessibleDescription(description);
    label->setFont(ProgramFont(QStringLiteral("MS Sans Serif"), 11));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(place);
    label->hide();
    return label;
}

TMoon* HiddenCalculator(const Clock& clock, QWidget* parent, const char* name) {
    auto* moon = new TMoon(clock, parent);
    moon->setObjectName(QString::fromLatin1(name));
    moon->setAccessibleName(QStringLiteral("Moon phase calculator"));
    moon->setGeometry(146, 12, 1, 1);
    moon->SetBackgroundColor(kStripSilver);
    moon->SetMoonColor(kStripSilver);
    moon->SetMoonDisplayType(TMoon::TMoonDisplayType::mdtUseSystemTime);
    return moon;
}

} // namespace

SunMoonStrip::SunMoonStrip(const Clock& clock, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("Panelm1"));
    setAccessibleName(QStringLiteral("Sun and moon"));
    setFixedSize(kWidth, kHeight);

    rise_image_ = Picture(this, "Image42Rise", QStringLiteral("Sunrise"), QRect(2, 2, 16, 16));
    rise_label_ = TimeLabel(this, "Label8", QStringLiteral("Rise"), QStringLiteral("Sunrise time"),
        QRect(20, 3, 44, 15));
    set_image_ = Picture(this, "Image44Set", QStringLiteral("Sunset"), QRect(66, 2, 16, 16));
    set_label_ = TimeLabel(
        this, "Label9", QStringLiteral("Set"), QStringLiteral("Sunset time"), QRect(84, 3, 44, 15));
    moon_image_ = Picture(this, "Image45", QStringLiteral("Moon phase"), QRect(130, 3, 16, 15));

    moon1_ = HiddenCalculator(clock, this, "Moon1");
    moon2_ = HiddenCalculator(clock, this, "Moon2");
}

void SunMoonStrip::ApplyStartupFlags(const Preferences& prefs) {
    const bool sun = FlagOrZero(prefs, Flag::DisplaySunriseSunset) == '1';
    // The sun pictures are decoded only once they are to be shown.
    if (sun && rise_image_->pixmap().isNull()) {
        rise_image_->setPixmap(TransparentPicture(kSunriseBitmapPath));
        set_image_->setPixmap(TransparentPicture(kSunsetBitmapPath));
    }
    rise_image_->setVisible(sun);
    rise_label_->setVisible(sun);
    set_image_->setVisible(sun);
    set_label_->setVisible(sun);
    moon_image_->setVisible(FlagOrZero(prefs, Flag::DisplayMoon) == '1');
}

void SunMoonStrip::Activate(const std::vector<std::string>& lines, const Preferences& prefs,
    const LocalTime& now, Notifier& notifier) {
    if (activating_)
        return;
    activating_ = true;
    if (MoonStepApplies(lines.size(), prefs))
        ShowMoonPhase(prefs, now);
    ShowSunTimes(lines, prefs, now, notifier);
    activating_ = false;
}

void SunMoonStrip::ShowMoonPhase(const Preferences& prefs, const LocalTime& now) {
    moon1_->SetHemisphere(FlagOrZero(prefs, Flag::NorthernHemisphere) != '0'
            ? TMoon::THemisphere::heNorthern
            : TMoon::THemisphere::heSouthern);
    moon1_->SetCustomTime(QString::fromLatin1(EveningCustomTime(now.date)));
    // The phase for 6 pm today comes from the model, taken from the date itself rather than the
    // two-digit year of the control's text; Moon1 keeps the settings it is described with.
    const long double phase = PhaseAngleAt(PartsOf(LocalTime { now.date, 18, 0, 0 }));
    const int id = MoonBitmapForPhase(phase);
    if (id == 0)
        return; // exactly on a bound: the picture stays
    moon_image_->setPixmap(TransparentPicture(MoonBitmapPath(id)));
    moon_bitmap_ = id;
}

void SunMoonStrip::ShowSunTimes(const std::vector<std::string>& lines, const Preferences& prefs,
    const LocalTime& now, Notifier& notifier) {
    const std::optional<SunRequest> request = SunRequestFromPreferences(lines, prefs, now.date);
    if (!request)
        return;
    const SunTimes times = ComputeSunTimes(*request, event_kind_);
    event_kind_ = times.event_kind;
    if (times.rise_caption)
        rise_label_->setText(QString::fromLatin1(*times.rise_caption));
    if (times.set_caption)
        set_label_->setText(QString::fromLatin1(*times.set_caption));
    for (const std::string& message : times.messages)
        notifier.Information(QString::fromLatin1(message));
}

} // namespace orvane::sky
