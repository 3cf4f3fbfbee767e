#include "engine/ColorProcs.h"
#include "engine/Colorize.h"

#include <QRegularExpression>
#include <QTest>

using namespace tintwave;
using namespace tintwave::engine;
using namespace Qt::StringLiterals;

namespace {

// Colours in consecutive slots from firstSlot; every other slot empty.
SlotValues slotsWith(const QList<int>& colors, int firstSlot = 0) {
    SlotValues values;
    values.fill(kButtonFace);
    for (int i = 0; i < colors.size(); ++i) {
        values[std::size_t(firstSlot + i)] = colors[i];
    }
    return values;
}

ColorizeOptions optionsWith(const QString& face, const QString& size, const QString& styles) {
    return {face,
            size,
            styles.contains(u'c'),
            styles.contains(u'b'),
            styles.contains(u'i'),
            styles.contains(u'u')};
}

// The colour of every per-character tag, in order, as packed values.
QList<ColorValue> tagColors(const QString& code) {
    QList<ColorValue> colors;
    static const QRegularExpression tag(u"<font color=\"#(..)(..)(..)\">"_s);
    for (const auto& m : tag.globalMatch(code)) {
        colors << rgb(m.captured(1).toInt(nullptr, 16), m.captured(2).toInt(nullptr, 16),
                      m.captured(3).toInt(nullptr, 16));
    }
    return colors;
}

QList<ColorValue> charColors(const ColorizeResult& result) {
    QList<ColorValue> colors;
    for (const CharColor& c : result.chars) {
        colors << c.color;
    }
    return colors;
}

const ColorizeOptions kPlain;

} // namespace

class TestColorize : public QObject {
    Q_OBJECT
private slots:
    void colorize_fixedInput_exactMarkup_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("colors");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("styles");
        QTest::addColumn<QString>("expected");
        QTest::newRow("black to white")
            << u"ABCDE"_s << QList<int>{0x000000, 0xFFFFFF} << u"None"_s << u"None"_s << QString()
            << u"<font color=\"#000000\">A</font><font color=\"#2A2A2A\">B</font>"
               "<font color=\"#555555\">C</font><font color=\"#808080\">D</font>"
               "<font color=\"#AAAAAA\">E</font>"_s;
        QTest::newRow("one char, ten colours")
            << u"Q"_s << QList<int>{0x0000FF, 1, 2, 3, 4, 5, 6, 7, 8, 9} << u"None"_s << u"None"_s
            << QString() << u"<font color=\"#FF0000\">Q</font>"_s;
        QTest::newRow("falling red, L 2")
            << u"ab"_s << QList<int>{0x0000FF, 0x000000, 0xFFFFFF} << u"None"_s << u"None"_s
            << QString() << u"<font color=\"#FF0000\">a</font><font color=\"#800000\">b</font>"_s;
        QTest::newRow("equal colours")
            << u"ab"_s << QList<int>{0xABCDEF, 0xABCDEF} << u"None"_s << u"None"_s << QString()
            << u"<font color=\"#EFCDAB\">a</font><font color=\"#EFCDAB\">b</font>"_s;
        QTest::newRow("size only")
            << u"x"_s << QList<int>{0x00FF00} << u"None"_s << u"+1"_s << QString()
            << u"<font size=+1><font color=\"#00FF00\">x</font></font>"_s;
        QTest::newRow("face only")
            << u"x"_s << QList<int>{0x00FF00} << u"Arial"_s << u"None"_s << QString()
            << u"<font face=\"Arial\"><font color=\"#00FF00\">x</font></font>"_s;
        QTest::newRow("lower-case none is a face")
            << u"x"_s << QList<int>{0} << u"none"_s << u"+2"_s << QString()
            << u"<font face=\"none\" size=+2><font color=\"#000000\">x</font></font>"_s;
        QTest::newRow("all styles")
            << u"x"_s << QList<int>{0} << u"Arial"_s << u"-1"_s << u"ubic"_s
            << u"<center><b><i><u><font face=\"Arial\" size=-1><font color=\"#000000\">x</font>"
               "</font></u></i></b></center>"_s;
        QTest::newRow("not escaped")
            << u"<\"&"_s << QList<int>{0x102030} << u"None"_s << u"None"_s << u"b"_s
            << u"<b><font color=\"#302010\"><</font><font color=\"#302010\">\"</font>"
               "<font color=\"#302010\">&</font></b>"_s;
    }
    void colorize_fixedInput_exactMarkup() {
        QFETCH(QString, text);
        QFETCH(QList<int>, colors);
        QFETCH(QString, face);
        QFETCH(QString, size);
        QFETCH(QString, styles);
        QFETCH(QString, expected);
        const ColorizeResult result =
            colorize(text, slotsWith(colors), optionsWith(face, size, styles));
        QVERIFY(result.ok());
        QCOMPARE(result.code, expected);
        QCOMPARE(charColors(result), tagColors(result.code));
    }

    void colorize_gapsBetweenSlots_areSkipped() {
        SlotValues sparse = slotsWith({});
        sparse[3] = 0x123456;
        sparse[8] = 0xFEDCBA;
        const ColorizeResult result = colorize(u"gradient"_s, sparse, kPlain);
        const ColorizeResult packed =
            colorize(u"gradient"_s, slotsWith({0x123456, 0xFEDCBA}), kPlain);
        QCOMPARE(result.code, packed.code);
        QCOMPARE(result.chars, packed.chars);
    }

    // Ten colours, one distinct grey level per slot: 0, 20, 40, ... 180.
    void colorize_tenColours_segmentsStartOnTheirColour_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("segment");
        QTest::addColumn<int>("lastLevel");
        QTest::newRow("100 chars") << 100 << 12 << 160 + 3 * 20 / 12;
        QTest::newRow("10 chars") << 10 << 2 << 90;
    }
    void colorize_tenColours_segmentsStartOnTheirColour() {
        QFETCH(int, length);
        QFETCH(int, segment);
        QFETCH(int, lastLevel);
        QList<int> greys;
        for (int i = 0; i < 10; ++i) {
            greys << rgb(20 * i, 20 * i, 20 * i);
        }
        const QList<ColorValue> colors =
            tagColors(colorize(QString(length, u'x'), slotsWith(greys), kPlain).code);
        QCOMPARE(colors.size(), length);
        for (int p = 0; p < length; p += segment) {
            QCOMPARE(colors[p], greys[p / segment]);
        }
        QCOMPARE(colors.back(), rgb(lastLevel, lastLevel, lastLevel));
        QVERIFY(!colors.contains(greys.back()));
    }

    // é as e + combining acute, 😀, 🇩🇪, CR LF and a ZWJ family: five characters.
    void colorize_graphemeClusters_oneTagAndOneEntryEach() {
        const QString text =
            u"e\u0301\U0001F600\U0001F1E9\U0001F1EA\r\n\U0001F468\u200D\U0001F469\u200D\U0001F467"_s;
        const ColorizeResult result = colorize(text, slotsWith({0x000000, 0xFFFFFF}), kPlain);
        const QString expected = u"<font color=\"#000000\">e\u0301</font>"
                                 "<font color=\"#2A2A2A\">\U0001F600</font>"
                                 "<font color=\"#555555\">\U0001F1E9\U0001F1EA</font>"
                                 "<font color=\"#808080\">\r\n</font>"
                                 "<font color=\"#AAAAAA\">\U0001F468\u200D\U0001F469\u200D"
                                 "\U0001F467</font>"_s;
        QCOMPARE(result.code, expected);
        const std::vector<CharColor> chars{{0, 2, 0x000000},
                                           {2, 2, 0x2A2A2A},
                                           {4, 4, 0x555555},
                                           {8, 2, 0x808080},
                                           {10, 8, 0xAAAAAA}};
        QCOMPARE(result.chars, chars);
    }

    void colorize_badInput_reportsErrorOnly() {
        const auto empty = colorize(QString(), slotsWith({}), kPlain);
        QCOMPARE(empty.error, ColorizeError::EmptyText);
        QCOMPARE(messageFor(*empty.error), u"You must type something.");
        const auto noColor = colorize(u"text"_s, slotsWith({}), kPlain);
        QCOMPARE(noColor.error, ColorizeError::NoColor);
        QVERIFY(noColor.code.isEmpty() && noColor.chars.empty());
        QCOMPARE(messageFor(*noColor.error), u"You must select at least one color");
    }
};

QTEST_APPLESS_MAIN(TestColorize)
#include "tst_colorize.moc"
