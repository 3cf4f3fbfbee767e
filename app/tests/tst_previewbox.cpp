#include "app/PreviewBox.h"
#include "color/ColorProcs.h"
#include "platform/memory/MemoryPlatform.h"

#include <QTest>
#include <QTextBoundaryFinder>
#include <QTextLayout>

using namespace tintwave;
using namespace tintwave::app;
using namespace Qt::StringLiterals;

class TestPreviewBox : public QObject {
    Q_OBJECT
    platform::FixedSystemColors systemColors;
    std::unique_ptr<PreviewBox> box;

    // Shows text with one colour per grapheme, the colour of its first unit i.
    void show(const QString& text, const std::function<ColorValue(qsizetype)>& color,
              bool styled = false) {
        std::vector<engine::CharColor> chars;
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
        for (qsizetype i = 0, next; (next = graphemes.toNextBoundary()) > 0; i = next) {
            chars.push_back({i, next - i, color(i)});
        }
        box->showColorized(text, chars, engine::kNone, styled, styled, styled);
    }
    // Where the background shows.
    QImage background() const {
        return box->viewport()
            ->grab()
            .toImage()
            .convertToFormat(QImage::Format_RGB32)
            .createMaskFromColor(box->palette().color(QPalette::Base).rgb());
    }
    int pixelsOf(QColor color) const {
        const QImage image =
            box->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
        return int(std::count(pixels, pixels + image.width() * image.height(), color.rgb()));
    }

private Q_SLOTS:
    void init() {
        systemColors.windowBackground = 0xEFCDAB;
        box = std::make_unique<PreviewBox>(systemColors);
        box->resize(471, 49);
    }

    // Every unit of a grapheme gets its colour, and a new run replaces the old one whole.
    void showColorized_coloursEveryUnitOfAGrapheme_nextRunReplacesAll() {
        show(u"abcdef"_s, [](qsizetype) { return 0; });
        box->setSelection(1, 3);
        const QString text = u"e\u0301😀🇩🇪z"_s; // combining accent, surrogate pair, two flags
        box->showColorized(text, {{0, 2, 0x11}, {2, 2, 0x2200}, {4, 4, 0x330000}, {8, 1, 0x44}},
                           engine::kNone, false, false, false);
        QCOMPARE(box->toPlainText(), text);
        QList<ColorValue> shown;
        for (qsizetype i = -1; i <= text.size(); ++i) {
            shown << box->colorAt(i);
        }
        QCOMPARE(shown, (QList<ColorValue>{-1, 0x11, 0x11, 0x2200, 0x2200, 0x330000, 0x330000,
                                           0x330000, 0x330000, 0x44, -1}));
        QCOMPARE(box->selectionLength(), 0);
    }

    // Packed red is in the low byte: 0x0000FF paints pure red, never blue.
    void paint_packedColoursOverTheBackground() {
        QCOMPARE(box->palette().color(QPalette::Base), QColor(0xAB, 0xCD, 0xEF));
        box->setBackColor(0x123456);
        show(
            u"MMMMMMMM"_s, [](qsizetype) { return 0xFF; }, true);
        QCOMPARE(box->palette().color(QPalette::Base), QColor(0x56, 0x34, 0x12));
        QVERIFY(pixelsOf(QColor(0x56, 0x34, 0x12)) > 1000);
        QVERIFY(pixelsOf(Qt::red) > 20);
        QCOMPARE(pixelsOf(Qt::blue) + pixelsOf(Qt::black), 0);
    }

    // Colours never change the shaping: each script, coloured red and blue by turns per
    // character, covers exactly the pixels it covers in one colour (letters joined,
    // conjuncts and emoji sequences whole, right-to-left runs in their visual order).
    void paint_colourPerCharacter_shapesLikeOneColour_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("Arabic") << u"مرحبا لا"_s;
        QTest::newRow("Hebrew") << u"שָׁלוֹם"_s;
        QTest::newRow("mixed directions") << u"a מרחב 12 b سلام!"_s;
        QTest::newRow("Devanagari") << u"क्षत्रिय हिन्दी"_s;
        QTest::newRow("Thai") << u"สวัสดีครับ"_s;
        QTest::newRow("emoji family") << u"👨‍👩‍👧‍👦"_s;
        QTest::newRow("flag") << u"🇩🇪"_s;
        QTest::newRow("combining accents") << u"e\u0301a\u0308o\u0323\u0302"_s;
    }
    void paint_colourPerCharacter_shapesLikeOneColour() {
        QFETCH(QString, text);
        box->setBackColor(0xFFFFFF);
        show(text, [](qsizetype) { return 0; });
        const QImage oneColour = background();
        QVERIFY(pixelsOf(Qt::white) < oneColour.width() * oneColour.height());
        int turn = 0;
        show(text, [&turn](qsizetype) { return turn++ % 2 ? 0xFF0000 : 0x0000FF; });
        QCOMPARE(background(), oneColour);
        QVERIFY(turn == 1 || (pixelsOf(Qt::red) > 0 && pixelsOf(Qt::blue) > 0));
    }

    // Each whole-box style changes how every character is drawn, underline as bold and
    // italic do, also where each character has a colour of its own: in each third of the
    // text's width some pixel differs.
    void paint_eachStyleShowsOnEveryCharacter_data() {
        QTest::addColumn<int>("style"); // 1 bold, 2 italic, 4 underline
        QTest::newRow("bold") << 1;
        QTest::newRow("italic") << 2;
        QTest::newRow("underline") << 4;
    }
    void paint_eachStyleShowsOnEveryCharacter() {
        QFETCH(int, style);
        const std::vector<engine::CharColor> chars{{0, 1, 0}, {1, 1, 0x40}, {2, 1, 0x80}};
        box->showColorized(u"iii"_s, chars, engine::kNone, false, false, false);
        const QImage plain = background();
        box->showColorized(u"iii"_s, chars, engine::kNone, style & 1, style & 2, style & 4);
        const QImage styled = background();
        // From the first column the plain text inks to its last, in thirds.
        int left = plain.width(), right = 0;
        for (int x = 0; x < plain.width(); ++x) {
            for (int y = 0; y < plain.height(); ++y) {
                left = plain.pixelIndex(x, y) == 0 ? std::min(left, x) : left;
                right = plain.pixelIndex(x, y) == 0 ? x + 1 : right;
            }
        }
        const int width = right - left;
        for (int third = 0; third < 3; ++third) {
            bool differs = false;
            for (int x = left + third * width / 3; x < left + (third + 1) * width / 3; ++x) {
                for (int y = 0; y < plain.height(); ++y) {
                    differs = differs || plain.pixelIndex(x, y) != styled.pixelIndex(x, y);
                }
            }
            QVERIFY2(differs, qPrintable(QString::number(third)));
        }
    }

    // The chosen face is found as a browser finds it, whatever the box's own style hint.
    void showColorized_faceFoundWhateverTheBoxHint() {
        QFont sans(u"Arial"_s);
        sans.setStyleHint(QFont::SansSerif);
        box->setFont(sans);
        box->showColorized(u"x"_s, {{0, 1, 0}}, u"Courier New"_s, false, false, false);
        QVERIFY(QFontInfo(box->displayFont()).fixedPitch());
    }

    // A long paragraph is laid out in pieces as it scrolls into view; the lines must
    // start where laying it out in one go starts them.
    void wrapping_longParagraphInPieces_matchesWrappingInOneGo() {
        QString text;
        for (int i = 0; text.size() < 6000; ++i) {
            text += u"word%1 "_s.arg(i * 7919 % 100000);
        }
        text += QString(2800, u'x');
        show(text, [](qsizetype i) { return color::rgb(0, 0, int(i % 256)); });
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
};

QTEST_MAIN(TestPreviewBox)
#include "tst_previewbox.moc"
