#include "app/PreviewBox.h"
#include "color/ColorProcs.h"
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

// One character per UTF-16 unit, in red or in a ramp of blue.
std::vector<CharColor> perUnit(const QString& text, bool ramp = false) {
    std::vector<CharColor> chars;
    for (qsizetype i = 0; i < text.size(); ++i)
        chars.push_back({i, 1, ramp ? color::rgb(0, 0, int(i % 256)) : 0x0000FF});
    return chars;
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
    std::unique_ptr<PreviewBox> box;

    void show(const QString& text, bool ramp = false) {
        box->showColorized(text, perUnit(text, ramp), engine::kNone, false, false, false);
    }

private Q_SLOTS:
    void initTestCase() { systemColors.windowBackground = 0xEFCDAB; }
    void init() {
        box = std::make_unique<PreviewBox>(systemColors);
        box->resize(471, 49);
    }
    void cleanup() { box.reset(); }

    void showColorized_coloursEveryUnitOfAGrapheme_nextRunReplacesAll() {
        show(u"abcdef"_s);
        box->setSelection(1, 3);
        // e + combining acute, a surrogate-pair emoji, a two-flag sequence, a plain letter
        const QString text = u"e\u0301😀🇩🇪z"_s;
        box->showColorized(text,
                           {{0, 2, 0x000011}, {2, 2, 0x002200}, {4, 4, 0x330000}, {8, 1, 0x44}},
                           engine::kNone, false, false, false);
        QCOMPARE(box->toPlainText(), text);
        QList<ColorValue> shown;
        for (qsizetype i = -1; i <= text.size(); ++i)
            shown << box->colorAt(i);
        QCOMPARE(shown, (QList<ColorValue>{-1, 0x000011, 0x000011, 0x002200, 0x002200, 0x330000,
                                           0x330000, 0x330000, 0x330000, 0x44, -1}));
        QCOMPARE(box->selectionLength(), 0);
    }

    void paint_packedColoursOverTheBackgroundKeptAcrossRuns() {
        QCOMPARE(box->backColor(), kWindowBackground);
        QCOMPARE(box->palette().color(QPalette::Base), QColor(0xAB, 0xCD, 0xEF));
        box->setBackColor(0x123456);
        // Packed red is in the low byte: 0x0000FF must paint pure red, never blue.
        box->showColorized(u"MMMMMMMM"_s, perUnit(u"MMMMMMMM"_s), engine::kNone, true, true, true);
        QCOMPARE(box->backColor(), 0x123456);
        QCOMPARE(box->palette().color(QPalette::Base), QColor(0x56, 0x34, 0x12));
        QVERIFY(pixelsOf(*box, QColor(0x56, 0x34, 0x12)) > 1000);
        QVERIFY(pixelsOf(*box, Qt::red) > 20);
        QCOMPARE(pixelsOf(*box, Qt::blue), 0);
        QCOMPARE(pixelsOf(*box, Qt::black), 0);
    }

    // The face on every character (kNone keeps the box's Arial); each run sets all three
    // whole-box styles, so none lingers from the run before.
    void faceAndStyles_followEachRun() {
        using Run = std::tuple<QString, bool, bool, bool>; // face, bold, italic, underline
        QStringList shown;
        for (const auto& [face, bold, italic, underline] :
             {Run{u"Courier New"_s, true, false, false}, Run{engine::kNone, false, true, false},
              Run{engine::kNone, false, false, true},
              Run{u"Times New Roman"_s, false, false, false}}) {
            box->showColorized(u"abc"_s, perUnit(u"abc"_s), face, bold, italic, underline);
            const QFont f = box->displayFont();
            shown << QStringLiteral("%1 %2 %3%4%5")
                         .arg(f.families().value(0))
                         .arg(f.pointSizeF())
                         .arg(f.bold())
                         .arg(f.italic())
                         .arg(f.underline());
        }
        QCOMPARE(shown, QStringList({"Courier New 14.25 100", "Arial 14.25 010", "Arial 14.25 001",
                                     "Times New Roman 14.25 000"}));
    }

    void click_emitsClicked_dragSelectsWithoutClicking() {
        box->show();
        const QString text = u"The quick brown fox"_s;
        show(text);
        QSignalSpy clicks(box.get(), &PreviewBox::clicked);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(30, 20));
        QTest::mouseClick(box->viewport(), Qt::RightButton, {}, QPoint(30, 20));
        QCOMPARE(clicks.count(), 1);

        QTest::mousePress(box->viewport(), Qt::LeftButton, {}, QPoint(1, 20));
        QMouseEvent move(QEvent::MouseMove, QPointF(460, 20),
                         box->viewport()->mapToGlobal(QPointF(460, 20)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box->viewport(), &move);
        QTest::mouseRelease(box->viewport(), Qt::LeftButton, {}, QPoint(460, 20));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(box->selectedText(), text);
    }

    void copy_givesTheOriginalTextWithItsLineBreaks() {
        box->resize(120, 49);
        const QString text = u"first line\r\nsecond 😀 line\nthird"_s;
        show(text);
        box->setFocus();
        QTest::keyClick(box.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
    }

    void wrapping_longParagraphInPieces_matchesWrappingInOneGo() {
        QString text;
        for (int i = 0; text.size() < 6000; ++i)
            text += u"word%1 "_s.arg(i * 7919 % 100000);
        text += QString(70, u'x').repeated(40);
        show(text, true);

        QTextLayout whole(text, box->displayFont());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        whole.setTextOption(option);
        std::vector<qsizetype> expected;
        whole.beginLayout();
        for (QTextLine l = whole.createLine(); l.isValid(); l = whole.createLine()) {
            l.setLineWidth(box->viewport()->width() - 4);
            expected.push_back(l.textStart());
        }
        whole.endLayout();
        QVERIFY(expected.size() > 50);
        QCOMPARE(box->wrappedLineStarts(), expected);
    }

    void hugeParagraph_showsAtOnce_andScrollsToItsEnd() {
        box->show();
        const QString text = u"x"_s.repeated(300'000);
        QElapsedTimer timer;
        timer.start();
        show(text, true);
        box->grab();
        QVERIFY2(timer.elapsed() < 2000, "a long line must not be laid out all at once");

        QTest::keyClick(box.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(box->verticalScrollBar()->value(), box->verticalScrollBar()->maximum());
        QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          QPoint(460, box->viewport()->height() - 3));
        QCOMPARE(box->selectionStart() + box->selectionLength(), text.size());
    }
};

QTEST_MAIN(TestPreviewBox)
#include "tst_previewbox.moc"
