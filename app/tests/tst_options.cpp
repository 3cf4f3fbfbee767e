// The Options menu: output format, blend, spread and merging; the choices kept between
// runs; saving by format; the code box's size line. Captions are pinned by the menu tree
// in tst_frmMain1.
#include "app/tests/AppTestKit.h"
#include "engine/Colorize.h"
#include "output/Page.h"

#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

using namespace tintwave;
using namespace tintwave::app;
using namespace tintwave::app::testing;
using namespace Qt::StringLiterals;

namespace {

constexpr ColorValue kRed = 0x0000FF, kBlue = 0xFF0000;

const palette::Palette kBlackToWhite = paletteOf({0, E, E, E, E, kWhite});
const palette::Palette kRedRed = paletteOf({kRed, kRed});
const palette::Palette kRedToBlue = paletteOf({kRed, kBlue});

} // namespace

class TestOptions : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> w;

    void activate(const QStringList& names) {
        for (const QString& name : names)
            w->activate(name);
    }
    QString sizeLine() const { return w->find<QLabel>("lblCodeSize")->text(); }

private Q_SLOTS:
    void init() {
        w = std::make_unique<MainWindow>();
        w->open();
    }
    void cleanup() { w.reset(); }

    // Options stands before Help; its items are checkable, each radio item is in an exclusive
    // group (the checked one starred), Merge stands alone. Captions: see tst_frmMain1.
    void optionsMenu_holdsExclusiveGroupsAndALoneMergeItem() {
        auto* options = w->find<QMenu>("mnuOptions");
        QCOMPARE(w->window->menuBar()->actions().indexOf(options->menuAction()), 2);
        QStringList groups;
        for (QAction* a : options->actions()) {
            if (a->isSeparator())
                continue;
            QVERIFY(a->isCheckable());
            const QActionGroup* group = a->actionGroup();
            QVERIFY(!group || group->isExclusive());
            QStringList members;
            for (const QAction* m : group ? group->actions() : QList<QAction*>{a})
                members << m->objectName() + (m->isChecked() ? u"*"_s : QString()) +
                               (m->isEnabled() ? QString() : u" disabled"_s);
            if (!groups.contains(members.join(u' ')))
                groups << members.join(u' ');
        }
        QCOMPARE(groups, (QStringList{"mnuFormatFont* mnuFormatSpan mnuFormatBBCode mnuFormatAnsi",
                                      "mnuBlendRgb* mnuBlendOkLab mnuBlendOkLch",
                                      "mnuSpreadClassic* mnuSpreadEven", "mnuMerge disabled"}));
    }

    void mergeItem_isDisabledOnlyForFontTagsAndKeepsItsTick() {
        activate({"mnuFormatSpan", "mnuMerge"});
        for (const char* format :
             {"mnuFormatFont", "mnuFormatSpan", "mnuFormatBBCode", "mnuFormatAnsi"}) {
            w->activate(QString::fromLatin1(format));
            const QAction* merge = w->find<QAction>("mnuMerge");
            QVERIFY2(merge->isEnabled() == (format != "mnuFormatFont"_L1), format);
            QVERIFY2(merge->isChecked(), format);
        }
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
        QTest::newRow("oklch even")
            << QStringList{"mnuBlendOkLch", "mnuSpreadEven"} << kRedToBlue << QString();
    }
    void colorize_writesTheChosenFormatAndPreviewsItsColours() {
        QFETCH(QStringList, items);
        QFETCH(palette::Palette, colors);
        QFETCH(QString, expected);
        w->prepare(u"ABCDE"_s, colors);
        w->activate(u"Command1"_s);
        const QString plainRgb = w->code();
        activate(items << u"Command1"_s);

        engine::ColorizeOptions options;
        schemes::applyTo(w->window->outputOptions(), options);
        const engine::ColorizeResult result =
            engine::colorize(u"ABCDE"_s, colors.values(), options);
        if (expected.isEmpty()) {
            QVERIFY(w->code() != plainRgb);
            expected = result.code;
        }
        QCOMPARE(w->code(), expected);
        QCOMPARE(w->preview()->toPlainText(), u"ABCDE"_s);
        for (const engine::CharColor& c : result.chars)
            QCOMPARE(w->preview()->colorAt(c.start), c.color);
    }

    void choices_areStoredAndReadBackAtStartUp() {
        activate({"mnuFormatSpan", "mnuBlendOkLch", "mnuSpreadEven", "mnuMerge", "mnuBlendOkLch"});
        QCOMPARE(
            w->fake.settings.log,
            (QStringList{"save tintwave/options/format=span", "save tintwave/options/blend=oklch",
                         "save tintwave/options/spread=even", "save tintwave/options/merge=1"}));

        w->fake.settings.log.clear();
        w->open();
        for (const char* item : {"mnuFormatSpan", "mnuBlendOkLch", "mnuSpreadEven", "mnuMerge"})
            QVERIFY2(w->find<QAction>(item)->isChecked() && w->find<QAction>(item)->isEnabled(),
                     item);
        QCOMPARE(w->window->outputOptions(),
                 (schemes::OutputOptions{engine::OutputFormat::Span, engine::Blend::OkLch,
                                         engine::Spread::Even, true}));
        QVERIFY(w->fake.settings.log.isEmpty());
    }

    // The code in the box decides, not the format chosen since.
    void save_writesAPageForHtmlAndUtf8TextOtherwise_data() {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<bool>("page");
        QTest::newRow("span") << QStringList{"mnuFormatSpan"} << true;
        QTest::newRow("bbcode") << QStringList{"mnuFormatBBCode"} << false;
        QTest::newRow("span code, bbcode chosen afterwards")
            << QStringList{"mnuFormatSpan", "Command1", "mnuFormatBBCode"} << true;
        QTest::newRow("bbcode code, font chosen afterwards")
            << QStringList{"mnuFormatBBCode", "Command1", "mnuFormatFont"} << false;
    }
    void save_writesAPageForHtmlAndUtf8TextOtherwise() {
        QFETCH(QStringList, items);
        QFETCH(bool, page);
        w->prepare(u"Grüße"_s, kBlackToWhite);
        w->fake.saveDialog.answers = {u"/out/a"_s, u"/out/b"_s};
        activate(items << u"Command8"_s); // Save runs Colorize first when the box is empty

        QCOMPARE(w->fake.saveDialog.asked.first(), page ? u"index.html|HTML Files (*.html *.htm)"_s
                                                        : u"tintwave.txt|Text Files (*.txt)"_s);
        QCOMPARE(w->fake.files.files.value(u"/out/a"_s),
                 page
                     ? output::buildPage(w->code(), w->preview()->backColor(), w->fake.systemColors)
                     : w->code().toUtf8() + '\n');

        w->fake.files.failWith = u"disk full"_s;
        w->activate(u"Command8"_s);
        QCOMPARE(w->fake.messages.shown, QStringList{"Tintwave: Could not save /out/b: disk full"});
    }

    void sizeLine_countsTheCodeBoxAsItChanges() {
        QCOMPARE(sizeLine(), QString());
        w->prepare(QString(1000, u'a'), kBlackToWhite);
        w->find<QAbstractButton>("chkCenter")->setChecked(true);
        w->activate(u"Command1"_s);
        // 1000 tags of 30 characters between <center> and </center>.
        QCOMPARE(w->code().size(), 30017);
        QCOMPARE(sizeLine(), u"30,017 characters"_s);

        auto* box = w->find<QPlainTextEdit>("Text2");
        box->setPlainText(u"x"_s);
        QCOMPARE(sizeLine(), u"1 character"_s);
        box->clear();
        QCOMPARE(sizeLine(), QString());
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
