#include "app/ColorBox.h"
#include "app/PreviewBox.h"
#include "app/frmMain1.h"
#include "app/tests/AppTestKit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace tintwave;
using namespace tintwave::app;
using namespace tintwave::app::testing;

namespace {

constexpr ColorValue E = palette::gColor;
constexpr ColorValue kBlack = 0x000000;
constexpr ColorValue kNavy = 0xAF000A; // (10, 0, 175)

const QString kAbcdeCode =
    QStringLiteral("<font color=\"#000000\">A</font><font color=\"#2A2A2A\">B</font>"
                   "<font color=\"#555555\">C</font><font color=\"#808080\">D</font>"
                   "<font color=\"#AAAAAA\">E</font>");

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

    std::unique_ptr<ScriptedPlatform> fake;
    std::unique_ptr<frmMain1> window;

    void open() {
        window = std::make_unique<frmMain1>(fake->services());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    template <typename T = QObject> T* find(const QString& name) const {
        return window->findChild<T*>(name);
    }
    QString code() const { return find<QPlainTextEdit>("Text2")->toPlainText(); }
    PreviewBox* preview() const { return find<PreviewBox>("RTB1"); }
    // Clicks a button or triggers a menu item.
    void activate(const QString& name) {
        if (auto* button = find<QPushButton>(name))
            QTest::mouseClick(button, Qt::LeftButton);
        else if (auto* action = find<QAction>(name))
            action->trigger();
        else
            QFAIL(qPrintable(QStringLiteral("no control ") + name));
    }
    // Types the worked example: ABCDE from black in slot 0 to white in slot 5.
    void prepareAbcde() {
        find<QLineEdit>("txtInput")->setText(QStringLiteral("ABCDE"));
        find<QCheckBox>("chkCenter")->setChecked(false);
        window->setColors(paletteOf({kBlack, E, E, E, E, kWhite}));
    }

private Q_SLOTS:
    void init() { fake = std::make_unique<ScriptedPlatform>(); }
    void cleanup() {
        window.reset();
        fake.reset();
    }

    void startup_showsTheDesignedEmptyState() {
        open();
        QCOMPARE(window->windowTitle(), QStringLiteral("Tintwave 1.0"));
        QCOMPARE(window->centralWidget()->size(), QSize(482, 365));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!window->windowIcon().isNull());

        auto* fonts = find<QComboBox>("cboFont");
        QStringList fontItems, sizeItems;
        for (int i = 0; i < fonts->count(); ++i)
            fontItems << fonts->itemText(i);
        auto* sizes = find<QComboBox>("cboSize");
        for (int i = 0; i < sizes->count(); ++i)
            sizeItems << sizes->itemText(i);
        QCOMPARE(fontItems.join(QLatin1Char('|')),
                 QStringLiteral("None|Arial|Book Antiqua|Comic Sans MS|Courier New|Lucida "
                                "Calligraphy|Lucida Sans|MS Sans Serif|Times New Roman"));
        QCOMPARE(sizeItems.join(QLatin1Char(' ')),
                 QStringLiteral("None +1 +2 +3 +4 -1 -2 -3 -4 +5 +6 +7 -5 -6 -7"));
        QCOMPARE(fonts->currentText(), QStringLiteral("None"));
        QCOMPARE(sizes->currentText(), QStringLiteral("None"));
        QVERIFY(!fonts->isEditable());

        QVERIFY(find<QCheckBox>("chkCenter")->isChecked());
        QVERIFY(!find<QCheckBox>("chkBold")->isChecked());
        QVERIFY(!find<QCheckBox>("chkItalic")->isChecked());
        QVERIFY(!find<QCheckBox>("chkUnderline")->isChecked());
        QVERIFY(find<QCheckBox>("chkBold")->font().bold());
        QVERIFY(find<QCheckBox>("chkItalic")->font().italic());
        QVERIFY(find<QCheckBox>("chkUnderline")->font().underline());

        QCOMPARE(window->gColor(), kButtonFace);
        QCOMPARE(window->gIndex(), std::nullopt);
        QCOMPARE(window->gNumSchemes(), 0);
        for (int i = 0; i < kSlotCount; ++i) {
            auto* box = find<ColorBox>(QStringLiteral("picColor(%1)").arg(i));
            QCOMPARE(box->value(), kButtonFace);
            QCOMPARE(box->shownColor(), fake->systemColors.buttonFace);
        }
        QCOMPARE(preview()->backColor(), kWindowBackground);
        QVERIFY(find<QPushButton>("Command1")->isDefault());
        QCOMPARE(window->focusWidget(), find<QWidget>("txtInput"));
        QVERIFY(code().isEmpty());
        QVERIFY(fake->messages.shown.isEmpty());
    }

    void startup_controlsStandAtTheirDesignedPixels_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Command5(0)") << "Command5(0)" << QRect(6, 26, 14, 25);
        QTest::newRow("picColor(0)") << "picColor(0)" << QRect(24, 26, 26, 25);
        QTest::newRow("picColor(9)") << "picColor(9)" << QRect(312, 26, 26, 25);
        QTest::newRow("Command5(1)") << "Command5(1)" << QRect(342, 26, 14, 25);
        QTest::newRow("Command1") << "Command1" << QRect(387, 1, 89, 25);
        QTest::newRow("Command7") << "Command7" << QRect(387, 35, 88, 25);
        QTest::newRow("Command8") << "Command8" << QRect(387, 208, 89, 25);
        QTest::newRow("txtInput") << "txtInput" << QRect(6, 90, 351, 25);
        QTest::newRow("cboSize") << "cboSize" << QRect(207, 171, 154, 21);
        QTest::newRow("RTB1") << "RTB1" << QRect(6, 240, 471, 49);
        QTest::newRow("Text2") << "Text2" << QRect(6, 309, 472, 49);
    }
    void startup_controlsStandAtTheirDesignedPixels() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        open();
        auto* control = find<QWidget>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
    }

    // Captions may grow to the right when the stand-in face is wider, never shrink.
    void startup_captionsKeepTheirDesignedPlace_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("designed");
        QTest::newRow("lbl(4)") << "lbl(4)" << QRect(6, 6, 32, 13);
        QTest::newRow("lbl(0)") << "lbl(0)" << QRect(6, 69, 63, 13);
        QTest::newRow("lbl(6)") << "lbl(6)" << QRect(162, 171, 23, 13);
        QTest::newRow("chkUnderline") << "chkUnderline" << QRect(60, 171, 67, 13);
        QTest::newRow("chkCenter") << "chkCenter" << QRect(60, 189, 55, 13);
    }
    void startup_captionsKeepTheirDesignedPlace() {
        QFETCH(QString, name);
        QFETCH(QRect, designed);
        open();
        auto* control = find<QWidget>(name);
        QVERIFY(control);
        QCOMPARE(control->pos(), designed.topLeft());
        QCOMPARE(control->height(), designed.height());
        QVERIFY(control->width() >= designed.width());
        QVERIFY(control->width() >= control->sizeHint().width());
    }

    void tab_visitsTheControlsInTheirDesignedOrder() {
        open();
        QStringList order;
        QWidget* w = find<QWidget>("txtInput");
        for (int i = 0; i < 29; ++i, w = w->nextInFocusChain()) {
            while (w->focusPolicy() == Qt::NoFocus || w->objectName().isEmpty())
                w = w->nextInFocusChain();
            order << w->objectName();
        }
        QCOMPARE(order.join(QLatin1Char(' ')),
                 QStringLiteral("txtInput Command1 Command7 Command4 Command6 Command2 Command3 "
                                "cboFont cboSize Command5(0) Command5(1) picColor(0) picColor(1) "
                                "picColor(2) picColor(3) picColor(4) picColor(5) picColor(6) "
                                "picColor(7) picColor(8) picColor(9) Text2 chkBold chkItalic "
                                "chkUnderline chkCenter RTB1 Command8 txtInput"));
    }

    void startup_buildsTheStoredSchemesIntoTheMenu() {
        fake->settings.SaveSetting("tintwave", "general", "numSchemes", "2");
        fake->settings.SaveSetting("tintwave", "scheme1", "title", "Warm");
        open(); // scheme2 has no title: an empty caption
        QCOMPARE(window->gNumSchemes(), 2);
        const QList<QAction*> items = find<QMenu>("mnuSchemes")->actions();
        QCOMPARE(items.size(), 12);
        QCOMPARE(items[9]->objectName(), QStringLiteral("mnuSchemeArray(0)"));
        QCOMPARE(items[10]->objectName(), QStringLiteral("mnuSchemeArray(1)"));
        QCOMPARE(items[10]->text(), QStringLiteral("Warm"));
        QCOMPARE(items[11]->objectName(), QStringLiteral("mnuSchemeArray(2)"));
        QCOMPARE(items[11]->text(), QString());
    }

    void startup_settingsNoticeIsShownOnceAfterTheWindowAppears() {
        fake->settings.pendingNotice = QStringLiteral("The settings file could not be read.");
        window = std::make_unique<frmMain1>(fake->services());
        QVERIFY(fake->messages.shown.isEmpty()); // not while hidden
        window->show();
        QTRY_COMPARE(fake->messages.shown,
                     QStringList{"Tintwave: The settings file could not be read."});
        window->hide();
        window->show();
        QTest::qWait(20);
        QCOMPARE(fake->messages.shown.size(), 1);
    }

    void menus_haveTheDesignedTreeCaptionsAndShortcuts() {
        open();
        QStringList tree;
        for (const QAction* top : window->menuBar()->actions()) {
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

        QStringList popUp;
        describeMenu(find<QMenu>("mnuPopUp"), 0, popUp);
        QCOMPARE(popUp, (QStringList{"mnuClear &Clear", "mnuInvert &Invert", "mnuRandomOne Ra&ndom",
                                     "aslsdfasda -", "mnuCancel C&ancel"}));
        QCOMPARE(find<QMenu>("mnuPopUp")->title(), QStringLiteral("mnuPopUp"));
    }

    void paletteCommands_changeTheBoxes_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<palette::Palette>("expected");
        const auto clear = palette::Palette::empty();
        const auto inverted = paletteOf({kWhite, 0x50FFF5, E, kBlack});
        const auto reversed = paletteOf({kWhite, kNavy, kBlack});
        // The start palette of every row: black, (10, 0, 175), empty, white, rest empty.
        QTest::newRow("Command2 clears") << "Command2" << clear;
        QTest::newRow("mnuReset repeats Command2") << "mnuReset" << clear;
        QTest::newRow("Command4 inverts") << "Command4" << inverted;
        QTest::newRow("mnuInvertColors repeats Command4") << "mnuInvertColors" << inverted;
        QTest::newRow("Command6 reverses") << "Command6" << reversed;
        QTest::newRow("mnuFlip repeats Command6") << "mnuFlip" << reversed;
        QTest::newRow("Command5(0) rotates left")
            << "Command5(0)" << paletteOf({kNavy, E, kWhite, E, E, E, E, E, E, kBlack});
        QTest::newRow("Command5(1) rotates right")
            << "Command5(1)" << paletteOf({E, kBlack, kNavy, E, kWhite});
        QTest::newRow("mnuSpectrum")
            << "mnuSpectrum"
            << paletteOf({0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0x0000FF});
        QTest::newRow("mnuco") << "mnuco"
                               << paletteOf({0x4B4696, 0xBED2FA, 0x4B4696, 0xBED2FA, 0x4B4696,
                                             0xBED2FA, 0x4B4696, 0xBED2FA, 0x4B4696, 0xBED2FA});
        QTest::newRow("mnublre") << "mnublre" << paletteOf({0xFF0000, 0x0000FF});
    }
    void paletteCommands_changeTheBoxes() {
        QFETCH(QString, control);
        QFETCH(palette::Palette, expected);
        open();
        window->setColors(paletteOf({kBlack, kNavy, E, kWhite}));
        find<QPlainTextEdit>("Text2")->setPlainText(QStringLiteral("kept"));
        activate(control);
        QCOMPARE(window->colors(), expected);
        for (int i = 0; i < kSlotCount; ++i)
            QCOMPARE(find<ColorBox>(QStringLiteral("picColor(%1)").arg(i))->value(), expected[i]);
        QCOMPARE(code(), QStringLiteral("kept")); // no palette command colorizes
    }

    void randomColors_fillsEverySlotFromThirtyDraws_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("Command7") << "Command7";
        QTest::newRow("mnuRandom repeats Command7") << "mnuRandom";
    }
    void randomColors_fillsEverySlotFromThirtyDraws() {
        QFETCH(QString, control);
        for (int k = 0; k < 30; ++k)
            fake->random.values.push_back(float(k) / 256.0f);
        open();
        activate(control);
        QCOMPARE(fake->random.drawn, 30);
        for (int i = 0; i < kSlotCount; ++i)
            QCOMPARE(window->colors()[i], 3 * i + 256 * (3 * i + 1) + 65536 * (3 * i + 2));
    }

    void colorBox_leftPressPicksTheSlotColour_cancelKeepsIt() {
        fake->colorDialog.answers = {0x123456, std::nullopt};
        open();
        auto* box = find<ColorBox>("picColor(4)");
        QTest::mousePress(box, Qt::LeftButton);
        QCOMPARE(window->gIndex(), 4);
        QCOMPARE(box->value(), 0x123456);
        QCOMPARE(box->shownColor(), 0x123456);
        QTest::mouseRelease(box, Qt::LeftButton);
        QTest::mousePress(box, Qt::LeftButton);
        QCOMPARE(fake->colorDialog.opened, 2);
        QCOMPARE(box->value(), 0x123456);
        QVERIFY(fake->messages.shown.isEmpty());
    }

    void colorBox_middlePressOnlyRemembersTheSlot() {
        open();
        QTest::mousePress(find<ColorBox>("picColor(7)"), Qt::MiddleButton);
        QCOMPARE(window->gIndex(), 7);
        QCOMPARE(fake->colorDialog.opened, 0);
        QVERIFY(!find<QMenu>("mnuPopUp")->isVisible());
        QCOMPARE(window->colors(), palette::Palette::empty());
    }

    void popUp_actsOnThePressedSlot_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<ColorValue>("before");
        QTest::addColumn<ColorValue>("after");
        QTest::newRow("invert empty stays empty") << "mnuInvert" << E << E;
        QTest::newRow("invert black gives white") << "mnuInvert" << kBlack << kWhite;
        QTest::newRow("invert (10,0,175)") << "mnuInvert" << kNavy << ColorValue(0x50FFF5);
        QTest::newRow("clear filled empties") << "mnuClear" << kNavy << E;
        QTest::newRow("clear empty stays empty") << "mnuClear" << E << E;
        QTest::newRow("random fills empty") << "mnuRandomOne" << E << ColorValue(0x004080);
        QTest::newRow("random replaces filled") << "mnuRandomOne" << kWhite << ColorValue(0x004080);
        QTest::newRow("cancel changes nothing") << "mnuCancel" << kNavy << kNavy;
    }
    void popUp_actsOnThePressedSlot() {
        QFETCH(QString, item);
        QFETCH(ColorValue, before);
        QFETCH(ColorValue, after);
        fake->random.values = {0.5f, 0.25f, 0.0f}; // red 128, green 64, blue 0
        open();
        auto start = paletteOf({kBlack, E, E, before, kWhite});
        window->setColors(start);
        QTest::mousePress(find<ColorBox>("picColor(3)"), Qt::RightButton);
        auto* popUp = find<QMenu>("mnuPopUp");
        QVERIFY(popUp->isVisible());
        QCOMPARE(window->gIndex(), 3);
        find<QAction>(item)->trigger();
        popUp->hide();
        start[3] = after;
        QCOMPARE(window->colors(), start);
        QCOMPARE(fake->colorDialog.opened, 0);
    }

    void colorize_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("Command1") << "Command1";
        QTest::newRow("mnuColorizer repeats Command1") << "mnuColorizer";
    }
    void colorize() {
        QFETCH(QString, control);
        open();
        prepareAbcde();
        activate(control);
        QCOMPARE(code(), kAbcdeCode);
        QCOMPARE(preview()->toPlainText(), QStringLiteral("ABCDE"));
        QCOMPARE(preview()->colorAt(3), 0x808080);
        QVERIFY(fake->messages.shown.isEmpty());
    }

    void colorize_readsFontSizeAndStylesFromTheControls() {
        open();
        find<QLineEdit>("txtInput")->setText(QStringLiteral("H"));
        window->setColors(paletteOf({E, E, 0x0000FF}));
        find<QComboBox>("cboFont")->setCurrentText(QStringLiteral("Arial"));
        find<QComboBox>("cboSize")->setCurrentText(QStringLiteral("+2"));
        find<QCheckBox>("chkBold")->setChecked(true);
        find<QCheckBox>("chkUnderline")->setChecked(true);
        activate("Command1");
        QCOMPARE(code(),
                 QStringLiteral("<center><b><u><font face=\"Arial\" size=+2>"
                                "<font color=\"#FF0000\">H</font></font></u></b></center>"));
        QCOMPARE(preview()->colorAt(0), 0x0000FF);
        const QFont shown = preview()->displayFont();
        QCOMPARE(shown.family(), QStringLiteral("Arial"));
        QVERIFY(shown.bold() && shown.underline() && !shown.italic());
    }

    void colorize_emptyTextOnlyShowsTheMessage() {
        open();
        window->setColors(paletteOf({kBlack}));
        find<QPlainTextEdit>("Text2")->setPlainText(QStringLiteral("old code"));
        activate("Command1");
        QCOMPARE(fake->messages.shown, QStringList{"Tintwave: You must type something."});
        QCOMPARE(code(), QStringLiteral("old code"));
    }

    void colorize_withoutColoursClearsTheCodeButKeepsThePreview() {
        open();
        prepareAbcde();
        activate("Command1");
        window->setColors(palette::Palette::empty());
        find<QLineEdit>("txtInput")->setText(QStringLiteral("other"));
        activate("Command1");
        QCOMPARE(fake->messages.shown, QStringList{"Tintwave: You must select at least one color"});
        QVERIFY(code().isEmpty());
        QCOMPARE(preview()->toPlainText(), QStringLiteral("ABCDE"));
        QCOMPARE(preview()->colorAt(4), 0xAAAAAA);
    }

    void enterInTheTextBox_runsColorize() {
        open();
        prepareAbcde();
        auto* input = find<QLineEdit>("txtInput");
        input->setFocus();
        QTest::keyClick(input, Qt::Key_Return);
        QCOMPARE(code(), kAbcdeCode);
        find<QPlainTextEdit>("Text2")->clear();
        QTest::keyClick(input, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(code(), kAbcdeCode);
    }

    void enterOnAnotherButton_pressesThatButton() {
        open();
        prepareAbcde();
        auto* clear = find<QPushButton>("Command2");
        clear->setFocus();
        QTest::keyClick(clear, Qt::Key_Return);
        QCOMPARE(window->colors(), palette::Palette::empty());
        QVERIFY(code().isEmpty());
    }

    void previewClick_setsTheBackgroundFromTheColourDialog() {
        fake->colorDialog.answers = {0xFF0800, std::nullopt};
        open();
        QTest::mouseClick(preview()->viewport(), Qt::LeftButton);
        QCOMPARE(fake->colorDialog.opened, 1);
        QCOMPARE(preview()->backColor(), 0xFF0800);
        window->RTB1_Click(); // cancelled
        QCOMPARE(preview()->backColor(), 0xFF0800);
    }

    void save_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("mnuSave") << "mnuSave";
        QTest::newRow("Command8 repeats mnuSave") << "Command8";
    }
    // With an empty code box Save colorizes first, then writes the page around the code
    // with the preview's background (a system reference resolved, then a chosen colour).
    void save() {
        QFETCH(QString, control);
        fake->saveDialog.answers = {QStringLiteral("/out/page.html"),
                                    QStringLiteral("/out/blue.htm")};
        fake->colorDialog.answers = {0xFF0800};
        open();
        prepareAbcde();
        activate(control);
        QCOMPARE(code(), kAbcdeCode);
        QCOMPARE(fake->saveDialog.asked, QStringList{"index.html|HTML Files (*.html *.htm)"});
        const QByteArray head = "<html>\r\n<head>\r\n<title>YOUR TITLE HERE</title>\r\n"
                                "</head>\r\n<body bgcolor=\"";
        const QByteArray tail = "\r\n</body>\r\n</html>\r\n";
        QCOMPARE(fake->files.files.value("/out/page.html"),
                 head + "FFFFFF\">\r\n" + kAbcdeCode.toLatin1() + tail);

        window->RTB1_Click();
        find<QPlainTextEdit>("Text2")->setPlainText(QStringLiteral("edited\nby hand"));
        activate(control);
        QCOMPARE(fake->files.files.value("/out/blue.htm"),
                 head + "0008FF\">\r\nedited\nby hand" + tail);
        QVERIFY(fake->messages.shown.isEmpty());
    }

    void save_withEmptyTextShowsColorizesMessageAndWritesNothing() {
        fake->saveDialog.answers = {QStringLiteral("/out/page.html")};
        open();
        window->setColors(paletteOf({kBlack}));
        activate("mnuSave");
        QCOMPARE(fake->messages.shown, QStringList{"Tintwave: You must type something."});
        QVERIFY(fake->saveDialog.asked.isEmpty());
        QVERIFY(fake->files.files.isEmpty());
    }

    void save_cancelledDialogWritesNothingAndSaysNothing() {
        open();
        prepareAbcde();
        activate("Command8");
        QCOMPARE(fake->saveDialog.asked.size(), 1);
        QVERIFY(fake->files.files.isEmpty());
        QVERIFY(fake->messages.shown.isEmpty());
        QCOMPARE(code(), kAbcdeCode); // the Colorize run stays
    }

    void save_failedWriteTellsTheUser() {
        fake->saveDialog.answers = {QStringLiteral("/locked/index.html")};
        fake->files.failWith = QStringLiteral("Permission denied");
        open();
        prepareAbcde();
        activate("mnuSave");
        QCOMPARE(fake->messages.shown,
                 QStringList{"Tintwave: Could not save /locked/index.html: Permission denied"});
    }

    void ctrlS_savesAndCtrlQ_ends() {
        fake->saveDialog.answers = {QStringLiteral("/out/page.html")};
        open();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        prepareAbcde();
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(fake->files.files.contains("/out/page.html"));
        QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!window->isVisible());
        QVERIFY(fake->messages.shown.isEmpty());
    }

    void copyHtml_putsTheCodeBoxTextOnTheClipboard() {
        open();
        activate("Command3");
        QCOMPARE(fake->clipboard.setCount, 0); // empty box: clipboard left alone
        prepareAbcde();
        activate("Command1");
        find<QPlainTextEdit>("Text2")->appendPlainText(QStringLiteral("<!-- mine -->"));
        activate("Command3");
        QCOMPARE(fake->clipboard.setCount, 1);
        QCOMPARE(fake->clipboard.text, kAbcdeCode + QStringLiteral("\n<!-- mine -->"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_frmMain1.moc"
