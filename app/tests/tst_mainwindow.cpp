#include "app/ColorBox.h"
#include "app/InputLine.h"
#include "app/Translations.h"
#include "app/tests/AppTestKit.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>

using Setup = std::function<void(tintwave::app::testing::WindowFixture&)>;
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(tintwave::engine::ColorizeOptions)

using namespace tintwave;
using namespace tintwave::app;
using namespace tintwave::app::testing;
using namespace Qt::StringLiterals;

namespace {

// Output choice items are named <group><Choice>, as in blendOkLab.
const QRegularExpression kChoiceGroup("^(format|blend|spread)");

// A checked Options item as the rows list it: "formatSpan" gives "Span", "merge" "Merge".
QString choiceName(const QAction* item) {
    const QString name = item->objectName().remove(kChoiceGroup);
    return name.left(1).toUpper() + name.mid(1);
}

// The code for ABCDE over black in slot 0 and white in slot 5, Center off.
QString abcde(const QString& open = "<font color=\"#", const QString& close = "</font>") {
    QString code;
    for (const char* rgb : {"000000\">A", "2A2A2A\">B", "555555\">C", "808080\">D", "AAAAAA\">E"}) {
        code += open + rgb + close;
    }
    return code;
}

QString page(const QString& background, const QString& code) {
    return "files=/out/p.html:<html>\r\n<head>\r\n<title>YOUR TITLE HERE</title>\r\n</head>\r\n"
           "<body bgcolor=\"" +
           background + "\">\r\n" + code + "\r\n</body>\r\n</html>\r\n";
}

// Picks face and size and ticks exactly the given option boxes.
Setup styled(const QString& face, const QString& size, const QStringList& ticked) {
    return [=](WindowFixture& w) {
        w.find<QComboBox>("faceCombo")->setCurrentText(face);
        w.find<QComboBox>("sizeCombo")->setCurrentText(size);
        for (const char* box : {"boldCheck", "italicCheck", "underlineCheck", "centerCheck"}) {
            w.find<QCheckBox>(box)->setChecked(ticked.contains(QLatin1String(box)));
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

    std::unique_ptr<WindowFixture> w;

    // Everything a command can change, one "name=value" line per thing.
    QStringList observable(const QStringList& modals) const {
        QStringList files, preview, options, slots;
        for (auto [path, bytes] : w->fake.files.files.asKeyValueRange()) {
            files << path + ':' + QString::fromLatin1(bytes);
        }
        for (qsizetype i = 0; i < w->preview()->toPlainText().size(); ++i) {
            preview << QString::number(w->preview()->colorAt(i), 16);
        }
        for (const QAction* item : w->find<QMenu>("optionsMenu")->actions()) {
            options << (item->isChecked() ? choiceName(item) : "");
        }
        for (ColorValue v : w->window->colors().slots) {
            slots << (v == E ? QStringLiteral("_") : QString::number(v, 16));
        }
        const QFont font = w->preview()->displayFont();
        return {"asked=" + w->fake.saveDialog.asked.join('|'),
                "background=" + QString::number(w->preview()->backColor(), 16),
                "captions=" + w->find<QLabel>("codeLabel")->text() + ' ' +
                    w->find<QPushButton>("copyHtmlButton")->text() + ' ' +
                    w->find<QPushButton>("saveButton")->text() + ' ' +
                    w->find<QAction>("saveAs")->text(),
                "clipboard=" + w->fake.clipboard.text + " " + w->fake.clipboard.html,
                "code=" + w->codeBox()->code(),
                "files=" + files.join('|'),
                "font=" + font.family() +
                    QString::asprintf(" %d%d%d", font.bold(), font.italic(), font.underline()),
                "pressedSlot=" + QString::number(w->window->pressedSlot().value_or(-1)),
                "messages=" + w->fake.messages.shown.join('|'),
                "modal=" + modals.join('|'),
                "options=" + options.join(' ').simplified() +
                    (w->find<QAction>("merge")->isEnabled() ? " (merge on)" : ""),
                "palette=" + slots.join(' '),
                "picked=" + QString::number(w->fake.colorDialog.opened),
                "preview=" + w->preview()->toPlainText() + ": " + preview.join(' '),
                "prompted=" + w->fake.inputPrompt.shown.join('|'),
                "stored=" + w->fake.settings.log.filter("/options/")
                                .replaceInStrings("save tintwave/options/", "")
                                .join('|'),
                QString("visible=") + (w->window->isVisible() ? "yes" : "no")};
    }
    // Runs command: a control or menu item name, "preview" (a click on the preview), or
    // "<button>@n" for a mouse button pressed on colour box n, where the right button is
    // followed by the pop-up item <button>; "<keys>@n" and "<keys>@preview" press keys there
    // instead, also followed by a pop-up item where they open the pop-up.
    void run(const QString& command) {
        const QString button = command.section('@', 0, 0), at = command.section('@', 1);
        const int mouse = QStringList{"Left", "Right", "Middle"}.indexOf(button.section(' ', 0, 0));
        QWidget* box = w->window->findChild<QWidget*>(at.size() > 1 ? at : "colorBox" + at);
        if (command == "preview") {
            QTest::mouseClick(w->preview()->viewport(), Qt::LeftButton);
        } else if (box && mouse >= 0) {
            QTest::mousePress(box, Qt::MouseButton(1 << mouse));
        } else if (box) {
            box->setFocus();
            QTest::keySequence(box, QKeySequence(button.section(' ', 0, 0)));
        } else {
            w->activate(command);
        }
        if (button.contains(' ')) {
            QVERIFY(w->find<QMenu>("slotMenu")->isVisible());
            w->find<QAction>(button.section(' ', 1))->trigger();
            w->find<QMenu>("slotMenu")->hide();
        }
    }

private Q_SLOTS:
    void init() {
        w = std::make_unique<WindowFixture>();
        w->open();
        w->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
    }
    void cleanup() { w.reset(); }

    // The settings store's notice once the window is up, once; the stored output choices
    // are shown without being written back.
    void startup_showsNoticeOnceAndStoredChoicesWithoutWriting() {
        w->fake.settings.setValue("options", "format", "span");
        w->fake.settings.setValue("options", "merge", "1");
        w->fake.settings.log.clear();
        w->window = std::make_unique<MainWindow>(w->fake.services());
        w->fake.settings.notify("The settings file could not be read.");
        QVERIFY(w->fake.messages.shown.isEmpty()); // not while hidden
        w->window->show();
        w->window->hide();
        w->window->show();
        QTRY_COMPARE(w->fake.messages.shown.join(""),
                     "Tintwave (!): The settings file could not be read.");
        QVERIFY(observable({}).contains("options=Span Rgb Classic Merge (merge on)"));
        QVERIFY(w->fake.settings.log.isEmpty());
    }

    // Captions are behaviour: the title, the lists, what screen readers say of the boxes,
    // and the menu tree with its names, shortcuts and checked items.
    void captions_controlsAndMenusAsDesigned() {
        QStringList shown = {w->window->windowTitle()};
        for (auto* box : {w->find<QComboBox>("faceCombo"), w->find<QComboBox>("sizeCombo")}) {
            shown << box->currentText() + (box->isEditable() ? " editable:" : ":");
            for (int i = 0; i < box->count(); ++i) {
                shown.last() += ' ' + box->itemText(i);
            }
        }
        QVERIFY(w->find<QPushButton>("colorizeButton")->isDefault()); // Enter colorizes
        // The icon up to its largest size, from the built-in images when no theme has it.
        QCOMPARE(w->window->windowIcon().pixmap(256).size(), QSize(256, 256));
        // What screen readers say of the boxes; a colour box's description follows its colour.
        w->window->setColors(paletteOf({0x0000FF}));
        for (QWidget* box : {w->find("textEdit"), w->find("colorBox0"), w->find("colorBox1"),
                             w->find("preview"), w->codeBox()->focusProxy()}) {
            const auto* a = QAccessible::queryAccessibleInterface(box);
            shown << a->text(QAccessible::Name) + ": " + a->text(QAccessible::Description);
        }
        QCOMPARE(shown.join(' '),
                 "Tintwave 1.0 None: None Arial Book Antiqua Comic Sans MS Courier New Lucida "
                 "Calligraphy Lucida Sans MS Sans Serif Times New Roman None: None +1 +2 +3 +4 -1 "
                 "-2 -3 -4 +5 +6 +7 -5 -6 -7 Text to Color:  Colour slot 1: #FF0000 Colour slot 2: "
                 "empty Preview: "
                 "The colorized text; Space chooses the background colour HTML code: The code "
                 "Colorize wrote; it can be edited");
        QString tree = describe(w->find<QMenu>("slotMenu"));
        for (const QAction* top : w->window->menuBar()->actions()) {
            tree +=
                "\n" + top->menu()->objectName() + ' ' + top->text() + ": " + describe(top->menu());
        }
        QCOMPARE(
            tree,
            "clearPressedSlot &Clear; invertPressedSlot &Invert; randomizePressedSlot "
            "Ra&ndom; slotMenuSeparator -; "
            "closeSlotMenu C&ancel\n"
            "fileMenu &File: saveAs &Save as HTML... Ctrl+S; copyRichText Copy as &Rich Text "
            "Ctrl+Shift+C; pasteCode &Paste Code Ctrl+Shift+V; colorize &Colorize; "
            "reverseColors "
            "Re&verse Order; invertColors &Invert Colors; randomizeColors Ra&ndom Colors; "
            "clearColors C&lear Colors; fileSeparator -; quit E&xit Ctrl+Q\n"
            "schemesMenu &Schemes: addScheme &Add Scheme...; removeScheme &Remove Scheme...; "
            "presetSeparator -; presetSpectrum &Spectrum; presetGroupPhotoshopGradients "
            "&Photoshop Gradients{presetRedGreen "
            "Red-Green; presetVioletOrange Violet-Orange; presetBlueRedYellow "
            "Blue-Red-Yellow; presetBlueYellowBlue "
            "Blue-Yellow-Blue; presetOrangeYellowOrange Orange-Yellow-Orange; "
            "presetVioletGreenOrange Violet-Green-Orange; "
            "presetYellowVioletOrangeBlue Yellow-Violet-Orange-Blue; presetCopper Copper}; "
            "presetGroupBlackWhiteGray &Black/White/Gray{"
            "presetGrayWhiteGray Gray-White-Gray; presetBlackWhiteBlack Black-White-Black; "
            "presetWhiteBlackWhite "
            "White-Black-White; presetGrayBlackGray Gray-Black-Gray}; presetGroupBlueGreen "
            "Blue/&Green{presetBlueTurqBlue "
            "Blue-Turq-Blue; presetBlueGreenBlue Blue-Green-Blue; presetNavyBlueTurq "
            "Navy-Blue-Turq}; presetGroupOrangeRedYellow "
            "&Orange/Red/Yellow{presetRedOrangeYellowWhite Red-Orange-Yellow-White; "
            "presetOrangeYellowLightYellow "
            "Orange-Yellow-Light Yellow; presetFlames Flames}; presetGroupMisc "
            "&Misc.{presetTurqYellow "
            "Turq-Yellow; presetYellowPink Yellow-Pink; presetGreenYellow Green-Yellow; "
            "presetBlueRed Blue-Red}; "
            "userSchemeSeparator -\n"
            "optionsMenu &Options: formatFont &Font Tags (HTML 3.2)*; formatSpan &Span "
            "Tags (HTML5); formatBBCode &BBCode; formatAnsi &ANSI Terminal;  -; "
            "formatMcHex Minecraft He&x (&&#RRGGBB); formatMcX Minecraft &&x Co&des; "
            "formatMcSection Minecraft Section Si&gns (§x); formatMiniMessage "
            "M&iniMessage; formatMiniMessageGradient MiniMessage Gradients (Ser&ver-Side); "
            "formatJson &JSON Text Components; formatTemplate &Template; "
            "formatDiscord Discord ANSI Block (&8 Colors); formatIrc IRC (mIRC, 1&6 Colors);  -; "
            "depthMenu Terminal &Colours{depth24 &24-bit*; depth256 2&56; depth16 1&6; "
            "depth8 &8} (off);  -; "
            "blendRgb &RGB Blend*; blendOkLab OKLab Ble&nd; blendOkLch OKLC&h Blend; "
            " -; spreadClassic &Classic Spread*; spreadEven &Even Spread;  -; merge "
            "&Merge Equal Colors (off); skipBlanks Ski&p Blanks (off); strikethrough "
            "Stri&kethrough; obfuscated &Obfuscated (off); fitToLength Fit to "
            "&Length... (off);  -; editTemplate "
            "C&ustom Template...\n"
            "helpMenu &Help: showAbout &About...");
    }

    // The captions follow the installed translation, without one (LANG=C) the English source;
    // in either, no two items of a menu, nor two of the menu bar and buttons, share an
    // access key.
    void captions_translatedWithUniqueAccessKeys_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("captions");
        QTest::newRow("C") << QLocale::c()
                           << "&File None None 1,715,301 characters, too long to edit";
        QTest::newRow("German") << QLocale(QLocale::German)
                                << "&Datei Keine Keine 1.715.301 Zeichen, zu lang zum Bearbeiten";
    }
    void captions_translatedWithUniqueAccessKeys() {
        QFETCH(QLocale, locale);
        const auto translations = installTranslations(locale);
        init();
        // "<menu or menu bar><key>": an item counts in each menu it is in; a button, in the
        // menu bar's, as Alt reaches both.
        QStringList keys;
        QObject* bar = w->window->menuBar();
        // "Terminal &Colours" keeps the caption it was given, whose C is Classic Spread's too
        // in English (a second C moves on to it); a translation keeps them apart.
        const QObject* sharesKey =
            locale == QLocale::c() ? w->find<QMenu>("depthMenu")->menuAction() : nullptr;
        for (const QObject* item : w->window->findChildren<QObject*>()) {
            const auto* action = qobject_cast<const QAction*>(item);
            if (item == sharesKey) {
                continue;
            }
            const QString text = action ? action->text() : item->property("text").toString();
            for (const QObject* in : action ? action->associatedObjects() : QObjectList{bar}) {
                keys << QString::number(quintptr(in)) + QKeySequence::mnemonic(text).toString();
            }
        }
        keys = keys.filter(QRegularExpression("\\D"));
        QCOMPARE(keys.removeDuplicates(), 0);
        // A caption at least 4 pixels clear of its button's frame, for HTML and other code.
        for (const char* format : {"formatFont", "formatJson"}) {
            w->activate(format);
            for (auto* button : w->window->centralWidget()->findChildren<QPushButton*>()) {
                const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
                const QString caption = button->text();
                const int text = button->fontMetrics().size(Qt::TextShowMnemonic, caption).width();
                QVERIFY2(caption.size() < 2 || (button->width() - text) / 2 - frame >= 4,
                         qPrintable(caption));
            }
        }
        w->activate("formatFont");
        // "None" is shown translated and chosen as itself.
        w->find<InputLine>("textEdit")->setText("A");
        w->window->setColors(paletteOf({0x0000FF}));
        w->activate("colorizeButton");
        QCOMPARE(w->codeBox()->code(), "<center><font color=\"#FF0000\">A</font></center>");
        auto* sizeLine = w->find<QLabel>("codeSizeLabel");
        w->codeBox()->setCode(QString(1715301, u'x'));
        QVERIFY(sizeLine->width() >= sizeLine->sizeHint().width()); // the whole line shows
        QTEST(w->find<QMenu>("fileMenu")->title() + ' ' +
                  w->find<QComboBox>("faceCombo")->currentText() + ' ' +
                  w->find<QComboBox>("sizeCombo")->currentText() + ' ' + sizeLine->text(),
              "captions");
    }

    // Every button, menu item and pop-up item (Add and Remove Scheme are the user-scheme
    // test's) from the same start with the same scripted answers; an item that repeats a
    // button must change exactly what it changes. A row's name is the command, after
    // "a > b > " the commands run before it, after a comma what its setup changes. The code
    // is the engine's and the page the output library's; the rows show each path reaches them.
    static Setup fittedTo(int limit) {
        return [limit](WindowFixture& w) {
            engine::OutputChoices choices = w.window->outputChoices();
            choices.maxLength = limit;
            w.window->chooseOutput(choices);
        };
    }
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
        const QStringList cleared = {"palette=_ _ _ _ _ _ _ _ _ _"};
        const QString folder = "stored=saveFolder=/out";
        const QString codeCaptions = "captions=Code: &Copy Code S&ave Code &Save Code...";
        const QStringList saved = {asked, page("FFFFFF", "kept"), folder};
        const Setup none = nullptr;
        const QString ansi = "code=\x1b[38;2;0;0;0mA\x1b[38;2;34;34;34mB\x1b[38;2;99;99;99mC"
                             "\x1b[38;2;174;174;174mD\x1b[38;2;255;255;255mE\x1b[0m";
        const QString font = R"(<font face="Arial" size=+2>)",
                      courier = R"(<font face="Courier New" size=-7>)";
        const QList<std::tuple<const char*, Setup, QStringList>> rows = {
            {"colorizeButton", none, colorized},
            {"colorize", none, colorized},
            // Each option box is ticked in one of these two rows and not in the other.
            {"colorizeButton, Arial +2 bold underline centre",
             styled("Arial", "+2", {"boldCheck", "underlineCheck", "centerCheck"}),
             {"code=<center><b><u>" + font + abcde() + "</font></u></b></center>", "font=Arial 101",
              preview}},
            {"colorizeButton, Courier New -7 italic",
             styled("Courier New", "-7", {"italicCheck"}),
             {"code=<i>" + courier + abcde() + "</font></i>", "font=Courier New 010", preview}},
            {"formatSpan > colorizeButton",
             none,
             {"code=" + abcde("<span style=\"color:#", "</span>"), preview}},
            {"blendOkLch > spreadEven > formatAnsi > merge > colorizeButton",
             none,
             {ansi, "preview=ABCDE: 0 222222 636363 aeaeae ffffff"}},
            {"colorizeButton, no text",
             [](WindowFixture& w) { w.find<QLineEdit>("textEdit")->clear(); },
             {"messages=Tintwave: You must type something."}},
            {"colorizeButton > clearButton > colorizeButton",
             none,
             {"code=", "messages=Tintwave: You must select at least one color"}},
            {"formatSpan", none, {"options=Span Rgb Classic (merge on)", "stored=format=span"}},
            {"formatBBCode > merge > formatFont",
             none,
             {"captions=HTML Code: &Copy HTML S&ave HTML &Save as HTML...",
              "options=Font Rgb Classic Merge", "stored=format=bbcode|merge=1|format=font"}},
            {"blendOkLab", none, {"options=Font OkLab Classic", "stored=blend=oklab"}},
            {"spreadEven", none, {"options=Font Rgb Even", "stored=spread=even"}},
            {"clearButton", none, cleared},
            {"clearColors", none, cleared},
            {"invertButton", none, inverted},
            {"invertColors", none, inverted},
            {"rotateLeftButton", none, {"palette=_ _ _ _ ffffff _ _ _ _ 0"}},
            {"rotateRightButton", none, {"palette=_ 0 _ _ _ _ ffffff _ _ _"}},
            {"reverseButton", none, reversed},
            {"reverseColors", none, reversed},
            {"randomizeButton", none, randomized},
            {"randomizeColors", none, randomized},
            {"Left@4",
             none,
             {"pressedSlot=4", "palette=0 _ _ _ 123456 ffffff _ _ _ _", "picked=1"}},
            {"Space@4",
             none,
             {"pressedSlot=4", "palette=0 _ _ _ 123456 ffffff _ _ _ _", "picked=1"}},
            // The pop-up acts on the box it was opened on.
            {"Middle@7", none, {"pressedSlot=7"}},
            {"Right invertPressedSlot@0",
             none,
             {"pressedSlot=0", "palette=ffffff _ _ _ _ ffffff _ _ _ _"}},
            {"Menu invertPressedSlot@0",
             none,
             {"pressedSlot=0", "palette=ffffff _ _ _ _ ffffff _ _ _ _"}},
            {"Right clearPressedSlot@5", none, {"pressedSlot=5", "palette=0 _ _ _ _ _ _ _ _ _"}},
            {"Shift+F10 clearPressedSlot@5",
             none,
             {"pressedSlot=5", "palette=0 _ _ _ _ _ _ _ _ _"}},
            {"Right randomizePressedSlot@1",
             none,
             {"pressedSlot=1", "palette=0 20100 _ _ _ ffffff _ _ _ _"}},
            {"Right closeSlotMenu@0", none, {"pressedSlot=0"}},
            {"presetBlueRed", none, {"palette=ff0000 ff _ _ _ _ _ _ _ _"}},
            {"preview", none, {"background=123456", "picked=1"}},
            {"Space@preview", none, {"background=123456", "picked=1"}},
            {"copyHtmlButton", none, {"clipboard=kept "}},
            {"formatMcHex > colorizeButton",
             none,
             {"code=&#000000A&#2A2A2AB&#555555C&#808080D&#AAAAAAE", preview}},
            {"formatMcHex > fitToLength",
             [](WindowFixture& w) { w.fake.inputPrompt.answers = {"30"}; },
             {"prompted=0", "stored=format=mc-hex|maxlength=30"}},
            // Merged at 2 characters per colour: 29 of 30; 13 at the least, the old code kept.
            {"formatMcHex > colorizeButton, fitted to 30",
             fittedTo(30),
             {"code=&#000000AB&#555555CD&#AAAAAAE", "preview=ABCDE: 0 0 555555 555555 aaaaaa"}},
            {"formatMcHex > colorizeButton, fitted to 10",
             fittedTo(10),
             {"messages=Tintwave (!): cannot fit in 10 characters; the shortest form needs 13"}},
            // The chats fit too, counting the runs of their shown colours (mIRC 05 #7F0000 and 14).
            {"formatDiscord > fitToLength",
             [](WindowFixture& w) { w.fake.inputPrompt.answers = {"2000"}; },
             {"prompted=0", "stored=format=discord|maxlength=2000"}},
            {"formatIrc > colorizeButton, fitted to 14",
             fittedTo(14),
             {"code=\x03"
              "05ABC\x03"
              "14DE\x0F",
              "preview=ABCDE: 7f 7f 7f 7f7f7f 7f7f7f"}},
            {"formatSpan > skipBlanks",
             none,
             {"options=Span Rgb Classic SkipBlanks (merge on)", "stored=format=span|skipblanks=1"}},
            {"editTemplate",
             [](WindowFixture& w) { w.fake.inputPrompt.answers = {"[c/{hex}:{c}]"}; },
             {codeCaptions, "options=Template Rgb Classic (merge on)", "prompted=&#{hex}{c}",
              "stored=format=template|template=[c/{hex}:{c}]"}},
            // The prompt comes back with what was typed until it is right or cancelled.
            {"editTemplate, unknown placeholder, mended",
             [](WindowFixture& w) {
                 w.fake.inputPrompt.answers = {"{x}", "{c}."};
             },
             {codeCaptions, "messages=Tintwave (!): The template has an unknown placeholder {x}.",
              "options=Template Rgb Classic (merge on)", "prompted=&#{hex}{c}|{x}",
              "stored=format=template|template={c}."}},
            {"editTemplate, empty",
             [](WindowFixture& w) { w.fake.inputPrompt.answers = {""}; },
             {"messages=Tintwave (!): The template is empty.", "prompted=&#{hex}{c}|"}},
            // Spans with the chosen styles whatever the format, and the text.
            {"formatJson > colorizeButton > copyRichText",
             none,
             {"clipboard=ABCDE <meta charset=\"utf-8\">" +
              abcde("<span style=\"color:#", "</span>")}},
            {"saveAs", none, saved},
            {"saveButton", none, saved},
            {"saveAs, no code",
             [](WindowFixture& w) { w.codeBox()->setCode({}); },
             {asked, colorized[0], page("FFFFFF", abcde()), preview, folder}},
            {"saveAs, background chosen",
             [](WindowFixture& w) { w.preview()->setBackColor(0xFF0800); },
             {asked, page("0008FF", "kept"), folder}},
            // The format of the code in the box decides, not the one chosen since.
            {"formatBBCode > saveAs",
             none,
             {"asked=tintwave.txt|Text Files (*.txt)", "files=/out/p.html:kept\n",
              "stored=format=bbcode|saveFolder=/out"}},
            // The dialog opens in the folder saved to last, also by an earlier run.
            {"saveAs > saveAs", none, {asked + "|/out/index.html|HTML Files (*.html *.htm)"}},
            {"saveAs, saved to /srv/www before",
             [](WindowFixture& w) {
                 w.fake.settings.setValue("options", "saveFolder", "/srv/www");
             },
             {"asked=/srv/www/index.html|HTML Files (*.html *.htm)", page("FFFFFF", "kept"),
              "stored=saveFolder=/srv/www|saveFolder=/out"}},
            {"saveAs, name without extension",
             [](WindowFixture& w) { w.fake.saveDialog.answers = {"/out/p"}; },
             {asked, "files=/out/p.html:" + page("FFFFFF", "kept").section(':', 1), folder}},
            {"formatJson > saveAs",
             none,
             {"asked=tintwave.json|JSON Files (*.json)", "files=/out/p.html:kept\n",
              "stored=format=json|saveFolder=/out"}},
            {"saveAs, write fails",
             [](WindowFixture& w) { w.fake.files.failWith = "Permission denied"; },
             {asked, "messages=Tintwave (!): Could not save /out/p.html: Permission denied"}},
            {"showAbout", none, {"modal=tintwave::app::AboutWindow"}},
            {"quit", none, {"visible=no"}},
        };
        for (const auto& [name, setup, changes] : rows) {
            QTest::newRow(name) << setup << changes;
        }
    }
    // The size line of fitted code counts against the limit as the target does (an IRC
    // server in bytes: the Ä takes two, so 18 needs two characters a colour) and names the
    // step.
    void fitToLength_sizeLineCountsAgainstTheLimit_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("sizeLine");
        QTest::newRow("mc-hex") << "formatMcHex"
                                << "ABCDE" << 30 << "29 of 30 characters, 2 per colour";
        QTest::newRow("irc") << "formatIrc"
                             << "\u00C4BCDE" << 18 << "16 of 18 bytes, 2 per colour";
    }
    void fitToLength_sizeLineCountsAgainstTheLimit() {
        QFETCH(QString, format);
        QFETCH(QString, text);
        QFETCH(int, limit);
        QFETCH(QString, sizeLine);
        w->find<QLineEdit>("textEdit")->setText(text);
        w->window->setColors(paletteOf({0x000000, E, E, E, E, kWhite}));
        fittedTo(limit)(*w);
        w->activate(format);
        w->activate("colorizeButton");
        QCOMPARE(w->find<QLabel>("codeSizeLabel")->text(), sizeLine);
    }
    void command_changesExactlyWhatItsWiringSays() {
        QFETCH(Setup, setup);
        QFETCH(QStringList, changes);
        for (int k = 0; k < 30; ++k) {
            w->fake.random.values.push_back(float(k) / 256.0f);
        }
        w->fake.colorDialog.answers = {0x123456};
        w->fake.saveDialog.answers = {"/out/p.html"};
        // Colorize writes abcde() for this; the box starts with other code.
        w->find<InputLine>("textEdit")->setText("ABCDE");
        w->find<QAbstractButton>("centerCheck")->setChecked(false);
        w->window->setColors(paletteOf({0x000000, E, E, E, E, kWhite}));
        w->codeBox()->setCode("kept");
        QStringList commands =
            QString::fromLatin1(QTest::currentDataTag()).section(',', 0, 0).split(" > ");
        const QString command = commands.takeLast();
        for (const QString& earlier : commands) {
            w->activate(earlier);
        }
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
        run(command);
        QStringList changed = observable(modals);
        changed.removeIf([&before](const QString& line) { return before.contains(line); });
        QCOMPARE(changed, changes);
    }

    // The window's frame, not only its client area, is centred on the screen. Every control
    // but the text boxes (they scroll) shows its whole content in the desktop's fonts: it is
    // at least its size hint (the one-glyph arrows fit without the style's minimum button
    // width). The boxes and buttons, the default one too, show on screen when they have the
    // keyboard focus.
    void window_frameCentred_controlsShowContentAndFocus() {
        const QRect frame = w->window->frameGeometry();
        QVERIFY(frame.size() != w->window->size()); // the platform draws a frame
        // An odd pixel left over stays right of and below the window, as it always has.
        const QRect screen = w->window->screen()->geometry();
        QCOMPARE(
            frame.topLeft() - screen.topLeft(),
            QPoint((screen.width() - frame.width()) / 2, (screen.height() - frame.height()) / 2));
        for (QWidget* c :
             w->window->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const bool arrow =
                c->inherits("QPushButton") && c->property("text").toString().size() < 2;
            QVERIFY2(arrow || c == w->preview() || c == w->codeBox() ||
                         c->size().expandedTo(c->sizeHint()) == c->size(),
                     qPrintable(c->objectName()));
        }
        for (QWidget* box : {w->find("colorBox0"), w->find("preview"), w->find("colorizeButton"),
                             w->find("clearButton")}) {
            const QRect area(box->mapTo(w->window.get(), QPoint()), box->size());
            const auto shown = [&] {
                return box->screen()->grabWindow(w->window->winId()).copy(area).toImage();
            };
            const QImage unfocused = shown();
            box->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY2(shown() != unfocused, qPrintable(box->objectName()));
        }
    }

    // A code of up to 100,000 characters takes typing. A longer one is shown read-only, the
    // size line says so, and Copy and Save take it whole; a short code after it is editable
    // again, and the size line counts what the box holds.
    void codeBox_editableUpToTheLimit_longerReadOnlyAndSaid() {
        auto* sizeLine = w->find<QLabel>("codeSizeLabel");
        w->window->setColors(paletteOf({0x0000FF, E, E, 0xFF0000}));
        w->find<InputLine>("textEdit")->setText(QString(3332, u'a'));
        w->activate("colorizeButton");
        QTest::keyClick(w->codeBox()->focusProxy(), Qt::Key_X);
        QCOMPARE(sizeLine->text(), "99,978 characters");
        w->find<InputLine>("textEdit")->setText(QString(3333, u'a'));
        w->fake.saveDialog.answers = {"/out/long.html"};
        for (const char* command : {"colorizeButton", "saveButton", "copyHtmlButton"}) {
            w->activate(command);
        }
        QTest::keyClick(w->codeBox()->focusProxy(), Qt::Key_X);
        QCOMPARE(sizeLine->text(), "100,007 characters, too long to edit");
        QCOMPARE(w->fake.clipboard.text, w->codeBox()->code());
        QVERIFY(w->fake.files.files.value("/out/long.html")
                    .contains(w->fake.clipboard.text.toLatin1() + "\r\n"));
        w->find<InputLine>("textEdit")->setText("AB");
        w->activate("colorizeButton");
        auto* edit = w->codeBox()->findChild<QPlainTextEdit*>();
        QVERIFY(edit->isVisible());
        edit->setPlainText("x");
        QCOMPARE(sizeLine->text(), "1 character");
        edit->clear();
        QCOMPARE(sizeLine->text(), QString());
    }

    // Enter in the text box colorizes whatever holds the text: QLineEdit or, for a long
    // text or one with a line break, the box's own editor.
    void textBox_enterColorizesTheWholeText_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("short") << u"ABCDE"_s;
        QTest::newRow("longer than QLineEdit keeps") << QString(20'000, u'w') + u"€"_s;
        QTest::newRow("a line break") << u"one\ntwo"_s;
    }
    void textBox_enterColorizesTheWholeText() {
        QFETCH(QString, text);
        auto* box = w->find<InputLine>("textEdit");
        w->window->setColors(paletteOf({0x0000FF, E, E, 0xFF0000}));
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(w->preview()->toPlainText(), text);
    }

    // Paste Code fills the window from the code on the clipboard and colorizes: the code box
    // shows the same code again, the controls the text, palette, styles, face, size and
    // options that make it. The format comes from the code's syntax.
    void pasteCode_remakesTheCodeFromItsControls_data() {
        QTest::addColumn<engine::ColorizeOptions>("made");
        QTest::addColumn<QString>("colors");
        using enum engine::OutputFormat;
        const auto row = [](const char* name, const engine::ColorizeOptions& made,
                            const QString& colors) {
            QTest::newRow(name) << made << colors;
        };
        row("font, face, size, centred",
            {.face = "Arial", .size = "+2", .center = true, .bold = true}, "ff0000 ff _ _");
        row("span from its CSS size", {.size = "-1", .italic = true, .output = {.format = Span}},
            "ff ff00 _ _");
        row("mc-hex merged, oklch, even",
            {.underline = true,
             .output = {.format = McHex,
                        .blend = engine::Blend::OkLch,
                        .spread = engine::Spread::Even,
                        .merge = true}},
            "ff ff00 ff0000 _");
        row("json, skipped blanks",
            {.output = {.format = Json, .spread = engine::Spread::Even, .skipBlanks = true}},
            "ffffff 0 _ _");
    }
    void pasteCode_remakesTheCodeFromItsControls() {
        QFETCH(engine::ColorizeOptions, made);
        QFETCH(QString, colors);
        palette::Palette palette = palette::Palette::empty();
        const QStringList entries = colors.split(' ');
        for (int i = 0; i < int(entries.size()); ++i) {
            palette[i] = entries[i] == "_" ? E : ColorValue(entries[i].toInt(nullptr, 16));
        }
        const QString text = "Hi <all> & [you]";
        const QString code = engine::colorize(text, palette.values(), made).code;
        w->fake.clipboard.text = code + '\n';
        w->activate("pasteCode");
        QCOMPARE(w->codeBox()->code(), code);
        QCOMPARE(w->find<InputLine>("textEdit")->text(), text);
        QCOMPARE(w->window->outputChoices().format, made.output.format);
        QCOMPARE(w->find<QCheckBox>("boldCheck")->isChecked(), made.bold);
        QVERIFY(w->fake.messages.shown.isEmpty());
    }

    // A clipboard without a readable code names the problem and changes nothing.
    void pasteCode_unreadable_changesNothing_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("message");
        QTest::newRow("plain text") << "just words"
                                    << "Tintwave (!): Cannot tell the format of this code.";
        QTest::newRow("broken json")
            << "[\"\",{\"text\":\"a\""
            << "Tintwave (!): This code cannot be read: not valid json at character 16: expected , "
               "or }";
        QTest::newRow("no colour") << "[\"\",{\"text\":\"a\"}]"
                                   << "Tintwave (!): You must select at least one color";
    }
    void pasteCode_unreadable_changesNothing() {
        QFETCH(QString, clipboard);
        QFETCH(QString, message);
        w->find<InputLine>("textEdit")->setText("kept");
        const QStringList before = observable({});
        w->fake.clipboard.text = clipboard;
        w->activate("pasteCode");
        QCOMPARE(w->fake.messages.shown, QStringList{message});
        w->fake.messages.shown.clear();
        w->fake.clipboard.text.clear();
        QCOMPARE(observable({}), before);
        QCOMPARE(w->find<InputLine>("textEdit")->text(), "kept");
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
