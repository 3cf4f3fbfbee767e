#include "app/ColorBox.h"
#include "app/tests/AppTestKit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>

using Setup = std::function<void(tintwave::app::testing::MainWindow&)>;
Q_DECLARE_METATYPE(Setup)

using namespace tintwave;
using namespace tintwave::app;
using namespace tintwave::app::testing;

namespace {

const QString kAbcdeCode =
    QStringLiteral("<font color=\"#000000\">A</font><font color=\"#2A2A2A\">B</font>"
                   "<font color=\"#555555\">C</font><font color=\"#808080\">D</font>"
                   "<font color=\"#AAAAAA\">E</font>");

QByteArray page(const QByteArray& background, const QString& code) {
    return "<html>\r\n<head>\r\n<title>YOUR TITLE HERE</title>\r\n</head>\r\n<body bgcolor=\"" +
           background + "\">\r\n" + code.toLatin1() + "\r\n</body>\r\n</html>\r\n";
}

// Picks face and size and ticks exactly the given option boxes.
Setup styled(const char* face, const char* size, const QStringList& ticked) {
    return [=](MainWindow& w) {
        w.find<QComboBox>("cboFont")->setCurrentText(QString::fromLatin1(face));
        w.find<QComboBox>("cboSize")->setCurrentText(QString::fromLatin1(size));
        for (const char* box : {"chkBold", "chkItalic", "chkUnderline", "chkCenter"})
            w.find<QCheckBox>(box)->setChecked(ticked.contains(QLatin1String(box)));
    };
}

// "000000 _ _ ...": the ten slots, "_" for an empty one.
QString slotsOf(const palette::Palette& p) {
    QStringList slots;
    for (ColorValue v : p.values())
        slots << (v == E ? QStringLiteral("_") : QStringLiteral("%1").arg(v, 6, 16, QChar('0')));
    return slots.join(QLatin1Char(' ')).toUpper();
}

void describeMenu(const QMenu* menu, int depth, QStringList& out) {
    for (const QAction* a : menu->actions()) {
        const QString name = a->menu() ? a->menu()->objectName() : a->objectName();
        QString line = QString(depth * 2, QLatin1Char(' ')) + name + QLatin1Char(' ') +
                       (a->isSeparator() ? QStringLiteral("-") : a->text());
        if (!a->shortcut().isEmpty())
            line += QLatin1Char(' ') + a->shortcut().toString();
        out << line;
        if (a->menu())
            describeMenu(a->menu(), depth + 1, out);
    }
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> w;

    // Everything a command can change, one line per thing.
    QMap<QString, QString> observable(const QStringList& modals) const {
        QStringList files;
        for (auto [path, bytes] : w->fake.files.files.asKeyValueRange())
            files << path + QLatin1Char(':') + QString::fromLatin1(bytes);
        const QFont font = w->preview()->displayFont();
        return {{"asked", w->fake.saveDialog.asked.join(QLatin1Char('|'))},
                {"background", QString::number(w->preview()->backColor(), 16)},
                {"clipboard", w->fake.clipboard.text},
                {"code", w->code()},
                {"files", files.join(QLatin1Char('|'))},
                {"font", font.family() + QString::asprintf(" %d%d%d", font.bold(), font.italic(),
                                                           font.underline())},
                {"gIndex", QString::number(w->window->gIndex().value_or(-1))},
                {"messages", w->fake.messages.shown.join(QLatin1Char('|'))},
                {"modal", modals.join(QLatin1Char('|'))},
                {"palette", slotsOf(w->window->colors())},
                {"picked", QString::number(w->fake.colorDialog.opened)},
                {"preview", previewShown()},
                {"schemes", w->userSchemeEntries().join(QLatin1Char('|'))},
                {"visible", w->window->isVisible() ? "yes" : "no"}};
    }
    // The preview's text and the colour of each of its characters.
    QString previewShown() const {
        QString shown = w->preview()->toPlainText() + QLatin1Char(':');
        for (qsizetype i = 0; i < w->preview()->toPlainText().size(); ++i)
            shown += QStringLiteral(" %1").arg(w->preview()->colorAt(i), 6, 16, QChar('0'));
        return shown.toUpper();
    }
    // Runs command: a control or menu item name, "Ctrl+<key>", "Enter on <control>",
    // "RTB1" (a click on the preview), or "<button>@n" for a mouse button pressed on
    // colour box n, where the right button is followed by the pop-up item <button>.
    void run(const QString& command) {
        if (command.startsWith(QLatin1String("Ctrl+"))) {
            QTest::keySequence(w->window.get(), QKeySequence(command));
        } else if (command == QLatin1String("RTB1")) {
            QTest::mouseClick(w->preview()->viewport(), Qt::LeftButton);
        } else if (command.startsWith(QLatin1String("Enter on "))) {
            auto* target = w->find<QWidget>(command.mid(9));
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
        } else if (command.contains(QLatin1Char('@'))) {
            const QString button = command.section(QLatin1Char('@'), 0, 0);
            auto* box = w->find<ColorBox>(
                QStringLiteral("picColor(%1)").arg(command.section(QLatin1Char('@'), 1)));
            if (button == QLatin1String("Left") || button == QLatin1String("Middle"))
                return QTest::mousePress(box, button == QLatin1String("Left") ? Qt::LeftButton
                                                                              : Qt::MiddleButton);
            QTest::mousePress(box, Qt::RightButton);
            QVERIFY(w->find<QMenu>("mnuPopUp")->isVisible());
            w->find<QAction>(button)->trigger();
            w->find<QMenu>("mnuPopUp")->hide();
        } else {
            w->activate(command);
        }
    }

private Q_SLOTS:
    void init() {
        w = std::make_unique<MainWindow>();
        w->open();
    }
    void cleanup() { w.reset(); }

    void startup_showsTheDesignedEmptyState() {
        QCOMPARE(w->window->windowTitle(), QStringLiteral("Tintwave 1.0"));
        QCOMPARE(w->window->minimumSize(), w->window->maximumSize());
        QVERIFY(w->window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(w->window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!w->window->windowIcon().isNull());
        QStringList items;
        for (const char* list : {"cboFont", "cboSize"}) {
            auto* box = w->find<QComboBox>(list);
            QVERIFY(!box->isEditable());
            items << box->currentText() + QLatin1Char(':');
            for (int i = 0; i < box->count(); ++i)
                items << box->itemText(i);
        }
        QCOMPARE(items.join(QLatin1Char('|')),
                 QStringLiteral("None:|None|Arial|Book Antiqua|Comic Sans MS|Courier New|"
                                "Lucida Calligraphy|Lucida Sans|MS Sans Serif|Times New Roman|"
                                "None:|None|+1|+2|+3|+4|-1|-2|-3|-4|+5|+6|+7|-5|-6|-7"));
        QStringList checks;
        for (const char* name : {"chkBold", "chkItalic", "chkUnderline", "chkCenter"}) {
            auto* box = w->find<QCheckBox>(name);
            const QFont f = box->font();
            checks << QString::asprintf("%s %d%s%s%s", name, int(box->isChecked()),
                                        f.bold() ? "b" : "", f.italic() ? "i" : "",
                                        f.underline() ? "u" : "");
        }
        QCOMPARE(checks,
                 QStringList({"chkBold 0b", "chkItalic 0i", "chkUnderline 0u", "chkCenter 1"}));
        QCOMPARE(w->window->gIndex(), std::nullopt);
        QCOMPARE(w->window->gNumSchemes(), 0);
        QCOMPARE(w->window->colors(), palette::Palette::empty());
        QCOMPARE(w->find<ColorBox>("picColor(9)")->shownColor(), w->fake.systemColors.buttonFace);
        QCOMPARE(w->preview()->backColor(), kWindowBackground);
        QVERIFY(w->find<QPushButton>("Command1")->isDefault());
        QCOMPARE(w->window->focusWidget(), w->find<QWidget>("txtInput"));
        QVERIFY(w->code().isEmpty());
        QVERIFY(w->fake.messages.shown.isEmpty());
    }

    void startup_keyGeometryAndTabOrder() {
        QCOMPARE(w->window->centralWidget()->size(), QSize(482, 365));
        QStringList geometry;
        for (const char* name :
             {"picColor(0)", "picColor(9)", "Command1", "txtInput", "RTB1", "Text2"}) {
            const QRect r = w->find<QWidget>(name)->geometry();
            geometry << QString::asprintf("%s %d,%d %dx%d", name, r.x(), r.y(), r.width(),
                                          r.height());
        }
        QCOMPARE(geometry, QStringList({"picColor(0) 24,26 26x25", "picColor(9) 312,26 26x25",
                                        "Command1 387,1 89x25", "txtInput 6,90 351x25",
                                        "RTB1 6,240 471x49", "Text2 6,309 472x49"}));
        QStringList order;
        QWidget* widget = w->find<QWidget>("txtInput");
        for (int i = 0; i < 29; ++i, widget = widget->nextInFocusChain()) {
            while (widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty())
                widget = widget->nextInFocusChain();
            order << widget->objectName();
        }
        QCOMPARE(order.join(QLatin1Char(' ')),
                 QStringLiteral("txtInput Command1 Command7 Command4 Command6 Command2 Command3 "
                                "cboFont cboSize Command5(0) Command5(1) picColor(0) picColor(1) "
                                "picColor(2) picColor(3) picColor(4) picColor(5) picColor(6) "
                                "picColor(7) picColor(8) picColor(9) Text2 chkBold chkItalic "
                                "chkUnderline chkCenter RTB1 Command8 txtInput"));
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

    void menus_haveTheDesignedTreeCaptionsAndShortcuts() {
        QStringList tree;
        for (const QAction* top : w->window->menuBar()->actions()) {
            tree << top->menu()->objectName() + QLatin1Char(' ') + top->text();
            describeMenu(top->menu(), 1, tree);
        }
        const QStringList expected = {
            "mnuFile &File",
            "  mnuSave &Save as HTML... Ctrl+S",
            "  mnuColorizer &Colorize",
            "  mnuFlip Re&verse Order",
            "  mnuInvertColors &Invert Colors",
            "  mnuRandom Ra&ndom Colors",
            "  mnuReset C&lear Colors",
            "  asdfjkl -",
            "  mnuExit E&xit Ctrl+Q",
            "mnuSchemes &Schemes",
            "  mnuAdd &Add Scheme...",
            "  mnuRemove &Remove Scheme...",
            "  breaker0 -",
            "  mnuSpectrum &Spectrum",
            "  mnuPhotoshop Photoshop Gradients",
            "    mnuregr Red-Green",
            "    mnuvior Violet-Orange",
            "    mnublreye Blue-Red-Yellow",
            "    mnublyebl Blue-Yellow-Blue",
            "    mnuoryeor Orange-Yellow-Orange",
            "    mnuvigror Violet-Green-Orange",
            "    mnuyeviorbl Yellow-Violet-Orange-Blue",
            "    mnuco Copper",
            "  mnubw Black/White/Gray",
            "    mnugrwhgr Gray-White-Gray",
            "    mnublwhbl Black-White-Black",
            "    mnuwhblwh White-Black-White",
            "    mnugrblgr Gray-Black-Gray",
            "  mnuBlues Blue/Green",
            "    mnubltubl Blue-Turq-Blue",
            "    mnublgrbl Blue-Green-Blue",
            "    mnunabltu Navy-Blue-Turq",
            "  mnuorreye Orange/Red/Yellow",
            "    mnureoryewh Red-Orange-Yellow-White",
            "    mnuoryeli Orange-Yellow-Light Yellow",
            "    mnuFlames Flames",
            "  mnumisc Misc.",
            "    mnutuye Turq-Yellow",
            "    mnuyepu Yellow-Pink",
            "    mnugrye Green-Yellow",
            "    mnublre Blue-Red",
            "  mnuSchemeArray(0) -",
            "mnuOptions &Options",
            "  mnuFormatFont &Font Tags (HTML 3.2)",
            "  mnuFormatSpan &Span Tags (HTML5)",
            "  mnuFormatBBCode &BBCode",
            "  mnuFormatAnsi &ANSI Terminal",
            "   -",
            "  mnuBlendRgb &RGB Blend",
            "  mnuBlendOkLab &OKLab Blend",
            "  mnuBlendOkLch OKLC&h Blend",
            "   -",
            "  mnuSpreadClassic &Classic Spread",
            "  mnuSpreadEven &Even Spread",
            "   -",
            "  mnuMerge &Merge Equal Colors",
            "mnuHelp &Help",
            "  mnuAbout &About...",
        };
        QCOMPARE(tree, expected);

        QStringList popUp{w->find<QMenu>("mnuPopUp")->title()};
        describeMenu(w->find<QMenu>("mnuPopUp"), 0, popUp);
        QCOMPARE(popUp, (QStringList{"mnuPopUp", "mnuClear &Clear", "mnuInvert &Invert",
                                     "mnuRandomOne Ra&ndom", "aslsdfasda -", "mnuCancel C&ancel"}));
    }

    // Every button, menu item, pop-up item and key from the same start with the same
    // scripted answers; an item that repeats a button must change exactly what it changes.
    // A row's name is its command, then what its setup changes before the command runs.
    void command_changesExactlyWhatItsWiringSays_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("changes");
        const QString asked = QStringLiteral("asked=index.html|HTML Files (*.html *.htm)");
        const QString abcde = QStringLiteral("preview=ABCDE: 000000 2A2A2A 555555 808080 AAAAAA");
        const QStringList colorized = {"code=" + kAbcdeCode, abcde};
        const QStringList cleared = {"palette=_ _ _ _ _ _ _ _ _ _"};
        const QStringList inverted = {"palette=FFFFFF _ _ _ _ 000000 _ _ _ _"};
        const QStringList reversed = {"palette=FFFFFF 000000 _ _ _ _ _ _ _ _"};
        QString random;
        for (int i = 0; i < kSlotCount; ++i) // draw k is k/256: component k
            random += QStringLiteral("%1 ").arg(3 * i + 256 * (3 * i + 1) + 65536 * (3 * i + 2), 6,
                                                16, QChar('0'));
        const QStringList randomized = {"palette=" + random.trimmed().toUpper()};
        const QStringList saved = {asked, "files=/out/p.html:" + page("FFFFFF", "kept")};
        const QStringList ended = {"visible=no"};
        const Setup none = nullptr;
        const Setup noCode = [](MainWindow& w) {
            w.find<QPlainTextEdit>("Text2")->clear();
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
             {"code=<center><b><u><font face=\"Arial\" size=+2>" + kAbcdeCode +
                  "</font></u></b></center>",
              "font=Arial 101", abcde}},
            {"Command1, Courier New -7 bold italic",
             styled("Courier New", "-7", {"chkBold", "chkItalic"}),
             {"code=<b><i><font face=\"Courier New\" size=-7>" + kAbcdeCode + "</font></i></b>",
              "font=Courier New 110", abcde}},
            {"Command1, italic underline",
             styled("None", "None", {"chkItalic", "chkUnderline"}),
             {"code=<i><u>" + kAbcdeCode + "</u></i>", "font=Arial 011", abcde}},
            {"Command1, no text", noText, {"messages=Tintwave: You must type something."}},
            {"Command1, earlier run, then no colours",
             [](MainWindow& w) {
                 w.activate("Command1");
                 w.window->setColors(palette::Palette::empty());
             },
             {"code=", "messages=Tintwave: You must select at least one color"}},
            {"Command2", none, cleared},
            {"mnuReset", none, cleared},
            {"Enter on Command2", none, cleared},
            {"Command4", none, inverted},
            {"mnuInvertColors", none, inverted},
            {"Command5(0)", none, {"palette=_ _ _ _ FFFFFF _ _ _ _ 000000"}},
            {"Command5(1)", none, {"palette=_ 000000 _ _ _ _ FFFFFF _ _ _"}},
            {"Command6", none, reversed},
            {"mnuFlip", none, reversed},
            {"Command7", none, randomized},
            {"mnuRandom", none, randomized},
            {"Left@4",
             none,
             {"gIndex=4", "palette=000000 _ _ _ 123456 FFFFFF _ _ _ _", "picked=1"}},
            {"Left@4, dialog cancelled",
             [](MainWindow& w) { w.fake.colorDialog.answers.clear(); },
             {"gIndex=4", "picked=1"}},
            {"Middle@7", none, {"gIndex=7"}},
            {"mnuInvert@0", none, {"gIndex=0", "palette=FFFFFF _ _ _ _ FFFFFF _ _ _ _"}},
            {"mnuInvert@1", none, {"gIndex=1"}},
            {"mnuClear@5", none, {"gIndex=5", "palette=000000 _ _ _ _ _ _ _ _ _"}},
            {"mnuClear@1", none, {"gIndex=1"}},
            {"mnuRandomOne@1", none, {"gIndex=1", "palette=000000 020100 _ _ _ FFFFFF _ _ _ _"}},
            {"mnuRandomOne@0", none, {"gIndex=0", "palette=020100 _ _ _ _ FFFFFF _ _ _ _"}},
            {"mnuCancel@0", none, {"gIndex=0"}},
            {"mnuSpectrum",
             none,
             {"palette=0000FF 00FFFF 00FF00 FFFF00 FF0000 FF00FF 0000FF _ _ _"}},
            {"mnublre", none, {"palette=FF0000 0000FF _ _ _ _ _ _ _ _"}},
            {"mnuAdd", none, {"schemes=mnuSchemeArray(1)=Mine"}},
            {"mnuRemove", none, {"modal=tintwave::app::Form6"}},
            {"RTB1", none, {"background=123456", "picked=1"}},
            {"Command3", none, {"clipboard=kept"}},
            {"Command3, no code", noCode, {}},
            {"mnuSave", none, saved},
            {"Command8", none, saved},
            {"Ctrl+S", none, saved},
            {"mnuSave, no code",
             noCode,
             {asked, colorized[0], "files=/out/p.html:" + page("FFFFFF", kAbcdeCode),
              colorized[1]}},
            {"mnuSave, no code, no text",
             [=](MainWindow& w) {
                 noCode(w);
                 noText(w);
             },
             {"messages=Tintwave: You must type something."}},
            {"mnuSave, background chosen",
             [](MainWindow& w) { w.preview()->setBackColor(0xFF0800); },
             {asked, "files=/out/p.html:" + page("0008FF", "kept")}},
            {"mnuSave, dialog cancelled",
             [](MainWindow& w) { w.fake.saveDialog.answers.clear(); },
             {asked}},
            {"mnuSave, write fails",
             [](MainWindow& w) { w.fake.files.failWith = QStringLiteral("Permission denied"); },
             {asked, "messages=Tintwave: Could not save /out/p.html: Permission denied"}},
            {"mnuAbout", none, {"modal=tintwave::app::Form3"}},
            {"mnuExit", none, ended},
            {"Ctrl+Q", none, ended},
        };
        for (const auto& [name, setup, changes] : rows)
            QTest::newRow(name) << setup << changes;
    }
    void command_changesExactlyWhatItsWiringSays() {
        QFETCH(Setup, setup);
        QFETCH(QStringList, changes);
        for (int k = 0; k < 30; ++k)
            w->fake.random.values.push_back(float(k) / 256.0f);
        w->fake.colorDialog.answers = {0x123456};
        w->fake.saveDialog.answers = {QStringLiteral("/out/p.html")};
        w->fake.inputPrompt.answers = {QStringLiteral("Mine")};
        w->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w->window.get()));
        // Colorize writes kAbcdeCode for this; the box starts with other code.
        w->prepare(QStringLiteral("ABCDE"), paletteOf({0x000000, E, E, E, E, kWhite}));
        w->find<QPlainTextEdit>("Text2")->setPlainText(QStringLiteral("kept"));
        if (setup)
            setup(*w);
        QStringList modals; // closed as soon as they open
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&modals] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                modals << dialog->metaObject()->className();
                dialog->reject();
            }
        });
        closer.start(10);

        const QMap<QString, QString> before = observable(modals);
        run(QString::fromLatin1(QTest::currentDataTag()).section(QLatin1Char(','), 0, 0));
        QStringList changed;
        for (auto [key, value] : observable(modals).asKeyValueRange())
            if (value != before.value(key))
                changed << key + QLatin1Char('=') + value;
        QCOMPARE(changed, changes);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_frmMain1.moc"
