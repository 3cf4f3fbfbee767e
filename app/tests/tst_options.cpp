// The Options menu: output format, blend, spread and merging; the choices kept between
// runs; saving by format; the code box's size line.
#include "app/tests/AppTestKit.h"
#include "engine/Colorize.h"
#include "output/Page.h"

#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSet>

using namespace tintwave;
using namespace tintwave::app;
using namespace Qt::StringLiterals;

namespace {

constexpr ColorValue E = palette::gColor;
constexpr ColorValue kRed = 0x0000FF;
constexpr ColorValue kBlue = 0xFF0000;

const palette::Palette kBlackToWhite{{0, E, E, E, E, kWhite, E, E, E, E}};
const palette::Palette kRedRed{{kRed, kRed, E, E, E, E, E, E, E, E}};
const palette::Palette kRedToBlue{{kRed, kBlue, E, E, E, E, E, E, E, E}};

// "name caption" per item, "-" for separators, with the item's state.
QStringList describe(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            out << QStringLiteral("-");
            continue;
        }
        out << a->objectName() + u' ' + a->text() + (a->isChecked() ? u" [x]"_s : u" [ ]"_s) +
                   (a->isEnabled() ? QString() : u" disabled"_s);
    }
    return out;
}

} // namespace

class TestOptions : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::ScriptedPlatform> fake;
    std::unique_ptr<frmMain1> window;

    void open() { window = std::make_unique<frmMain1>(fake->services()); }
    template <typename T = QObject> T* find(const QString& name) const {
        return window->findChild<T*>(name);
    }
    QString code() const { return find<QPlainTextEdit>("Text2")->toPlainText(); }
    QString sizeLine() const { return find<QLabel>("lblCodeSize")->text(); }
    // Triggers menu items and clicks buttons, in order.
    void activate(const QStringList& names) {
        for (const QString& name : names) {
            if (auto* button = find<QPushButton>(name))
                button->click();
            else if (auto* action = find<QAction>(name))
                action->trigger();
            else
                QFAIL(qPrintable(u"no control "_s + name));
        }
    }
    void prepare(const QString& text, const palette::Palette& colors) {
        find<QLineEdit>("txtInput")->setText(text);
        find<QAbstractButton>("chkCenter")->setChecked(false);
        window->setColors(colors);
    }

private Q_SLOTS:
    void init() {
        fake = std::make_unique<testing::ScriptedPlatform>();
        open();
    }
    void cleanup() { window.reset(); }

    void optionsMenu_standsBeforeHelpWithThreeRadioGroupsAndMerge() {
        QStringList bar;
        for (const QAction* top : window->menuBar()->actions())
            bar << top->menu()->objectName();
        QCOMPARE(bar, (QStringList{"mnuFile", "mnuSchemes", "mnuOptions", "mnuHelp"}));
        auto* options = find<QMenu>("mnuOptions");
        QCOMPARE(options->title(), u"&Options"_s);
        QCOMPARE(describe(options), (QStringList{
                                        "mnuFormatFont &Font Tags (HTML 3.2) [x]",
                                        "mnuFormatSpan &Span Tags (HTML5) [ ]",
                                        "mnuFormatBBCode &BBCode [ ]",
                                        "mnuFormatAnsi &ANSI Terminal [ ]",
                                        "-",
                                        "mnuBlendRgb &RGB Blend [x]",
                                        "mnuBlendOkLab &OKLab Blend [ ]",
                                        "mnuBlendOkLch OKLC&h Blend [ ]",
                                        "-",
                                        "mnuSpreadClassic &Classic Spread [x]",
                                        "mnuSpreadEven &Even Spread [ ]",
                                        "-",
                                        "mnuMerge &Merge Equal Colors [ ] disabled",
                                    }));

        // Every item has its own access key, and each radio item belongs to an exclusive
        // group with the others of its kind.
        QSet<QChar> keys;
        for (const QAction* a : options->actions()) {
            if (a->isSeparator())
                continue;
            const QChar key = a->text().at(a->text().indexOf(u'&') + 1).toLower();
            QVERIFY2(!keys.contains(key), qPrintable(a->text()));
            keys << key;
        }
        const auto groupOf = [this](const char* name) {
            return find<QAction>(name)->actionGroup();
        };
        QVERIFY(groupOf("mnuFormatFont")->isExclusive());
        QCOMPARE(groupOf("mnuFormatFont")->actions().size(), 4);
        QCOMPARE(groupOf("mnuBlendRgb")->actions().size(), 3);
        QCOMPARE(groupOf("mnuSpreadClassic")->actions().size(), 2);
        QVERIFY(groupOf("mnuBlendRgb")->isExclusive() && groupOf("mnuSpreadEven")->isExclusive());
        QVERIFY(!groupOf("mnuMerge"));

        activate({"mnuFormatAnsi", "mnuBlendOkLab", "mnuSpreadEven"});
        QCOMPARE(describe(options).filter(u"[x]"_s),
                 (QStringList{"mnuFormatAnsi &ANSI Terminal [x]", "mnuBlendOkLab &OKLab Blend [x]",
                              "mnuSpreadEven &Even Spread [x]"}));
    }

    void mergeItem_isDisabledOnlyForFontTags_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("font") << "mnuFormatFont" << false;
        QTest::newRow("span") << "mnuFormatSpan" << true;
        QTest::newRow("bbcode") << "mnuFormatBBCode" << true;
        QTest::newRow("ansi") << "mnuFormatAnsi" << true;
    }
    void mergeItem_isDisabledOnlyForFontTags() {
        QFETCH(QString, format);
        QFETCH(bool, enabled);
        activate({"mnuFormatSpan", "mnuMerge", format});
        QCOMPARE(find<QAction>("mnuMerge")->isEnabled(), enabled);
        QVERIFY(find<QAction>("mnuMerge")->isChecked()); // kept for the next format that merges
    }

    void colorize_writesTheChosenFormatAndPreviewsItsColours_data() {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<palette::Palette>("colors");
        QTest::addColumn<QString>("expected"); // empty: the engine's code, unlike plain RGB
        QTest::newRow("defaults give the classic code")
            << QStringList{} << kBlackToWhite
            << "<font color=\"#000000\">A</font><font color=\"#2A2A2A\">B</font>"
               "<font color=\"#555555\">C</font><font color=\"#808080\">D</font>"
               "<font color=\"#AAAAAA\">E</font>";
        QTest::newRow("span")
            << QStringList{"mnuFormatSpan"} << kBlackToWhite
            << "<span style=\"color:#000000\">A</span><span style=\"color:#2A2A2A\">B</span>"
               "<span style=\"color:#555555\">C</span><span style=\"color:#808080\">D</span>"
               "<span style=\"color:#AAAAAA\">E</span>";
        QTest::newRow("bbcode, even spread reaches white")
            << QStringList{"mnuFormatBBCode", "mnuSpreadEven"} << kBlackToWhite
            << "[color=#000000]A[/color][color=#404040]B[/color][color=#808080]C[/color]"
               "[color=#BFBFBF]D[/color][color=#FFFFFF]E[/color]";
        QTest::newRow("ansi merged") << QStringList{"mnuFormatAnsi", "mnuMerge"} << kRedRed
                                     << "\x1b[38;2;255;0;0mABCDE\x1b[0m";
        QTest::newRow("font never merges")
            << QStringList{"mnuFormatSpan", "mnuMerge", "mnuFormatFont"} << kRedRed
            << "<font color=\"#FF0000\">A</font><font color=\"#FF0000\">B</font>"
               "<font color=\"#FF0000\">C</font><font color=\"#FF0000\">D</font>"
               "<font color=\"#FF0000\">E</font>";
        QTest::newRow("oklab") << QStringList{"mnuBlendOkLab"} << kRedToBlue << QString();
        QTest::newRow("oklch even")
            << QStringList{"mnuBlendOkLch", "mnuSpreadEven"} << kRedToBlue << QString();
    }
    void colorize_writesTheChosenFormatAndPreviewsItsColours() {
        QFETCH(QStringList, items);
        QFETCH(palette::Palette, colors);
        QFETCH(QString, expected);
        prepare(u"ABCDE"_s, colors);
        activate({"Command1"});
        const QString plainRgb = code();
        activate(items);
        activate({"Command1"});

        engine::ColorizeOptions options;
        schemes::applyTo(window->outputOptions(), options);
        const engine::ColorizeResult result =
            engine::colorize(u"ABCDE"_s, colors.values(), options);
        if (expected.isEmpty()) {
            QVERIFY(code() != plainRgb);
            expected = result.code;
        }
        QCOMPARE(code(), expected);
        auto* preview = find<PreviewBox>("RTB1");
        QCOMPARE(preview->toPlainText(), u"ABCDE"_s);
        for (const engine::CharColor& c : result.chars)
            QCOMPARE(preview->colorAt(c.start), c.color);
    }

    void choices_areStoredAndReadBackAtStartUp() {
        activate({"mnuFormatSpan", "mnuBlendOkLch", "mnuSpreadEven", "mnuMerge", "mnuBlendOkLch"});
        QCOMPARE(
            fake->settings.log,
            (QStringList{"save tintwave/options/format=span", "save tintwave/options/blend=oklch",
                         "save tintwave/options/spread=even", "save tintwave/options/merge=1"}));
        QCOMPARE(fake->settings.sections(u"tintwave"_s), QStringList{"options"});

        const QStringList menu = describe(find<QMenu>("mnuOptions"));
        fake->settings.log.clear();
        open();
        QCOMPARE(describe(find<QMenu>("mnuOptions")), menu);
        QCOMPARE(window->outputOptions(),
                 (schemes::OutputOptions{engine::OutputFormat::Span, engine::Blend::OkLch,
                                         engine::Spread::Even, true}));
        QVERIFY(fake->settings.log.isEmpty());
    }

    void save_writesAPageForHtmlAndUtf8TextOtherwise_data() {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<bool>("page");
        QTest::newRow("font") << QStringList{} << true;
        QTest::newRow("span") << QStringList{"mnuFormatSpan"} << true;
        QTest::newRow("bbcode") << QStringList{"mnuFormatBBCode"} << false;
        QTest::newRow("ansi") << QStringList{"mnuFormatAnsi"} << false;
        // The box still holds span code: it goes into a page.
        QTest::newRow("span code, bbcode chosen afterwards")
            << QStringList{"mnuFormatSpan", "Command1", "mnuFormatBBCode"} << true;
        QTest::newRow("bbcode code, font chosen afterwards")
            << QStringList{"mnuFormatBBCode", "Command1", "mnuFormatFont"} << false;
    }
    void save_writesAPageForHtmlAndUtf8TextOtherwise() {
        QFETCH(QStringList, items);
        QFETCH(bool, page);
        prepare(u"Grüße"_s, kBlackToWhite);
        activate(items);
        fake->saveDialog.answers = {u"/out/a"_s, u"/out/b"_s};
        activate({"Command8"}); // runs Colorize first when the box is empty

        QCOMPARE(fake->saveDialog.asked.first(), page ? u"index.html|HTML Files (*.html *.htm)"_s
                                                      : u"tintwave.txt|Text Files (*.txt)"_s);
        const QByteArray bytes = fake->files.files.value(u"/out/a"_s);
        if (page) {
            QVERIFY(bytes.startsWith("<html>\r\n"));
            QCOMPARE(bytes, output::buildPage(code(), window->findChild<PreviewBox*>()->backColor(),
                                              fake->systemColors));
        } else {
            QVERIFY(bytes.contains("\xC3\xBC") && bytes.contains("\xC3\x9F")); // ü, ß
            QCOMPARE(bytes, code().toUtf8() + '\n');
        }

        fake->files.failWith = u"disk full"_s;
        activate({"Command8"});
        QCOMPARE(fake->messages.shown, QStringList{"Tintwave: Could not save /out/b: disk full"});
    }

    void sizeLine_countsTheCodeBoxAsItChanges() {
        QCOMPARE(sizeLine(), QString());
        prepare(QString(1000, u'a'), kBlackToWhite);
        find<QAbstractButton>("chkCenter")->setChecked(true);
        activate({"Command1"});
        // 1000 tags of 30 characters between <center> and </center>.
        QCOMPARE(code().size(), 30017);
        QCOMPARE(sizeLine(), u"30,017 characters"_s);

        auto* box = find<QPlainTextEdit>("Text2");
        box->setPlainText(u"x"_s);
        QCOMPARE(sizeLine(), u"1 character"_s);
        box->clear();
        QCOMPARE(sizeLine(), QString());
        box->setFocus();
        QTest::keyClicks(box, "ab");
        QCOMPARE(sizeLine(), u"2 characters"_s);
        box->insertPlainText(u"\ncd"_s);
        QCOMPARE(sizeLine(), u"5 characters"_s);
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
