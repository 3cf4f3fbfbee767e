// Recovering the palette from a code: for codes colorize made, the options found make the same
// code again, byte for byte; for others, the best fit and its true largest difference.
#include "color/ColorProcs.h"
#include "engine/ColorSets.h"
#include "engine/Colorize.h"
#include "engine/Decode.h"
#include "engine/DecodedWriter.h"
#include "engine/PaletteFit.h"

#include <QRandomGenerator>
#include <QTest>

using namespace tintwave;
using namespace tintwave::engine;
using namespace Qt::StringLiterals;

namespace {

SlotValues slotsOf(const std::vector<ColorValue>& colors) {
    SlotValues values;
    values.fill(kButtonFace);
    std::copy(colors.begin(), colors.end(), values.begin());
    return values;
}

std::vector<ColorValue> colorsOf(const ColorizeResult& result) {
    std::vector<ColorValue> colors;
    for (const CharColor& c : result.chars) {
        colors.push_back(c.color);
    }
    return colors;
}

} // namespace

class TestPaletteFit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Random palettes of 1 .. 10 colours (sometimes near each other, sometimes repeated), every
    // blend and spread, texts of 1 .. 3000 characters with blanks in every format: decoded,
    // fitted and colorized again, the code is the same. Seeded, so a failure repeats. Discord
    // and IRC codes read back as their sets' colours, which a gradient meets only by chance.
    void fitPalette_remakesColorizedCodes_data() {
        QTest::addColumn<QString>("formatName");
        for (const QString& name : decodableFormatNames()) {
            if (!shownColorSet({.format = *parseFormat(name)})) {
                QTest::newRow(qPrintable(name)) << name;
            }
        }
    }
    void fitPalette_remakesColorizedCodes() {
        QFETCH(QString, formatName);
        const OutputFormat format = *parseFormat(formatName);
        QRandomGenerator random(19 + quint32(format));
        int remade = 0;
        constexpr int kRuns = 60;
        for (int run = 0; run < kRuns; ++run) {
            std::vector<ColorValue> palette(std::size_t(random.bounded(1, 11)));
            for (ColorValue& c : palette) {
                c = random.bounded(4) == 0 && &c != palette.data()
                        ? ((&c)[-1] + random.bounded(0x030303)) & 0xFFFFFF
                        : ColorValue(random.bounded(1 << 24));
            }
            const int length =
                random.bounded(4) == 0 ? random.bounded(1, 3000) : random.bounded(1, 60);
            QString text;
            for (int i = 0; i < length; ++i) {
                text += random.bounded(6) == 0 ? u' ' : QChar(u'a' + random.bounded(26));
            }
            ColorizeOptions options{.bold = random.bounded(2) == 1};
            options.output = {.format = format,
                              .blend = Blend(random.bounded(3)),
                              .spread = Spread(random.bounded(2)),
                              .merge = hasRunOptions(format) && random.bounded(2) == 1,
                              .skipBlanks = hasRunOptions(format) && random.bounded(2) == 1};
            const QString code = colorize(text, slotsOf(palette), options).code;
            const DecodedText decoded = decode(code, format).decoded;
            const PaletteFit fit = fitDecoded(decoded);
            options.output.blend = fit.blend;
            options.output.spread = fit.spread;
            const bool same = colorize(decoded.text, slotsOf(fit.colors), options).code == code;
            // A fit that is not exact makes other colours: never the same code.
            QVERIFY2(same <= fit.exact, qPrintable(paletteOptions(fit)));
            remade += same;
        }
        qInfo("%s: %d of %d codes remade byte for byte", qPrintable(formatName), remade, kRuns);
        // Short texts with skipped blanks leave a colour or two without a place of its own;
        // the sweep remakes about 96% of the codes (see the report of the change).
        QVERIFY2(remade * 100 >= kRuns * 90, qPrintable(QString::number(remade)));
    }

    // A long text puts a hundred thousand places and more between two colours: the search must
    // still find the last colour, which the classic spread never reaches.
    void fitPalette_longText_tenColoursExactly_data() {
        QTest::addColumn<int>("blend");
        QTest::addColumn<int>("spread");
        QTest::newRow("rgb classic") << int(Blend::Rgb) << int(Spread::Classic);
        QTest::newRow("oklab even") << int(Blend::OkLab) << int(Spread::Even);
        QTest::newRow("oklch classic") << int(Blend::OkLch) << int(Spread::Classic);
    }
    void fitPalette_longText_tenColoursExactly() {
        QFETCH(int, blend);
        QFETCH(int, spread);
        std::vector<ColorValue> palette;
        for (int i = 0; i < kSlotCount; ++i) {
            palette.push_back((i * 0x3A5F17 + 0x10FF40) & 0xFFFFFF);
        }
        const ColorizeOptions options{.output = {.blend = Blend(blend), .spread = Spread(spread)}};
        const ColorizeResult made = colorize(QString(1'000'000, u'x'), slotsOf(palette), options);
        const PaletteFit fit = fitPalette(colorsOf(made));
        QVERIFY(fit.exact);
        const ColorizeOptions again{.output = {.blend = fit.blend, .spread = fit.spread}};
        QCOMPARE(colorize(QString(1'000'000, u'x'), slotsOf(fit.colors), again).code, made.code);
    }

    // Colours no gradient gives: the best fit is not exact, and its largest difference per
    // channel is the one colorize really gives.
    void fitPalette_otherCodes_bestFitWithItsTrueDifference_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("bound"); // the largest difference allowed
        // MiniMessage mixes in single precision and rounds halves up.
        QTest::newRow("minimessage gradient")
            << u"<gradient:#000000:#FF0101>abcdefghijk</gradient>"_s << 1;
        QTest::newRow("twelve colours at random")
            << u"<#102030>a<#F0E0D0>b<#00FF00>c<#123456>d<#FFFFFF>e<#000000>f<#808080>g<#FF0000>h"
               "<#0000FF>i<#00FFFF>j<#FFFF00>k<#FF00FF>l"_s
            << 255;
    }
    void fitPalette_otherCodes_bestFitWithItsTrueDifference() {
        QFETCH(QString, code);
        QFETCH(int, bound);
        const DecodedText decoded = decode(code, OutputFormat::MiniMessage).decoded;
        const std::vector<ColorValue> samples = gradientSamples(decoded, OutputFormat::MiniMessage);
        const PaletteFit fit = fitPalette(samples);
        QVERIFY(!fit.colors.empty() && fit.colors.size() <= std::size_t(kSlotCount));
        const ColorizeOptions again{.output = {.blend = fit.blend, .spread = fit.spread}};
        const std::vector<ColorValue> remade =
            colorsOf(colorize(decoded.text, slotsOf(fit.colors), again));
        std::array<int, 3> largest{};
        for (std::size_t p = 0; p < samples.size(); ++p) {
            for (const auto channel : {color::red, color::green, color::blue}) {
                const int d = std::abs(channel(remade[p]) - channel(samples[p]));
                int& most = largest[channel == color::red ? 0 : channel == color::green ? 1 : 2];
                most = std::max(most, d);
            }
        }
        QCOMPARE(fit.largestDifference, largest);
        QCOMPARE(fit.exact, largest == (std::array<int, 3>{}));
        QVERIFY(*std::max_element(largest.begin(), largest.end()) <= bound);
    }
};

QTEST_APPLESS_MAIN(TestPaletteFit)
#include "tst_palettefit.moc"
