#include "app/MainWindow.h"

#include "app/AppIcon.h"
#include "app/ButtonFocusStyle.h"
#include "app/CodeBox.h"
#include "app/ColorBox.h"
#include "app/InputLine.h"
#include "app/PreviewBox.h"
#include "app/UserSchemeMenu.h"
#include "app/WindowPlacement.h"
#include "engine/OutputChoicesStore.h"
#include "palette/Presets.h"
#include "platform/SettingsStore.h"
#include "schemes/SchemeStore.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <utility>
#include <vector>

namespace tintwave::app {

namespace {

constexpr int kClientWidth = 7230;
constexpr int kClientHeight = 5475;

// Positions a control from its designed twip geometry.
template <typename W> W* place(W* widget, int left, int top, int width, int height) {
    return placeAt(widget, QRect(left, top, width, height));
}

// One radio item of the Options menu and the engine value it stands for.
template <typename Value> struct Choice {
    const char* name;
    const char* caption;
    Value value;
};

using engine::Blend;
using engine::OutputFormat;
using engine::Spread;

constexpr Choice<OutputFormat> kFormatChoices[] = {
    {"formatFont", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "&Font Tags (HTML 3.2)"),
     OutputFormat::Font},
    {"formatSpan", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "&Span Tags (HTML5)"),
     OutputFormat::Span},
    {"formatBBCode", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "&BBCode"),
     OutputFormat::BBCode},
    {"formatAnsi", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "&ANSI Terminal"),
     OutputFormat::Ansi},
};
// The game chat formats, a group of their own.
constexpr Choice<OutputFormat> kChatFormatChoices[] = {
    {"formatMcHex", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "Minecraft He&x (&&#RRGGBB)"),
     OutputFormat::McHex},
    {"formatMcX", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "Minecraft &&x Co&des"),
     OutputFormat::McX},
    {"formatMcSection",
     QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "Minecraft Section Si&gns (\u00A7x)"),
     OutputFormat::McSection},
    {"formatMiniMessage", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "M&iniMessage"),
     OutputFormat::MiniMessage},
    {"formatMiniMessageGradient",
     QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "MiniMessage Gradients (Ser&ver-Side)"),
     OutputFormat::MiniMessageGradient},
    {"formatJson", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "&JSON Text Components"),
     OutputFormat::Json},
    {"formatTemplate", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "&Template"),
     OutputFormat::Template},
    {"formatDiscord",
     QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "Discord ANSI Block (&8 Colors)"),
     OutputFormat::Discord},
    {"formatIrc", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "IRC (mIRC, 1&6 Colors)"),
     OutputFormat::Irc},
};
// The colours ANSI output may use, in a submenu of their own.
constexpr Choice<engine::ColorDepth> kDepthChoices[] = {
    {"depth24", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "&24-bit"),
     engine::ColorDepth::TrueColor},
    {"depth256", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "2&56"),
     engine::ColorDepth::Xterm256},
    {"depth16", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "1&6"), engine::ColorDepth::Xterm16},
    {"depth8", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "&8"), engine::ColorDepth::Xterm8},
};
constexpr Choice<Blend> kBlendChoices[] = {
    {"blendRgb", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "&RGB Blend"), Blend::Rgb},
    {"blendOkLab", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "OKLab Ble&nd"), Blend::OkLab},
    {"blendOkLch", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "OKLC&h Blend"), Blend::OkLch},
};
constexpr Choice<Spread> kSpreadChoices[] = {
    {"spreadClassic", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "&Classic Spread"),
     Spread::Classic},
    {"spreadEven", QT_TRANSLATE_NOOP("tintwave::app::MainWindow", "&Even Spread"), Spread::Even},
};

template <typename W> W* named(W* object, const QString& name) {
    object->setObjectName(name);
    return object;
}

// The designed face at its point size; the desktop substitutes a similar face when the
// named one is not installed.
QFont designFont(const QString& family, double points, QFont::StyleHint hint) {
    QFont font(family);
    font.setStyleHint(hint);
    font.setPointSizeF(points);
    return font;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top,
              int width, int height) {
    return place(named(new QLabel(caption, parent), name), left, top, width, height);
}

// A menu item's object name from its untranslated caption, prefixed by what it is:
// "&Spectrum" gives "presetSpectrum", "Black/White/Gray" "presetGroupBlackWhiteGray".
QString nameFromCaption(const QString& prefix, const QString& caption) {
    QString name = prefix;
    for (const QChar c : caption) {
        if (c.isLetterOrNumber()) {
            name += c;
        }
    }
    return name;
}

} // namespace

MainWindow::MainWindow(const Services& services, QWidget* parent)
    : QMainWindow(parent)
    , services_(services) {
    useButtonFocusFrames();
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Tintwave 1.0"));
    setWindowIcon(appIcon());
    // Fixed frame: minimise and close, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    createSharedActions();
    createControls();
    createMenus();
    connectCommands();
    orderTabStops();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    loadStartState();
}

MainWindow::~MainWindow() {
    services_.notices.setReceiver({});
}

// The commands with a button and a menu item; the action carries the menu caption.
void MainWindow::createSharedActions() {
    const auto action = [this](const char* name, const QString& caption) {
        return named(new QAction(caption, this), QLatin1String(name));
    };
    actions_.saveAs = action("saveAs", tr("&Save as HTML..."));
    actions_.saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    actions_.colorize = action("colorize", tr("&Colorize"));
    actions_.reverseColors = action("reverseColors", tr("Re&verse Order"));
    actions_.invertColors = action("invertColors", tr("&Invert Colors"));
    actions_.randomizeColors = action("randomizeColors", tr("Ra&ndom Colors"));
    actions_.clearColors = action("clearColors", tr("C&lear Colors"));
}

void MainWindow::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth / kTwipsPerPixel, kClientHeight / kTwipsPerPixel);
    client->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25, QFont::SansSerif));
    setCentralWidget(client);
    createPaletteRow(client);
    createButtons(client);
    createOptions(client);
    createResultBoxes(client);

    fitToContents(client);
}

void MainWindow::createPaletteRow(QWidget* client) {
    label(client, QStringLiteral("colorsLabel"), tr("Colors:"), 90, 90, 480, 195);
    place(named(new QPushButton(QStringLiteral("<"), client), QStringLiteral("rotateLeftButton")),
          90, 390, 210, 375);
    place(named(new QPushButton(QStringLiteral(">"), client), QStringLiteral("rotateRightButton")),
          5130, 390, 210, 375);
    for (int i = 0; i < kSlotCount; ++i) {
        colorBoxes_[i] =
            place(new ColorBox(i, services_.systemColors, client), 360 + 480 * i, 390, 390, 375);
    }
}

void MainWindow::createButtons(QWidget* client) {
    const auto button = [&](const char* name, const QString& caption, int left, int top,
                            int width) {
        return place(named(new QPushButton(caption, client), QLatin1String(name)), left, top, width,
                     375);
    };
    button("colorizeButton", tr("Colorize!"), 5805, 15, 1335)->setDefault(true);
    button("randomizeButton", tr("Ra&ndom Colors"), 5805, 525, 1320);
    button("invertButton", tr("&Invert Colors"), 5805, 1065, 1335);
    button("reverseButton", tr("Re&verse Order"), 5805, 1575, 1320);
    button("clearButton", tr("C&lear Colors"), 5805, 2100, 1335);
    copyButton_ = button("copyHtmlButton", tr("&Copy HTML"), 5805, 2610, 1335);
    saveButton_ = button("saveButton", tr("S&ave HTML"), 5805, 3120, 1335);
}

void MainWindow::createOptions(QWidget* client) {
    label(client, QStringLiteral("textLabel"), tr("Text to Color:"), 90, 1035, 945, 195);
    textEdit_ =
        place(named(new InputLine(client), QStringLiteral("textEdit")), 90, 1350, 5265, 375);
    textEdit_->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75, QFont::SansSerif));
    textEdit_->setAccessibleName(tr("Text to Color"));

    label(client, QStringLiteral("optionsLabel"), tr("Options:"), 90, 1980, 585, 195);
    const auto check = [&](const char* name, const QString& caption, int top, int width) {
        return place(named(new QCheckBox(caption, client), QLatin1String(name)), 900, top, width,
                     195);
    };
    boldCheck_ = check("boldCheck", tr("Bold"), 2025, 735);
    italicCheck_ = check("italicCheck", tr("Italic"), 2295, 780);
    underlineCheck_ = check("underlineCheck", tr("Underline"), 2565, 1005);
    centerCheck_ = check("centerCheck", tr("Center"), 2835, 825);
    // Each style box shows its caption in its own style.
    QFont styled = client->font();
    styled.setBold(true);
    boldCheck_->setFont(styled);
    styled = client->font();
    styled.setItalic(true);
    italicCheck_->setFont(styled);
    styled = client->font();
    styled.setUnderline(true);
    underlineCheck_->setFont(styled);
    centerCheck_->setChecked(true);

    label(client, QStringLiteral("faceLabel"), tr("Font:"), 2430, 2025, 360, 195);
    faceCombo_ =
        place(named(new QComboBox(client), QStringLiteral("faceCombo")), 3105, 2025, 2310, 315);
    label(client, QStringLiteral("sizeLabel"), tr("Size:"), 2430, 2565, 345, 195);
    sizeCombo_ =
        place(named(new QComboBox(client), QStringLiteral("sizeCombo")), 3105, 2565, 2310, 315);
}

void MainWindow::createResultBoxes(QWidget* client) {
    label(client, QStringLiteral("previewLabel"), tr("Preview:"), 90, 3240, 615, 195);
    preview_ =
        place(named(new PreviewBox(services_.systemColors, client), QStringLiteral("preview")), 90,
              3600, 7065, 735);
    preview_->setFont(designFont(QStringLiteral("Arial"), 14.25, QFont::SansSerif));

    codeLabel_ = label(client, QStringLiteral("codeLabel"), tr("HTML Code:"), 90, 4365, 915, 195);
    codeBox_ = place(named(new CodeBox(client), QStringLiteral("codeBox")), 90, 4635, 7080, 735);
    codeBox_->setFont(designFont(QStringLiteral("Courier New"), 8.25, QFont::TypeWriter));

    // The code box's status, right-aligned in the row of its caption, with room for the
    // longest size line of any language up to that caption.
    codeSizeLabel_ =
        place(named(new QLabel(client), QStringLiteral("codeSizeLabel")), 1095, 4365, 6075, 195);
    codeSizeLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

// Buttons trigger the actions they share with menu items; the rest call their command.
void MainWindow::connectCommands() {
    const auto button = [this](const char* name) {
        return centralWidget()->findChild<QPushButton*>(QLatin1String(name),
                                                        Qt::FindDirectChildrenOnly);
    };
    const std::pair<const char*, QAction*> shared[] = {
        {"colorizeButton", actions_.colorize},   {"randomizeButton", actions_.randomizeColors},
        {"invertButton", actions_.invertColors}, {"reverseButton", actions_.reverseColors},
        {"clearButton", actions_.clearColors},   {"saveButton", actions_.saveAs},
    };
    for (const auto& [name, action] : shared) {
        connect(button(name), &QPushButton::clicked, action, &QAction::trigger);
    }
    const std::pair<QAction*, void (MainWindow::*)()> commands[] = {
        {actions_.colorize, &MainWindow::colorize},
        {actions_.randomizeColors, &MainWindow::randomizeColors},
        {actions_.invertColors, &MainWindow::invertColors},
        {actions_.reverseColors, &MainWindow::reverseColors},
        {actions_.clearColors, &MainWindow::clearColors},
        {actions_.saveAs, &MainWindow::saveAs},
    };
    for (const auto& [action, command] : commands) {
        connect(action, &QAction::triggered, this, command);
    }
    connect(button("copyHtmlButton"), &QPushButton::clicked, this, &MainWindow::copyHtml);
    connect(button("rotateLeftButton"), &QPushButton::clicked, this,
            [this] { rotateColors(palette::Rotation::Left); });
    connect(button("rotateRightButton"), &QPushButton::clicked, this,
            [this] { rotateColors(palette::Rotation::Right); });
    for (ColorBox* box : colorBoxes_) {
        connect(box, &ColorBox::mouseDown, this, &MainWindow::slotPressed);
    }
    connect(preview_, &PreviewBox::clicked, this, &MainWindow::choosePreviewBackground);
    connect(codeBox_, &CodeBox::changed, this, &MainWindow::codeChanged);
}

void MainWindow::orderTabStops() {
    const auto button = [this](const char* name) {
        return centralWidget()->findChild<QWidget*>(QLatin1String(name),
                                                    Qt::FindDirectChildrenOnly);
    };
    std::vector<QWidget*> order = {
        textEdit_,
        button("colorizeButton"),
        button("randomizeButton"),
        button("invertButton"),
        button("reverseButton"),
        button("clearButton"),
        button("copyHtmlButton"),
        faceCombo_,
        sizeCombo_,
        button("rotateLeftButton"),
        button("rotateRightButton"),
    };
    order.insert(order.end(), colorBoxes_.begin(), colorBoxes_.end());
    order.insert(order.end(), {codeBox_, boldCheck_, italicCheck_, underlineCheck_, centerCheck_,
                               preview_, button("saveButton")});
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void MainWindow::createMenus() {
    QMenuBar* bar = menuBar();
    const auto item = [this](QMenu* menu, const char* name, const QString& caption,
                             void (MainWindow::*command)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, command);
        return action;
    };
    const auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QLatin1String(name));
    };

    QMenu* file = named(bar->addMenu(tr("&File")), QStringLiteral("fileMenu"));
    file->addAction(actions_.saveAs);
    item(file, "copyRichText", tr("Copy as &Rich Text"), &MainWindow::copyRichText)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    item(file, "pasteCode", tr("&Paste Code"), &MainWindow::pasteCode)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    file->addActions({actions_.colorize, actions_.reverseColors, actions_.invertColors,
                      actions_.randomizeColors, actions_.clearColors});
    separator(file, "fileSeparator");
    item(file, "quit", tr("E&xit"), &MainWindow::quit)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    schemesMenu_ = named(bar->addMenu(tr("&Schemes")), QStringLiteral("schemesMenu"));
    item(schemesMenu_, "addScheme", tr("&Add Scheme..."), &MainWindow::addScheme);
    item(schemesMenu_, "removeScheme", tr("&Remove Scheme..."), &MainWindow::removeScheme);
    separator(schemesMenu_, "presetSeparator");
    createPresetItems(schemesMenu_);
    // The fixed last item; user schemes are appended behind it. It shows even while no
    // scheme follows it, which Qt's collapsing of a trailing separator would prevent.
    separator(schemesMenu_, "userSchemeSeparator");
    schemesMenu_->setSeparatorsCollapsible(false);
    userSchemeMenu_ = std::make_unique<UserSchemeMenu>(
        *schemesMenu_, [this](int number) { applyUserScheme(number); });
    store_ = std::make_unique<schemes::SchemeStore>(services_.settings);

    createOptionsMenu(bar);

    QMenu* help = named(bar->addMenu(tr("&Help")), QStringLiteral("helpMenu"));
    item(help, "showAbout", tr("&About..."), &MainWindow::showAbout);

    createSlotMenu();
}

// The preset items: those that stand directly in the Schemes menu first, then one
// submenu each in table order.
void MainWindow::createPresetItems(QMenu* schemes) {
    const auto addPreset = [this](QMenu* menu, const palette::Preset& preset) {
        QAction* action = menu->addAction(QString::fromUtf8(preset.caption));
        action->setObjectName(nameFromCaption(QStringLiteral("preset"), displayCaption(preset)));
        connect(action, &QAction::triggered, this, [this, &preset] { applyPreset(preset); });
    };
    for (const palette::Preset& preset : palette::presets()) {
        if (preset.submenu < 0) {
            addPreset(schemes, preset);
        }
    }
    const auto submenus = palette::presetSubmenus();
    for (int s = 0; s < int(submenus.size()); ++s) {
        // The group titles are captions; the preset names in them are the schemes' names
        // (as the command line knows them) and stay as they are.
        QMenu* sub =
            schemes->addMenu(QCoreApplication::translate("tintwave::palette", submenus[s].caption));
        sub->setObjectName(
            nameFromCaption(QStringLiteral("presetGroup"), QLatin1String(submenus[s].caption)));
        for (const palette::Preset& preset : palette::presets()) {
            if (preset.submenu == s) {
                addPreset(sub, preset);
            }
        }
    }
}

void MainWindow::createSlotMenu() {
    // Never in the menu bar; shown over a colour box.
    slotMenu_ = named(new QMenu(this), QStringLiteral("slotMenu"));
    const auto item = [this](const char* name, const QString& caption) {
        return named(slotMenu_->addAction(caption), QLatin1String(name));
    };
    connect(item("clearPressedSlot", tr("&Clear")), &QAction::triggered, this,
            &MainWindow::clearPressedSlot);
    connect(item("invertPressedSlot", tr("&Invert")), &QAction::triggered, this,
            &MainWindow::invertPressedSlot);
    connect(item("randomizePressedSlot", tr("Ra&ndom")), &QAction::triggered, this,
            &MainWindow::randomizePressedSlot);
    slotMenu_->addSeparator()->setObjectName(QStringLiteral("slotMenuSeparator"));
    item("closeSlotMenu", tr("C&ancel")); // only closes the menu
}

// Four groups of radio items (two of them formats), one choice each, the colours of ANSI
// output in a submenu, and the merge and skip-blanks items, which only formats other than
// font tags can use. Each item hands the
// choices it makes to chooseOutput.
void MainWindow::createOptionsMenu(QMenuBar* bar) {
    QMenu* options = named(bar->addMenu(tr("&Options")), QStringLiteral("optionsMenu"));
    const auto choose = [this](auto field, auto value) {
        engine::OutputChoices chosen = outputChoices_;
        chosen.*field = value;
        chooseOutput(chosen);
    };
    const ChooseFlag chooseFlag = [choose](bool engine::OutputChoices::*field, bool on) {
        choose(field, on);
    };
    const auto group = [this, choose](QMenu* menu, const auto& choices, auto field) {
        auto* items = new QActionGroup(this);
        for (const auto& choice : choices) {
            QAction* action = items->addAction(tr(choice.caption));
            action->setObjectName(QLatin1String(choice.name));
            action->setCheckable(true);
            const auto value = choice.value;
            connect(action, &QAction::triggered, this,
                    [choose, field, value] { choose(field, value); });
            choiceItems_.push_back({action, [field, value](const engine::OutputChoices& c) {
                                        return c.*field == value;
                                    }});
        }
        menu->addActions(items->actions());
    };
    group(options, kFormatChoices, &engine::OutputChoices::format);
    options->addSeparator();
    group(options, kChatFormatChoices, &engine::OutputChoices::format);
    options->addSeparator();
    depthMenu_ = named(options->addMenu(tr("Terminal &Colours")), QStringLiteral("depthMenu"));
    group(depthMenu_, kDepthChoices, &engine::OutputChoices::colorDepth);
    options->addSeparator();
    group(options, kBlendChoices, &engine::OutputChoices::blend);
    options->addSeparator();
    group(options, kSpreadChoices, &engine::OutputChoices::spread);
    options->addSeparator();
    mergeItem_ = named(options->addAction(tr("&Merge Equal Colors")), QStringLiteral("merge"));
    mergeItem_->setCheckable(true);
    connect(mergeItem_, &QAction::triggered, this,
            [choose](bool merge) { choose(&engine::OutputChoices::merge, merge); });
    skipBlanksItem_ = named(options->addAction(tr("Ski&p Blanks")), QStringLiteral("skipBlanks"));
    skipBlanksItem_->setCheckable(true);
    connect(skipBlanksItem_, &QAction::triggered, this,
            [choose](bool skip) { choose(&engine::OutputChoices::skipBlanks, skip); });
    createFitItems(options, chooseFlag);
    options->addSeparator();
    options->addAction(tr("C&ustom Template..."), this, &MainWindow::editTemplate)
        ->setObjectName(QStringLiteral("editTemplate"));
}

// Strikethrough and obfuscated (which only the game formats have), and the limit the code is
// fitted to.
void MainWindow::createFitItems(QMenu* options, const ChooseFlag& choose) {
    strikethroughItem_ =
        named(options->addAction(tr("Stri&kethrough")), QStringLiteral("strikethrough"));
    strikethroughItem_->setCheckable(true);
    connect(strikethroughItem_, &QAction::triggered, this,
            [choose](bool on) { choose(&engine::OutputChoices::strikethrough, on); });
    obfuscatedItem_ = named(options->addAction(tr("&Obfuscated")), QStringLiteral("obfuscated"));
    obfuscatedItem_->setCheckable(true);
    connect(obfuscatedItem_, &QAction::triggered, this,
            [choose](bool on) { choose(&engine::OutputChoices::obfuscated, on); });
    fitItem_ = named(options->addAction(tr("Fit to &Length...")), QStringLiteral("fitToLength"));
    connect(fitItem_, &QAction::triggered, this, &MainWindow::fitToLength);
}

engine::ColorizeOptions MainWindow::chosenOptions() const {
    return {.face = faceCombo_->currentData().toString(),
            .size = sizeCombo_->currentData().toString(),
            .center = centerCheck_->isChecked(),
            .bold = boldCheck_->isChecked(),
            .italic = italicCheck_->isChecked(),
            .underline = underlineCheck_->isChecked(),
            .output = outputChoices_};
}

engine::OutputFormat MainWindow::codeFormat() const {
    return colorized_ ? colorized_->options.output.format : outputChoices_.format;
}

void MainWindow::showCodeCaptions() {
    const bool html = engine::isHtml(codeFormat());
    codeLabel_->setText(html ? tr("HTML Code:") : tr("Code:"));
    copyButton_->setText(html ? tr("&Copy HTML") : tr("&Copy Code"));
    saveButton_->setText(html ? tr("S&ave HTML") : tr("S&ave Code"));
    actions_.saveAs->setText(html ? tr("&Save as HTML...") : tr("&Save Code..."));
    fitToContents(centralWidget());
}

void MainWindow::showOptions(const engine::OutputChoices& choices) {
    for (const ChoiceItem& item : choiceItems_) {
        item.action->setChecked(item.selectedBy(choices));
    }
    mergeItem_->setChecked(choices.merge);
    mergeItem_->setEnabled(engine::hasRunOptions(choices.format));
    skipBlanksItem_->setChecked(choices.skipBlanks);
    skipBlanksItem_->setEnabled(engine::hasRunOptions(choices.format));
    strikethroughItem_->setChecked(choices.strikethrough);
    obfuscatedItem_->setChecked(choices.obfuscated);
    obfuscatedItem_->setEnabled(engine::hasObfuscated(choices.format));
    fitItem_->setEnabled(engine::canFitLength(choices));
    depthMenu_->setEnabled(choices.format == OutputFormat::Ansi);
}

// Runs once, while the window is still hidden.
void MainWindow::loadStartState() {
    centreOnScreen();
    rebuildUserSchemeMenu();
    outputChoices_ = engine::loadOutputChoices(services_.settings);
    showOptions(outputChoices_);
    // "None" shows in the captions' language; the choice itself stays "None".
    for (QComboBox* box : {faceCombo_, sizeCombo_}) {
        for (const QString& choice :
             box == faceCombo_ ? engine::faceChoices() : engine::sizeChoices()) {
            box->addItem(engine::isNone(choice) ? tr("None", "no face or size chosen") : choice,
                         choice);
        }
        box->setCurrentIndex(0);
    }
    showCodeCaptions();
    textEdit_->setFocus();
}

void MainWindow::centreOnScreen() {
    layout()->activate();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        move(centredOver(screen->geometry(), frameGeometry().size()));
    }
}

// The start-up can centre only the client area: a window manager's frame is known once
// the window is on screen. Then the whole frame is centred, once.
void MainWindow::centreFrameOnce() {
    if (!frameCentred_ && isVisible() && frameGeometry().size() != size()) {
        frameCentred_ = true;
        centreOnScreen();
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    centreFrameOnce();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    centreFrameOnce();
    if (std::exchange(shownOnce_, true)) {
        return;
    }
    // The settings store's notices wait until the window is up; from then on each shows
    // as it comes.
    QTimer::singleShot(0, this, [this] {
        services_.notices.setReceiver([this](const QString& notice) { showMessage(notice); });
    });
}

// Enter anywhere but in a push button or the code box runs Colorize, the default button.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || event->modifiers() & ~Qt::KeypadModifier) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled()) {
        button->click();
    } else {
        colorize();
    }
    event->accept();
}

} // namespace tintwave::app
