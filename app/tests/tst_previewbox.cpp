#include "app/PreviewBox.h"
#include "engine/ColorProcs.h"
#include "platform/memory/MemoryPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>

using namespace tintwave;
using namespace tintwave::app;
using engine::CharColor;
using namespace Qt::StringLiterals;

namespace {

// One character per UTF-16 unit, coloured by the given function of its index.
std::vector<CharColor> perUnit(const QString& text, ColorValue (*color)(qsizetype)) {
    std::vector<CharColor> chars;
    for (qsizetype i = 0; i < text.size(); ++i)
        chars.push_back({i, 1, color(i)});
    return chars;
}

ColorValue allRed(qsizetype) {
    return 0x0000FF;
}
ColorValue rampOfBlue(qsizetype i) {
    return engine::rgb(0, 0, int(i % 256));
}

// Counts pixels of exactly the given colour in what the box shows.
int pixelsOf(PreviewBox& box, QColor color) {
    const QImage image = box.viewport()->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).rgb() == color.rgb();
    return count;
}

} // namespace

class TestPreviewBox : public QObject {
    Q_OBJECT
    platform::FixedSystemColors systemColors;

private Q_SLOTS:
    void initTestCase() { systemColors.windowBackground = 0xEFCDAB; }

    void showColorized_graphemeClusters_colourEachUnitOfItsCharacter() {
        // e + combining acute, a surrogate-pair emoji, a two-flag sequence, a plain letter
        const QString text = u"e\u0301😀🇩🇪z"_s;
        const std::vector<CharColor> chars = {
            {0, 2, 0x000011}, {2, 2, 0x002200}, {4, 4, 0x330000}, {8, 1, 0x440044}};
        PreviewBox box(systemColors);
        box.showColorized(text, chars, u"None"_s, false, false, false);

        QCOMPARE(box.toPlainText(), text);
        const QList<ColorValue> expected = {0x000011, 0x000011, 0x002200, 0x002200, 0x330000,
                                            0x330000, 0x330000, 0x330000, 0x440044};
        for (qsizetype i = 0; i < text.size(); ++i)
            QCOMPARE(box.colorAt(i), expected[i]);
        QCOMPARE(box.colorAt(text.size()), -1);
        QCOMPARE(box.colorAt(-1), -1);
    }

    void showColorized_secondRun_replacesTextAndColours() {
        PreviewBox box(systemColors);
        box.showColorized(u"abcdef"_s, perUnit(u"abcdef"_s, allRed), u"None"_s, false, false,
                          false);
        box.showColorized(u"xyz"_s, perUnit(u"xyz"_s, rampOfBlue), u"None"_s, false, false, false);
        QCOMPARE(box.toPlainText(), u"xyz"_s);
        QCOMPARE(box.colorAt(2), engine::rgb(0, 0, 2));
        QCOMPARE(box.colorAt(4), -1);
    }

    void paint_showsCharactersInTheirPackedColours() {
        // Packed red is in the low byte: 0x0000FF must paint pure red, never blue.
        PreviewBox box(systemColors);
        box.resize(471, 49);
        const QString text = u"MMMMMMMM"_s;
        box.showColorized(text, perUnit(text, allRed), u"None"_s, true, false, false);
        QVERIFY(pixelsOf(box, Qt::red) > 20);
        QCOMPARE(pixelsOf(box, Qt::blue), 0);
        QCOMPARE(pixelsOf(box, Qt::black), 0);
    }

    void face_chosenOnEveryCharacter_noneKeepsBoxFace_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("family");
        QTest::newRow("chosen") << u"Courier New"_s << u"Courier New"_s;
        QTest::newRow("None") << u"None"_s << u"Arial"_s;
    }
    void face_chosenOnEveryCharacter_noneKeepsBoxFace() {
        QFETCH(QString, face);
        QFETCH(QString, family);
        PreviewBox box(systemColors);
        box.showColorized(u"Times New Roman"_s, {}, u"Times New Roman"_s, false, false, false);
        box.showColorized(u"abc"_s, perUnit(u"abc"_s, allRed), face, false, false, false);
        QCOMPARE(box.displayFont().families().value(0), family);
        QCOMPARE(box.displayFont().pointSizeF(), 14.25);
    }

    void styles_setByOneRun_clearedByTheNext_data() {
        QTest::addColumn<int>("which");
        QTest::newRow("bold") << 0;
        QTest::newRow("italic") << 1;
        QTest::newRow("underline") << 2;
    }
    void styles_setByOneRun_clearedByTheNext() {
        QFETCH(int, which);
        PreviewBox box(systemColors);
        const auto run = [&](bool on) {
            box.showColorized(u"ab"_s, perUnit(u"ab"_s, allRed), u"None"_s, on && which == 0,
                              on && which == 1, on && which == 2);
            const QFont f = box.displayFont();
            return QList<bool>{f.bold(), f.italic(), f.underline()};
        };
        QList<bool> expectedOn = {false, false, false};
        expectedOn[which] = true;
        QCOMPARE(run(true), expectedOn);
        QCOMPARE(run(false), (QList<bool>{false, false, false}));
    }

    void background_startsAsWindowColour_keptAcrossRuns() {
        PreviewBox box(systemColors);
        QCOMPARE(box.backColor(), kWindowBackground);
        QCOMPARE(box.palette().color(QPalette::Base), QColor(0xAB, 0xCD, 0xEF));

        box.setBackColor(0x123456);
        box.showColorized(u"ab"_s, perUnit(u"ab"_s, allRed), u"None"_s, true, true, true);
        QCOMPARE(box.backColor(), 0x123456);
        QCOMPARE(box.palette().color(QPalette::Base), QColor(0x56, 0x34, 0x12));
        QVERIFY(pixelsOf(box, QColor(0x56, 0x34, 0x12)) > 1000);
    }

    void showColorized_leavesNoSelection() {
        PreviewBox box(systemColors);
        box.showColorized(u"abcdef"_s, perUnit(u"abcdef"_s, allRed), u"None"_s, false, false,
                          false);
        box.setSelection(1, 3);
        QCOMPARE(box.selectedText(), u"bcd"_s);
        box.showColorized(u"ghij"_s, perUnit(u"ghij"_s, allRed), u"None"_s, false, false, false);
        QCOMPARE(box.selectionLength(), 0);
    }

    void click_emitsClicked_dragSelectsWithoutClicking() {
        PreviewBox box(systemColors);
        box.resize(471, 49);
        box.show();
        const QString text = u"The quick brown fox"_s;
        box.showColorized(text, perUnit(text, allRed), u"None"_s, false, false, false);
        QSignalSpy clicks(&box, &PreviewBox::clicked);

        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, QPoint(30, 20));
        QCOMPARE(clicks.count(), 1);
        QTest::mouseClick(box.viewport(), Qt::RightButton, {}, QPoint(30, 20));
        QCOMPARE(clicks.count(), 1);

        QTest::mousePress(box.viewport(), Qt::LeftButton, {}, QPoint(1, 20));
        QMouseEvent move(QEvent::MouseMove, QPointF(460, 20),
                         box.viewport()->mapToGlobal(QPointF(460, 20)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box.viewport(), &move);
        QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, QPoint(460, 20));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(box.selectedText(), text);
    }

    void copy_givesTheOriginalTextWithItsLineBreaks() {
        PreviewBox box(systemColors);
        box.resize(120, 49);
        const QString text = u"first line\r\nsecond 😀 line\nthird"_s;
        box.showColorized(text, perUnit(text, allRed), u"None"_s, false, false, false);
        box.setFocus();
        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
    }

    void wrapping_longParagraphInPieces_matchesWrappingInOneGo() {
        PreviewBox box(systemColors);
        box.resize(471, 49);
        QString text;
        for (int i = 0; text.size() < 6000; ++i)
            text += u"word%1 "_s.arg(i * 7919 % 100000);
        text +=
            u"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"_s.repeated(
                40);
        box.showColorized(text, perUnit(text, rampOfBlue), u"None"_s, false, false, false);

        QTextLayout whole(text, box.displayFont());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        whole.setTextOption(option);
        std::vector<qsizetype> expected;
        whole.beginLayout();
        for (QTextLine l = whole.createLine(); l.isValid(); l = whole.createLine()) {
            l.setLineWidth(box.viewport()->width() - 4);
            expected.push_back(l.textStart());
        }
        whole.endLayout();

        QVERIFY(expected.size() > 50);
        QCOMPARE(box.wrappedLineStarts(), expected);
    }

    void hugeParagraph_showsAtOnce_andScrollsToItsEnd() {
        PreviewBox box(systemColors);
        box.resize(471, 49);
        box.show();
        const QString text = u"x"_s.repeated(300'000);
        QElapsedTimer timer;
        timer.start();
        box.showColorized(text, perUnit(text, rampOfBlue), u"None"_s, false, false, false);
        box.grab();
        QVERIFY2(timer.elapsed() < 2000, "a long line must not be laid out all at once");

        QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(box.verticalScrollBar()->value(), box.verticalScrollBar()->maximum());
        QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          QPoint(460, box.viewport()->height() - 3));
        QCOMPARE(box.selectionStart() + box.selectionLength(), text.size());
    }
};

QTEST_MAIN(TestPreviewBox)
#include "tst_previewbox.moc"
