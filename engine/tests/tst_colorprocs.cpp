#include "engine/ColorProcs.h"

#include <QTest>
#include <cmath>

using namespace tintwave;
using namespace tintwave::engine;

class TestColorProcs : public QObject {
    Q_OBJECT
private slots:
    void components_splitPackedValue_data() {
        QTest::addColumn<int>("color");
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("g");
        QTest::addColumn<int>("b");
        QTest::newRow("plain") << 0x123456 << 0x56 << 0x34 << 0x12;
        // Negative values: AND on the 32-bit pattern, division truncating toward zero.
        QTest::newRow("minus 256") << -256 << 0 << 255 << 0;
        QTest::newRow("minus 65536") << -65536 << 0 << 0 << -1;
        QTest::newRow("button face") << int(kButtonFace) << 15 << 1 << -32767;
    }
    void components_splitPackedValue() {
        QFETCH(int, color);
        QFETCH(int, r);
        QFETCH(int, g);
        QFETCH(int, b);
        QCOMPARE(red(color), r);
        QCOMPARE(green(color), g);
        QCOMPARE(blue(color), b);
    }

    void inc_equalComponents_exactlyZeroEvenForZeroLength() {
        QCOMPARE(inc(7, 7, 0.0), 0.0);
        QCOMPARE(inc(0, 255, 6), 42.5);
        QCOMPARE(inc(255, 0, 2), -127.5);
    }

    void roundHalfEven_agreesWithNearestEven() {
        // std::nearbyint in the default rounding mode is the independent reference.
        for (int k = -4096; k <= 4096; ++k) {
            const double x = k / 16.0;
            QCOMPARE(roundHalfEven(x), int(std::nearbyint(x)));
        }
        for (int k = 0; k <= 255; ++k) {
            const int expected = k % 2 == 0 ? k : k + 1;
            QCOMPARE(roundHalfEven(k + 0.5), expected);
        }
    }

    void hexPair_twoUpperCaseDigitsOfRoundedValue() {
        for (int k = 0; k <= 1023; ++k) {
            const double x = k / 4.0;
            const QString expected = QString::asprintf("%02X", int(std::nearbyint(x)));
            QCOMPARE(hexPair(x), expected);
        }
        QCOMPARE(hexPair(42.5), u"2A");
        QCOMPARE(hexPair(127.5), u"80");
        QCOMPARE(hexPair(4095.0), u"FFF");
    }

    void colorCodeAndPack_useTheSameRounding() {
        QCOMPARE(colorCode(255, 128, 0), u"#FF8000");
        QCOMPARE(colorCode(127.5, 42.5, 0.5), u"#802A00");
        QCOMPARE(packRounded(127.5, 42.5, 0.5), rgb(128, 42, 0));
    }
};

QTEST_APPLESS_MAIN(TestColorProcs)
#include "tst_colorprocs.moc"
