// The program's colour pairs under a light and a dark desktop palette: a background the program
// sets always comes with its text colour, and navy text always has a background it reads on.
#include "core/ui/dialog_style.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace orvane;

namespace {

QPalette DarkPalette() {
    QPalette palette(QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, QColor(0x23, 0x23, 0x23));
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::ButtonText, Qt::white);
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(QPalette::Disabled, role, QColor(0x7f, 0x7f, 0x7f));
    return palette;
}

} // namespace

class DialogStyleTest : public QObject {
    Q_OBJECT

private:
    QPalette light_;

private slots:
    void initTestCase() { light_ = QApplication::palette(); }
    void cleanup() { QApplication::setPalette(light_); }

    void contrastRatioFollowsTheAccessibilityGuidelines_data() {
        QTest::addColumn<QColor>("a");
        QTest::addColumn<QColor>("b");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("either order") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
        QTest::newRow("the same") << QColor(0x80, 0x20, 0x40) << QColor(0x80, 0x20, 0x40) << 1.0;
        // The darkest and the lightest grey that still reach 4.5 on white.
        QTest::newRow("#767676 on white") << QColor(0x76, 0x76, 0x76) << QColor(Qt::white) << 4.54;
        QTest::newRow("#777777 on white") << QColor(0x77, 0x77, 0x77) << QColor(Qt::white) << 4.48;
        QTest::newRow("pure blue on white") << QColor(Qt::blue) << QColor(Qt::white) << 8.59;
    }
    void contrastRatioFollowsTheAccessibilityGuidelines() {
        QFETCH(QColor, a);
        QFETCH(QColor, b);
        QFETCH(double, ratio);
        QVERIFY2(std::abs(ContrastRatio(a, b) - ratio) < 0.005,
            qPrintable(QString::number(ContrastRatio(a, b))));
    }

    void coloursComeInPairs_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void coloursComeInPairs() {
        QFETCH(bool, dark);
        QApplication::setPalette(dark ? DarkPalette() : light_);
        const QPalette theme = QApplication::palette();

        QWidget dialog;
        ApplyDialogBackground(&dialog);
        auto* label = new QLabel(QStringLiteral("Plain"), &dialog);
        QCOMPARE(label->palette().color(QPalette::Window), kDialogBackground);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
        // Disabled text keeps the theme's colour, so it still looks disabled.
        QCOMPARE(label->palette().color(QPalette::Disabled, QPalette::WindowText),
            theme.color(QPalette::Disabled, QPalette::WindowText));

        auto* field = new QLineEdit(&dialog);
        MarkError(field, true);
        QCOMPARE(field->palette().color(QPalette::Base), kErrorYellow);
        QCOMPARE(field->palette().color(QPalette::Text), QColor(Qt::black));
        QVERIFY(IsMarkedError(field));
        MarkError(field, false);
        QCOMPARE(field->palette().color(QPalette::Base), theme.color(QPalette::Base));
        QCOMPARE(field->palette().color(QPalette::Text), theme.color(QPalette::Text));
        QVERIFY(!IsMarkedError(field));

        // A fixed pair of the program holds when its widget is disabled too.
        SetColours(field, QPalette::Base, Qt::white, kLabelNavy, DisabledText::kSame);
        for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
            QCOMPARE(field->palette().color(group, QPalette::Base), QColor(Qt::white));
            QCOMPARE(field->palette().color(group, QPalette::Text), kLabelNavy);
        }
    }

    // Navy stays navy; where the theme's background would swallow it, the widget gets its own.
    void navyTextAlwaysReads_data() {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<bool>("on_dialog");
        QTest::addColumn<int>("text_role");
        for (const bool dark : { false, true }) {
            const char* theme = dark ? "dark" : "light";
            QTest::addRow("%s, label on a dialog", theme)
                << dark << true << int(QPalette::WindowText);
            QTest::addRow("%s, label on a window", theme)
                << dark << false << int(QPalette::WindowText);
            QTest::addRow("%s, button", theme) << dark << false << int(QPalette::ButtonText);
            QTest::addRow("%s, field", theme) << dark << false << int(QPalette::Text);
        }
    }
    void navyTextAlwaysReads() {
        QFETCH(bool, dark);
        QFETCH(bool, on_dialog);
        QFETCH(int, text_role);
        QApplication::setPalette(dark ? DarkPalette() : light_);
        const auto role = static_cast<QPalette::ColorRole>(text_role);
        const auto ground = role == QPalette::Text ? QPalette::Base
            : role == QPalette::ButtonText         ? QPalette::Button
                                                   : QPalette::Window;
        QWidget window;
        if (on_dialog)
            ApplyDialogBackground(&window);
        QWidget* widget = nullptr;
        if (role == QPalette::ButtonText)
            widget = new QPushButton(&window);
        else if (role == QPalette::Text)
            widget = new QLineEdit(&window);
        else
            widget = new QLabel(&window);
        const QColor before = widget->palette().color(ground);
        MakeNavy(widget, role);
        const QPalette after = widget->palette();
        QCOMPARE(after.color(role), kLabelNavy);
        QVERIFY(ContrastRatio(after.color(role), after.color(ground)) >= kReadableContrast);
        // A background that carries navy is left as the theme or the dialog has it.
        if (ContrastRatio(kLabelNavy, before) >= kReadableContrast)
            QCOMPARE(after.color(ground), before);
        else if (ground == QPalette::Window)
            QVERIFY(widget->autoFillBackground());
    }
};

QTEST_MAIN(DialogStyleTest)
#include "dialog_style_test.moc"
