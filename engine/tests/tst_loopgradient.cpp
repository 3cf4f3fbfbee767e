// The gradient of animation frames: where each character lies on the loop of colours, and the
// colours of whole frames in every blend (the OKLab and OKLCh colours from
// oklab_reference.py's mixing functions).
#include "engine/LoopGradient.h"

#include <QTest>
#include <vector>

using namespace tintwave;
using namespace tintwave::engine;
using tintwave::engine::colorspace::Srgb8;

Q_DECLARE_METATYPE(tintwave::engine::Blend)

namespace {

ActiveColors activeOf(const QString& codes) {
    ActiveColors active;
    for (const QString& code : codes.split(u' ')) {
        const uint v = code.mid(1).toUInt(nullptr, 16);
        active.values[std::size_t(active.count++)] =
            ColorValue((v >> 16) | (v & 0xFF00) | (v & 0xFF) << 16); // red in the low byte
    }
    return active;
}

QString frameOf(const LoopRamp& ramp, qsizetype length, qsizetype frame, qsizetype frames) {
    // Two blocks, so a fill that starts inside the text is part of every row.
    auto colors = std::vector<Srgb8>(std::size_t(length));
    const qsizetype half = length / 2;
    qsizetype filled = ramp.fill(frame, frames, 0, std::span(colors).first(std::size_t(half)));
    filled += ramp.fill(frame, frames, half, std::span(colors).subspan(std::size_t(half)));
    QStringList codes;
    for (qsizetype i = 0; i < filled; ++i) {
        const Srgb8 c = colors[std::size_t(i)];
        codes << QStringLiteral("#%1%2%3")
                     .arg(c.red, 2, 16, QChar(u'0'))
                     .arg(c.green, 2, 16, QChar(u'0'))
                     .arg(c.blue, 2, 16, QChar(u'0'))
                     .toUpper();
    }
    return codes.join(u' ');
}

} // namespace

class TestLoopGradient : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void place_data();
    void place();
    void frames_data();
    void frames();
};

void TestLoopGradient::place_data() {
    QTest::addColumn<qsizetype>("i");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<qsizetype>("frame");
    QTest::addColumn<qsizetype>("frames");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("segment");
    QTest::addColumn<double>("fraction");
    const auto row = [](const char* name, qsizetype i, qsizetype length, qsizetype frame,
                        qsizetype frames, int count, int segment, double fraction) {
        QTest::newRow(name) << i << length << frame << frames << count << segment << fraction;
    };
    row("first character, first frame", 0, 4, 0, 4, 2, 0, 0.0);
    row("half a segment", 1, 4, 0, 4, 2, 0, 0.5);
    row("on the second colour", 2, 4, 0, 4, 2, 1, 0.0);
    row("last segment runs back", 3, 4, 0, 4, 2, 1, 0.5);
    row("half a cycle on", 0, 4, 2, 4, 2, 1, 0.0);
    row("wraps past the end", 3, 4, 2, 4, 2, 0, 0.5);
    row("frame N is frame 0", 1, 4, 4, 4, 2, 0, 0.5);
    row("a frame back", 1, 4, -1, 4, 2, 0, 0.0);
    row("thirds and halves", 2, 3, 1, 2, 3, 0, 0.5);
    row("one colour", 1, 3, 0, 2, 1, 0, 1.0 / 3);
    row("ten colours", 7, 100, 9, 10, 10, 9, 0.7);
    row("a long text", 999'999, 1'000'000, 999, 1000, 10, 9, 0.98999);
}

void TestLoopGradient::place() {
    QFETCH(qsizetype, i);
    QFETCH(qsizetype, length);
    QFETCH(qsizetype, frame);
    QFETCH(qsizetype, frames);
    QFETCH(int, count);
    QFETCH(int, segment);
    QFETCH(double, fraction);
    const LoopPlace got = loopPlace(i, length, frame, frames, count);
    QCOMPARE(got.segment, segment);
    QCOMPARE(got.fraction, fraction);
}

void TestLoopGradient::frames_data() {
    QTest::addColumn<QString>("colors");
    QTest::addColumn<Blend>("blend");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<qsizetype>("frames");
    QTest::addColumn<qsizetype>("frame");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const char* colors, Blend blend, qsizetype length,
                        qsizetype frames, qsizetype frame, const char* expected) {
        QTest::newRow(name) << QString::fromLatin1(colors) << blend << length << frames << frame
                            << QString::fromLatin1(expected);
    };
    const char* two = "#FF0000 #0000FF";
    const char* three = "#FF0000 #00FF00 #0000FF";
    const char* dusk = "#102030 #F0E0D0 #55AA00";
    row("rgb two, frame 0", two, Blend::Rgb, 4, 4, 0, "#FF0000 #800080 #0000FF #800080");
    row("rgb two, frame N/2", two, Blend::Rgb, 4, 4, 2, "#0000FF #800080 #FF0000 #800080");
    row("rgb three, frame 0", three, Blend::Rgb, 6, 4, 0,
        "#FF0000 #808000 #00FF00 #008080 #0000FF #800080");
    row("rgb three, frame 1", three, Blend::Rgb, 6, 4, 1,
        "#40BF00 #00BF40 #0040BF #4000BF #BF0040 #BF4000");
    row("rgb three, frame N/2", three, Blend::Rgb, 6, 4, 2,
        "#008080 #0000FF #800080 #FF0000 #808000 #00FF00");
    row("rgb uneven, frame 0", dusk, Blend::Rgb, 7, 6, 0,
        "#102030 #707275 #D0C5B9 #C4D195 #81B93B #4B9607 #2E5B1B");
    row("rgb uneven, frame N/2", dusk, Blend::Rgb, 7, 6, 3,
        "#A2C568 #60AE0F #3C7911 #1F3E26 #404952 #A09B97 #E5DCC1");
    row("oklab two, frame 0", two, Blend::OkLab, 4, 4, 0, "#FF0000 #8C53A2 #0000FF #8C53A2");
    row("oklab three, frame N/2", three, Blend::OkLab, 5, 2, 1,
        "#00AABF #2930ED #BA4D79 #E87F00 #6CEF00");
    row("oklab uneven, frame 0", dusk, Blend::OkLab, 7, 6, 0,
        "#102030 #676C71 #CCC2B7 #C6D2A2 #85BB58 #499522 #2A5836");
    row("oklab uneven, frame N/2", dusk, Blend::OkLab, 7, 6, 3,
        "#A6C77E #62AE26 #397631 #1C3C35 #3A4450 #989694 #E5DDC5");
    row("oklch three, frame 0", three, Blend::OkLch, 5, 2, 0,
        "#FF0000 #E8AD00 #00EE8D #006AFF #A300D9");
    row("oklch uneven, frame 1", dusk, Blend::OkLch, 7, 6, 1,
        "#877280 #E3CFC2 #DAC483 #94B126 #009254 #00515F #202A3D");
    row("oklch uneven, frame N/2", dusk, Blend::OkLch, 7, 6, 3,
        "#C8BC64 #6EAC07 #007D63 #003C50 #424055 #A88F94 #EED9C1");
    row("one colour stays", "#336699", Blend::OkLch, 3, 5, 2, "#336699 #336699 #336699");
}

void TestLoopGradient::frames() {
    QFETCH(QString, colors);
    QFETCH(Blend, blend);
    QFETCH(qsizetype, length);
    QFETCH(qsizetype, frames);
    QFETCH(qsizetype, frame);
    QFETCH(QString, expected);
    const LoopRamp ramp(activeOf(colors), length, blend);
    QCOMPARE(frameOf(ramp, length, frame, frames), expected);
    // A whole cycle on, the frame comes round again.
    QCOMPARE(frameOf(ramp, length, frame + frames, frames), expected);
}

QTEST_GUILESS_MAIN(TestLoopGradient)
#include "tst_loopgradient.moc"
