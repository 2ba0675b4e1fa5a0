#include "core/ui/text_codec.h"

#include <QTest>

using namespace orvane;

class TextCodecTest : public QObject {
    Q_OBJECT
private slots:
    void everyByteRoundTrips() {
        std::string all;
        for (int b = 0; b < 256; ++b)
            all += static_cast<char>(b);
        const QString text = FromCp1252(all);
        QCOMPARE(text.size(), 256);
        const auto back = ToCp1252(text);
        QVERIFY(back.has_value());
        QVERIFY(*back == all);
    }
    void windowsCharactersMapToTheirBytes() {
        QCOMPARE(FromCp1252("\x80"), QString(QChar(0x20AC)));
        QCOMPARE(FromCp1252("\xe9"), QStringLiteral("é"));
        QVERIFY(*ToCp1252(QStringLiteral("€ é œ")) == "\x80 \xe9 \x9c");
    }
    void charactersOutsideWindows1252AreRefused() {
        QVERIFY(!ToCp1252(QStringLiteral("Łódź")).has_value());
        QVERIFY(!IsCp1252(QChar(0x4E2D)));
    }
};

QTEST_GUILESS_MAIN(TextCodecTest)
#include "text_codec_test.moc"
