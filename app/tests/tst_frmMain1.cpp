#include "app/ColorBox.h"
#include "app/tests/AppTestKit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>

using Setup = std::function<void(tintwave::app::testing::MainWindow&)>;
Q_DECLARE_METATYPE(Setup)

using namespace tintwave;
using namespace tintwave::app;
using namespace tintwave::app::testing;

namespace {

// The code for ABCDE over black in slot 0 and white in slot 5, Center off.
QString abcde(const QString& open = "<font color=\"#", const QString& close = "</font>") {
    QString code;
    for (const char* rgb : {"000000\">A", "2A2A2A\">B", "555555\">C", "808080\">D", "AAAAAA\">E"}) {
        code += open + rgb + close;
    }
    return code;
}
const QString kSpanCode = abcde("<span style=\"color:#", "</span>");

QString page(const QString& background, const QString& code) {
    return "files=/out/p.html:<html>\r\n<head>\r\n<title>YOUR TITLE HERE</title>\r\n</head>\r\n"
           "<body bgcolor=\"" +
           background + "\">\r\n" + code + "\r\n</body>\r\n</html>\r\n";
}

// Picks face and size and ticks exactly the given option boxes.
Setup styled(const QString& face, const QString& size, const QStringList& ticked) {
    return [=](MainWindow& w) {
        w.find<QComboBox>("cboFont")->setCurrentText(face);
        w.find<QComboBox>("cboSize")->setCurrentText(size);
        for (const char* box : {"chkBold", "chkItalic", "chkUnderline", "chkCenter"}) {
            w.find<QCheckBox>(box)->setChecked(ticked.contains(QLatin1String(box)));
        }
    };
}

// Runs the given commands before the one under test.
Setup first(const QStringList& commands) {
    return [=](MainWindow& w) {
        for (const QString& command : commands) {
            w.activate(command);
        }
    };
}

// "name caption shortcut" per item, "*" when checked, "(off)" when disabled, "-" for a
// separator, a submenu's items in braces.
QString describe(const QMenu* menu) {
    QStringList items;
    for (const QAction* a : menu->actions()) {
        items << (a->menu()
                      ? a->menu()->objectName() + ' ' + a->text() + '{' + describe(a->menu()) + '}'
                      : a->objectName() + ' ' + (a->isSeparator() ? "-" : a->text())) +
                     (a->shortcut().isEmpty() ? "" : ' ' + a->shortcut().toString()) +
                     (a->isChecked() ? "*" : "") + (a->isEnabled() ? "" : " (off)");
    }
    return items.join("; ");
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> w;

    // Everything a command can change, one "name=value" line per thing.
    QStringList observable(const QStringList& modals) const {
        QStringList files, preview, options, slots;
        for (auto [path, bytes] : w->fake.files.files.asKeyValueRange()) {
            files << path + ':' + QString::fromLatin1(bytes);
        }
        for (qsizetype i = 0; i < w->preview()->toPlainText().size(); ++i) {
            preview << QString::number(w->preview()->colorAt(i), 16);
        }
        for (const QAction* item : w->find<QMenu>("mnuOptions")->actions()) {
            options << (item->isChecked() ? item->objectName() : QString());
        }
        for (ColorValue v : w->window->colors().slots) {
            slots << (v == E ? QStringLiteral("_") : QString::number(v, 16));
        }
        const QFont font = w->preview()->displayFont();
        return {"asked=" + w->fake.saveDialog.asked.join('|'),
                "background=" + QString::number(w->preview()->backColor(), 16),
                "clipboard=" + w->fake.clipboard.text,
                "code=" + w->codeBox()->code(),
                "files=" + files.join('|'),
                "font=" + font.family() +
                    QString::asprintf(" %d%d%d", font.bold(), font.italic(), font.underline()),
                "gIndex=" + QString::number(w->window->gIndex().value_or(-1)),
                "messages=" + w->fake.messages.shown.join('|'),
                "modal=" + modals.join('|'),
                "options=" + options.join(' ').simplified() +
                    (w->find<QAction>("mnuMerge")->isEnabled() ? " (merge on)" : ""),
                "palette=" + slots.join(' '),
                "picked=" + QString::number(w->fake.colorDialog.opened),
                "preview=" + w->preview()->toPlainText() + ": " + preview.join(' '),
                "schemes=" + w->userSchemeEntries().join('|'),
                "stored=" + w->fake.settings.log.filter("/options/").join('|'),
                QString("visible=") + (w->window->isVisible() ? "yes" : "no")};
    }
    // Runs command: a control or menu item name, "Ctrl+<key>", "Enter on <control>",
    // "RTB1" (a click on the preview), or "<button>@n" for a mouse button pressed on
    // colour box n, where the right button is followed by the pop-up item <button>.
    void run(const QString& command) {
        const QString button = command.section('@', 0, 0);
        auto* box = w->window->findChild<ColorBox*>("picColor(" + command.section('@', 1) + ")");
        if (command.startsWith("Ctrl+")) {
            QTest::keySequence(w->window.get(), QKeySequence(command));
        } else if (command == "RTB1") {
            QTest::mouseClick(w->preview()->viewport(), Qt::LeftButton);
        } else if (command.startsWith("Enter on ")) {
            w->find<QWidget>(command.mid(9))->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else if (box && !button.startsWith("Right")) {
            QTest::mousePress(box, button == "Left" ? Qt::LeftButton : Qt::MiddleButton);
        } else if (box) {
            QTest::mousePress(box, Qt::RightButton);
            QVERIFY(w->find<QMenu>("mnuPopUp")->isVisible());
            w->find<QAction>(button.section(' ', 1))->trigger();
            w->find<QMenu>("mnuPopUp")->hide();
        } else {
            w->activate(command);
        }
    }

private Q_SLOTS:
    void init() {
        w = std::make_unique<MainWindow>();
        w->open();
        w->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
    }
    void cleanup() { w.reset(); }

    void startup_showsTheDesignedEmptyState() {
        QStringList shown = {w->window->windowTitle(),
                             w->window->windowIcon().isNull() ? "" : "icon"};
        for (auto* box : {w->find<QComboBox>("cboFont"), w->find<QComboBox>("cboSize")}) {
            shown << box->currentText() + (box->isEditable() ? " editable:" : ":");
            for (int i = 0; i < box->count(); ++i) {
                shown.last() += ' ' + box->itemText(i);
            }
        }
        for (const char* name : {"chkBold", "chkItalic", "chkUnderline", "chkCenter"}) {
            const QFont f = w->find<QCheckBox>(name)->font();
            shown << QString::asprintf("%s %d%s%s%s", name, w->find<QCheckBox>(name)->isChecked(),
                                       f.bold() ? "b" : "", f.italic() ? "i" : "",
                                       f.underline() ? "u" : "");
        }
        QCOMPARE(shown,
                 QStringList({"Tintwave 1.0", "icon",
                              "None: None Arial Book Antiqua Comic Sans MS Courier New "
                              "Lucida Calligraphy Lucida Sans MS Sans Serif Times New Roman",
                              "None: None +1 +2 +3 +4 -1 -2 -3 -4 +5 +6 +7 -5 -6 -7", "chkBold 0b",
                              "chkItalic 0i", "chkUnderline 0u", "chkCenter 1"}));
        QCOMPARE(w->window->minimumSize(), w->window->maximumSize());
        QCOMPARE(w->window->windowFlags() &
                     (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
                 Qt::WindowMinimizeButtonHint);
        QCOMPARE(w->window->gIndex(), std::nullopt);
        QCOMPARE(w->window->gNumSchemes(), 0);
        QCOMPARE(w->window->colors(), palette::Palette::empty());
        QCOMPARE(w->find<ColorBox>("picColor(9)")->shownColor(), w->fake.systemColors.buttonFace);
        QCOMPARE(w->preview()->backColor(), kWindowBackground);
        QVERIFY(w->find<QPushButton>("Command1")->isDefault());
        QVERIFY(w->codeBox()->code().isEmpty() && w->fake.messages.shown.isEmpty());
    }

    // Tab goes round the controls in the designed order, the code box included.
    void startup_keyGeometryAndTabOrder() {
        QCOMPARE(w->window->centralWidget()->size(), QSize(482, 365));
        QStringList shown;
        for (const char* name :
             {"picColor(0)", "picColor(9)", "Command1", "txtInput", "RTB1", "Text2"}) {
            const QRect r = w->find<QWidget>(name)->geometry();
            shown << QString::asprintf("%s %d,%d %dx%d", name, r.x(), r.y(), r.width(), r.height());
        }
        for (int i = 0; i < 29; ++i) {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus, Qt::Key_Tab);
            while (focus->parentWidget() != w->window->centralWidget()) {
                focus = focus->parentWidget();
            }
            shown << focus->objectName();
        }
        QCOMPARE(shown.join(' '),
                 "picColor(0) 24,26 26x25 picColor(9) 312,26 26x25 Command1 387,1 89x25 txtInput "
                 "6,90 351x25 RTB1 6,240 471x49 Text2 6,309 472x49 "
                 "txtInput Command1 Command7 Command4 Command6 Command2 Command3 cboFont cboSize "
                 "Command5(0) Command5(1) picColor(0) picColor(1) picColor(2) picColor(3) "
                 "picColor(4) picColor(5) picColor(6) picColor(7) picColor(8) picColor(9) Text2 "
                 "chkBold chkItalic chkUnderline chkCenter RTB1 Command8 txtInput");
    }

    void startup_settingsNoticeIsShownOnceAfterTheWindowAppears() {
        w->window = std::make_unique<frmMain1>(w->fake.services());
        w->fake.settings.notify(QStringLiteral("The settings file could not be read."));
        QVERIFY(w->fake.messages.shown.isEmpty()); // not while hidden
        w->window->show();
        QTRY_COMPARE(w->fake.messages.shown,
                     QStringList{"Tintwave: The settings file could not be read."});
        w->window->hide();
        w->window->show();
        QTest::qWait(20);
        QCOMPARE(w->fake.messages.shown.size(), 1);
    }

    void startup_showsTheStoredOutputChoicesWithoutWritingAny() {
        for (const QString choice : {"format=span", "blend=oklch", "spread=even", "merge=1"}) {
            w->fake.settings.SaveSetting("tintwave", "options", choice.section('=', 0, 0),
                                         choice.section('=', 1));
        }
        w->fake.settings.log.clear();
        w->open();
        QVERIFY(observable({}).contains(
            "options=mnuFormatSpan mnuBlendOkLch mnuSpreadEven mnuMerge (merge on)"));
        QVERIFY(w->fake.settings.log.isEmpty());
    }

    void menus_haveTheDesignedTreeCaptionsAndShortcuts() {
        QString tree = describe(w->find<QMenu>("mnuPopUp"));
        for (const QAction* top : w->window->menuBar()->actions()) {
            tree +=
                "\n" + top->menu()->objectName() + ' ' + top->text() + ": " + describe(top->menu());
        }
        QCOMPARE(tree,
                 "mnuClear &Clear; mnuInvert &Invert; mnuRandomOne Ra&ndom; aslsdfasda -; "
                 "mnuCancel C&ancel\n"
                 "mnuFile &File: mnuSave &Save as HTML... Ctrl+S; mnuColorizer &Colorize; mnuFlip "
                 "Re&verse Order; mnuInvertColors &Invert Colors; mnuRandom Ra&ndom Colors; "
                 "mnuReset C&lear Colors; asdfjkl -; mnuExit E&xit Ctrl+Q\n"
                 "mnuSchemes &Schemes: mnuAdd &Add Scheme...; mnuRemove &Remove Scheme...; "
                 "breaker0 -; mnuSpectrum &Spectrum; mnuPhotoshop Photoshop Gradients{mnuregr "
                 "Red-Green; mnuvior Violet-Orange; mnublreye Blue-Red-Yellow; mnublyebl "
                 "Blue-Yellow-Blue; mnuoryeor Orange-Yellow-Orange; mnuvigror Violet-Green-Orange; "
                 "mnuyeviorbl Yellow-Violet-Orange-Blue; mnuco Copper}; mnubw Black/White/Gray{"
                 "mnugrwhgr Gray-White-Gray; mnublwhbl Black-White-Black; mnuwhblwh "
                 "White-Black-White; mnugrblgr Gray-Black-Gray}; mnuBlues Blue/Green{mnubltubl "
                 "Blue-Turq-Blue; mnublgrbl Blue-Green-Blue; mnunabltu Navy-Blue-Turq}; mnuorreye "
                 "Orange/Red/Yellow{mnureoryewh Red-Orange-Yellow-White; mnuoryeli "
                 "Orange-Yellow-Light Yellow; mnuFlames Flames}; mnumisc Misc.{mnutuye "
                 "Turq-Yellow; mnuyepu Yellow-Pink; mnugrye Green-Yellow; mnublre Blue-Red}; "
                 "mnuSchemeArray(0) -\n"
                 "mnuOptions &Options: mnuFormatFont &Font Tags (HTML 3.2)*; mnuFormatSpan &Span "
                 "Tags (HTML5); mnuFormatBBCode &BBCode; mnuFormatAnsi &ANSI Terminal;  -; "
                 "mnuBlendRgb &RGB Blend*; mnuBlendOkLab &OKLab Blend; mnuBlendOkLch OKLC&h Blend; "
                 " -; mnuSpreadClassic &Classic Spread*; mnuSpreadEven &Even Spread;  -; mnuMerge "
                 "&Merge Equal Colors (off)\n"
                 "mnuHelp &Help: mnuAbout &About...");
    }

    // Every button, menu item, pop-up item and key from the same start with the same
    // scripted answers; an item that repeats a button must change exactly what it changes.
    // A row's name is its command, then what its setup changes before the command runs.
    void command_changesExactlyWhatItsWiringSays_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("changes");
        const QString asked = "asked=index.html|HTML Files (*.html *.htm)";
        const QString preview = "preview=ABCDE: 0 2a2a2a 555555 808080 aaaaaa";
        const QStringList colorized = {"code=" + abcde(), preview};
        const QStringList inverted = {"palette=ffffff _ _ _ _ 0 _ _ _ _"};
        const QStringList reversed = {"palette=ffffff 0 _ _ _ _ _ _ _ _"};
        const QStringList randomized = {"palette=20100 50403 80706 b0a09 e0d0c 11100f 141312 "
                                        "171615 1a1918 1d1c1b"}; // draw k is k/256: component k
        const QStringList saved = {asked, page("FFFFFF", "kept")};
        const QString store = "stored=save tintwave/options/";
        const Setup none = nullptr;
        const Setup noCode = [](MainWindow& w) {
            w.codeBox()->setCode({});
        };
        const Setup noText = [](MainWindow& w) {
            w.find<QLineEdit>("txtInput")->clear();
        };
        const QList<std::tuple<const char*, Setup, QStringList>> rows = {
            {"Command1", none, colorized},
            {"mnuColorizer", none, colorized},
            {"Enter on txtInput", none, colorized},
            // Every option box is ticked in a different set of rows, so no two can be mixed up.
            {"Command1, Arial +2 bold underline centre",
             styled("Arial", "+2", {"chkBold", "chkUnderline", "chkCenter"}),
             {"code=<center><b><u><font face=\"Arial\" size=+2>" + abcde() +
                  "</font></u></b></center>",
              "font=Arial 101", preview}},
            {"Command1, Courier New -7 bold italic",
             styled("Courier New", "-7", {"chkBold", "chkItalic"}),
             {"code=<b><i><font face=\"Courier New\" size=-7>" + abcde() + "</font></i></b>",
              "font=Courier New 110", preview}},
            {"Command1, italic underline",
             styled("None", "None", {"chkItalic", "chkUnderline"}),
             {"code=<i><u>" + abcde() + "</u></i>", "font=Arial 011", preview}},
            {"Command1, span", first({"mnuFormatSpan"}), {"code=" + kSpanCode, preview}},
            {"Command1, oklch even spread",
             first({"mnuBlendOkLch", "mnuSpreadEven"}),
             {"code=" + abcde()
                            .replace("2A2A2A", "222222")
                            .replace("555555", "636363")
                            .replace("808080", "AEAEAE")
                            .replace("AAAAAA", "FFFFFF"),
              "preview=ABCDE: 0 222222 636363 aeaeae ffffff"}},
            {"Command1, ansi merged, one colour",
             [](MainWindow& w) {
                 first({"mnuFormatAnsi", "mnuMerge"})(w);
                 w.window->setColors(paletteOf({0}));
             },
             {"code=\x1b[38;2;0;0;0mABCDE\x1b[0m", "preview=ABCDE: 0 0 0 0 0"}},
            {"Command1, no text", noText, {"messages=Tintwave: You must type something."}},
            {"Command1, earlier run, then no colours",
             first({"Command1", "Command2"}),
             {"code=", "messages=Tintwave: You must select at least one color"}},
            {"mnuFormatSpan",
             none,
             {"options=mnuFormatSpan mnuBlendRgb mnuSpreadClassic (merge on)",
              store + "format=span"}},
            {"mnuFormatSpan, span chosen", first({"mnuFormatSpan"}), {}},
            {"mnuMerge, ansi chosen",
             first({"mnuFormatAnsi"}),
             {"options=mnuFormatAnsi mnuBlendRgb mnuSpreadClassic mnuMerge (merge on)",
              store + "format=ansi|" + store.mid(7) + "merge=1"}},
            {"mnuFormatFont, bbcode merged",
             first({"mnuFormatBBCode", "mnuMerge"}),
             {"options=mnuFormatFont mnuBlendRgb mnuSpreadClassic mnuMerge",
              store + "format=bbcode|" + store.mid(7) + "merge=1|" + store.mid(7) + "format=font"}},
            {"mnuBlendOkLab",
             none,
             {"options=mnuFormatFont mnuBlendOkLab mnuSpreadClassic", store + "blend=oklab"}},
            {"mnuSpreadEven",
             none,
             {"options=mnuFormatFont mnuBlendRgb mnuSpreadEven", store + "spread=even"}},
            {"Command2", none, {"palette=_ _ _ _ _ _ _ _ _ _"}},
            {"mnuReset", none, {"palette=_ _ _ _ _ _ _ _ _ _"}},
            {"Enter on Command2", none, {"palette=_ _ _ _ _ _ _ _ _ _"}},
            {"Command4", none, inverted},
            {"mnuInvertColors", none, inverted},
            {"Command5(0)", none, {"palette=_ _ _ _ ffffff _ _ _ _ 0"}},
            {"Command5(1)", none, {"palette=_ 0 _ _ _ _ ffffff _ _ _"}},
            {"Command6", none, reversed},
            {"mnuFlip", none, reversed},
            {"Command7", none, randomized},
            {"mnuRandom", none, randomized},
            {"Left@4", none, {"gIndex=4", "palette=0 _ _ _ 123456 ffffff _ _ _ _", "picked=1"}},
            {"Left@4, dialog cancelled",
             [](MainWindow& w) { w.fake.colorDialog.answers.clear(); },
             {"gIndex=4", "picked=1"}},
            {"Middle@7", none, {"gIndex=7"}},
            {"Right mnuInvert@0", none, {"gIndex=0", "palette=ffffff _ _ _ _ ffffff _ _ _ _"}},
            {"Right mnuInvert@1", none, {"gIndex=1"}},
            {"Right mnuClear@5", none, {"gIndex=5", "palette=0 _ _ _ _ _ _ _ _ _"}},
            {"Right mnuClear@1", none, {"gIndex=1"}},
            {"Right mnuRandomOne@1", none, {"gIndex=1", "palette=0 20100 _ _ _ ffffff _ _ _ _"}},
            {"Right mnuRandomOne@0", none, {"gIndex=0", "palette=20100 _ _ _ _ ffffff _ _ _ _"}},
            {"Right mnuCancel@0", none, {"gIndex=0"}},
            {"mnuSpectrum", none, {"palette=ff ffff ff00 ffff00 ff0000 ff00ff ff _ _ _"}},
            {"mnublre", none, {"palette=ff0000 ff _ _ _ _ _ _ _ _"}},
            {"mnuAdd", none, {"schemes=mnuSchemeArray(1)=Mine"}},
            {"mnuRemove", none, {"modal=tintwave::app::Form6"}},
            {"RTB1", none, {"background=123456", "picked=1"}},
            {"Command3", none, {"clipboard=kept"}},
            {"Command3, no code", noCode, {}},
            {"mnuSave", none, saved},
            {"Command8", none, saved},
            {"Ctrl+S", none, saved},
            {"mnuSave, no code", noCode, {asked, colorized[0], page("FFFFFF", abcde()), preview}},
            {"mnuSave, no code, no text",
             [=](MainWindow& w) { noCode(w), noText(w); },
             {"messages=Tintwave: You must type something."}},
            {"mnuSave, background chosen",
             [](MainWindow& w) { w.preview()->setBackColor(0xFF0800); },
             {asked, page("0008FF", "kept")}},
            // The format of the code in the box decides, not the one chosen since.
            {"mnuSave, bbcode chosen",
             first({"mnuFormatBBCode"}),
             {"asked=tintwave.txt|Text Files (*.txt)", "files=/out/p.html:kept\n"}},
            {"mnuSave, span code, then bbcode chosen",
             first({"mnuFormatSpan", "Command1", "mnuFormatBBCode"}),
             {asked, page("FFFFFF", kSpanCode)}},
            {"mnuSave, dialog cancelled",
             [](MainWindow& w) { w.fake.saveDialog.answers.clear(); },
             {asked}},
            {"mnuSave, write fails",
             [](MainWindow& w) { w.fake.files.failWith = "Permission denied"; },
             {asked, "messages=Tintwave: Could not save /out/p.html: Permission denied"}},
            {"mnuAbout", none, {"modal=tintwave::app::Form3"}},
            {"mnuExit", none, {"visible=no"}},
            {"Ctrl+Q", none, {"visible=no"}},
        };
        for (const auto& [name, setup, changes] : rows) {
            QTest::newRow(name) << setup << changes;
        }
    }
    void command_changesExactlyWhatItsWiringSays() {
        QFETCH(Setup, setup);
        QFETCH(QStringList, changes);
        for (int k = 0; k < 30; ++k) {
            w->fake.random.values.push_back(float(k) / 256.0f);
        }
        w->fake.colorDialog.answers = {0x123456};
        w->fake.saveDialog.answers = {"/out/p.html"};
        w->fake.inputPrompt.answers = {"Mine"};
        // Colorize writes abcde() for this; the box starts with other code.
        w->find<QLineEdit>("txtInput")->setText("ABCDE");
        w->find<QAbstractButton>("chkCenter")->setChecked(false);
        w->window->setColors(paletteOf({0x000000, E, E, E, E, kWhite}));
        w->codeBox()->setCode("kept");
        if (setup) {
            setup(*w);
        }
        QStringList modals; // closed as soon as they open
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&modals] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                modals << dialog->metaObject()->className();
                dialog->reject();
            }
        });
        closer.start(10);
        const QStringList before = observable(modals);
        run(QString::fromLatin1(QTest::currentDataTag()).section(',', 0, 0));
        QStringList changed = observable(modals);
        changed.removeIf([&before](const QString& line) { return before.contains(line); });
        QCOMPARE(changed, changes);
    }

    // A long code is shown read-only; Copy, Save and the size line take it whole, and Save
    // does not colorize again (the text has changed since) because the box is not empty.
    // A short code after it is editable again, and edits are what Copy takes.
    void longCode_isCopiedSavedAndCountedWhole_shortCodeEditableAgain() {
        const auto sizeLine = [this] {
            return w->find<QLabel>("lblCodeSize")->text();
        };
        w->window->setColors(paletteOf({0x0000FF, E, E, 0xFF0000}));
        w->find<QLineEdit>("txtInput")->setText(QString(2999, u'a') + u'Z');
        w->activate("Command1");
        const QString code = w->codeBox()->code();
        QCOMPARE(code.size(), 3000 * 30 + 17);
        QVERIFY(code.endsWith(">Z</font></center>"));
        QCOMPARE(sizeLine(), "90,017 characters");
        w->activate("Command3");
        QCOMPARE(w->fake.clipboard.text, code);
        w->find<QLineEdit>("txtInput")->setText("AB");
        w->fake.saveDialog.answers = {"/out/long.html"};
        w->activate("Command8");
        QCOMPARE(w->fake.files.files.value("/out/long.html").split('\n').value(5),
                 code.toLatin1() + '\r');

        w->activate("Command1");
        auto* edit = w->codeBox()->findChild<QPlainTextEdit*>();
        QVERIFY(edit->isVisible());
        edit->setPlainText("x");
        QCOMPARE(sizeLine(), "1 character");
        w->activate("Command3");
        QCOMPARE(w->fake.clipboard.text, "x");
        edit->clear();
        QCOMPARE(sizeLine(), QString());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_frmMain1.moc"
