#include "app/frmMain1.h"

#include "app/AppIcon.h"
#include "app/CodeBox.h"
#include "app/ColorBox.h"
#include "app/PreviewBox.h"
#include "app/SchemeMenuActions.h"
#include "app/Twips.h"
#include "engine/OutputChoicesStore.h"
#include "palette/Presets.h"
#include "platform/SettingsStore.h"
#include "schemes/SchemeStore.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace tintwave::app {

namespace {

constexpr int kClientWidth = 7230;
constexpr int kClientHeight = 5475;

// Positions a control from its designed twip geometry.
template <typename W> W* place(W* widget, int left, int top, int width, int height) {
    widget->setGeometry(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                        height / kTwipsPerPixel);
    return widget;
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
    {"mnuFormatFont", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "&Font Tags (HTML 3.2)"),
     OutputFormat::Font},
    {"mnuFormatSpan", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "&Span Tags (HTML5)"),
     OutputFormat::Span},
    {"mnuFormatBBCode", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "&BBCode"),
     OutputFormat::BBCode},
    {"mnuFormatAnsi", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "&ANSI Terminal"),
     OutputFormat::Ansi},
};
// The game chat formats, a group of their own.
constexpr Choice<OutputFormat> kChatFormatChoices[] = {
    {"mnuFormatMcHex", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "Minecraft He&x (&&#RRGGBB)"),
     OutputFormat::McHex},
    {"mnuFormatMcX", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "Minecraft &&x Co&des"),
     OutputFormat::McX},
    {"mnuFormatMcSection",
     QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "Minecraft Section Si&gns (\u00A7x)"),
     OutputFormat::McSection},
    {"mnuFormatMiniMessage", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "Mi&niMessage"),
     OutputFormat::MiniMessage},
    {"mnuFormatJson", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "&JSON Text Components"),
     OutputFormat::Json},
    {"mnuFormatTemplate", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "&Template"),
     OutputFormat::Template},
};
constexpr Choice<Blend> kBlendChoices[] = {
    {"mnuBlendRgb", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "&RGB Blend"), Blend::Rgb},
    {"mnuBlendOkLab", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "&OKLab Blend"), Blend::OkLab},
    {"mnuBlendOkLch", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "OKLC&h Blend"), Blend::OkLch},
};
constexpr Choice<Spread> kSpreadChoices[] = {
    {"mnuSpreadClassic", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "&Classic Spread"),
     Spread::Classic},
    {"mnuSpreadEven", QT_TRANSLATE_NOOP("tintwave::app::frmMain1", "&Even Spread"), Spread::Even},
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

QLabel* label(QWidget* parent, int index, const QString& caption, int left, int top, int width,
              int height) {
    auto* l = named(new QLabel(caption, parent), QStringLiteral("lbl(%1)").arg(index));
    return place(l, left, top, width, height);
}

// The width a push button's caption needs: its text with the style's button margin clear
// of the frame on both sides. (The style's size hint also has a minimum width for buttons,
// which the small arrow buttons are not meant to have.)
int captionWidth(const QPushButton* button) {
    const QStyle* style = button->style();
    const int padding = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button) +
                        style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    return button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() + 2 * padding;
}

// The designed sizes fit the designed face; where the desktop's wider or taller faces
// stand in for it, a control grows to show its whole content and keeps its designed place:
// wider to the right, taller about its designed middle (a label downward, so that its text
// still starts at the designed top). A push button grows only into free room; text boxes
// scroll their content instead.
void fitToContents(QWidget* client) {
    const QList<QWidget*> controls = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        if (qobject_cast<QAbstractScrollArea*>(control) ||
            control->findChild<QAbstractScrollArea*>()) {
            continue;
        }
        QRect box = control->geometry();
        if (const auto* button = qobject_cast<QPushButton*>(control)) {
            QRect wider = box; // but for one-glyph captions, which fit as designed
            wider.setWidth(
                std::max(box.width(), button->text().size() > 1 ? captionWidth(button) : 0));
            const bool room = client->rect().contains(wider) &&
                              std::none_of(controls.begin(), controls.end(), [&](QWidget* other) {
                                  return other != control && other->geometry().intersects(wider);
                              });
            box = room ? wider : box;
        } else {
            const QSize wanted = control->sizeHint();
            box.setWidth(std::max(box.width(), wanted.width()));
            if (const int extra = wanted.height() - box.height(); extra > 0) {
                box.moveTop(qobject_cast<QLabel*>(control) ? box.top() : box.top() - extra / 2);
                box.setHeight(wanted.height());
            }
        }
        control->setGeometry(box);
    }
}

} // namespace

frmMain1::frmMain1(const Services& services, QWidget* parent)
    : QMainWindow(parent)
    , services_(services) {
    setObjectName(QStringLiteral("frmMain1"));
    setWindowTitle(QStringLiteral("Tintwave 1.0"));
    setWindowIcon(appIcon());
    // Fixed frame: minimise and close, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildControls();
    buildMenus();
    setTabOrders();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    Form_Load();
}

frmMain1::~frmMain1() {
    services_.notices.setReceiver({});
}

void frmMain1::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth / kTwipsPerPixel, kClientHeight / kTwipsPerPixel);
    client->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25, QFont::SansSerif));
    setCentralWidget(client);
    buildPaletteRow(client);
    buildButtons(client);
    buildOptions(client);
    buildResultBoxes(client);

    fitToContents(client);
}

void frmMain1::buildPaletteRow(QWidget* client) {
    label(client, 4, tr("Colors:"), 90, 90, 480, 195);
    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(i == 0 ? QStringLiteral("<") : QStringLiteral(">"), client);
        place(named(b, QStringLiteral("Command5(%1)").arg(i)), i == 0 ? 90 : 5130, 390, 210, 375);
        connect(b, &QPushButton::clicked, this, [this, i] { Command5_Click(i); });
    }
    for (int i = 0; i < kSlotCount; ++i) {
        picColor_[i] =
            place(new ColorBox(i, services_.systemColors, client), 360 + 480 * i, 390, 390, 375);
        connect(picColor_[i], &ColorBox::mouseDown, this, &frmMain1::picColor_MouseDown);
    }
}

void frmMain1::buildButtons(QWidget* client) {
    const auto button = [&](const QString& name, const QString& caption, int left, int top,
                            int width, void (frmMain1::*handler)()) {
        auto* b = place(named(new QPushButton(caption, client), name), left, top, width, 375);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };

    auto* colorize = button(QStringLiteral("Command1"), tr("Colorize!"), 5805, 15, 1335,
                            &frmMain1::Command1_Click);
    colorize->setDefault(true);
    button(QStringLiteral("Command7"), tr("Ra&ndom Colors"), 5805, 525, 1320,
           &frmMain1::Command7_Click);
    button(QStringLiteral("Command4"), tr("&Invert Colors"), 5805, 1065, 1335,
           &frmMain1::Command4_Click);
    button(QStringLiteral("Command6"), tr("Re&verse Order"), 5805, 1575, 1320,
           &frmMain1::Command6_Click);
    button(QStringLiteral("Command2"), tr("C&lear Colors"), 5805, 2100, 1335,
           &frmMain1::Command2_Click);
    button(QStringLiteral("Command3"), tr("&Copy HTML"), 5805, 2610, 1335,
           &frmMain1::Command3_Click);
    button(QStringLiteral("Command8"), tr("S&ave HTML"), 5805, 3120, 1335,
           &frmMain1::Command8_Click);
}

void frmMain1::buildOptions(QWidget* client) {
    label(client, 0, tr("Text to Color:"), 90, 1035, 945, 195);
    txtInput_ =
        place(named(new QLineEdit(client), QStringLiteral("txtInput")), 90, 1350, 5265, 375);
    txtInput_->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75, QFont::SansSerif));
    // No limit: Qt's default of 32767 would cut a longer paste off without a word.
    txtInput_->setMaxLength(std::numeric_limits<int>::max());

    label(client, 9, tr("Options:"), 90, 1980, 585, 195);
    const auto check = [&](const QString& name, const QString& caption, int top, int width) {
        return place(named(new QCheckBox(caption, client), name), 900, top, width, 195);
    };
    chkBold_ = check(QStringLiteral("chkBold"), tr("Bold"), 2025, 735);
    chkItalic_ = check(QStringLiteral("chkItalic"), tr("Italic"), 2295, 780);
    chkUnderline_ = check(QStringLiteral("chkUnderline"), tr("Underline"), 2565, 1005);
    chkCenter_ = check(QStringLiteral("chkCenter"), tr("Center"), 2835, 825);
    // Each style box shows its caption in its own style.
    QFont styled = client->font();
    styled.setBold(true);
    chkBold_->setFont(styled);
    styled = client->font();
    styled.setItalic(true);
    chkItalic_->setFont(styled);
    styled = client->font();
    styled.setUnderline(true);
    chkUnderline_->setFont(styled);
    chkCenter_->setChecked(true);

    label(client, 5, tr("Font:"), 2430, 2025, 360, 195);
    cboFont_ =
        place(named(new QComboBox(client), QStringLiteral("cboFont")), 3105, 2025, 2310, 315);
    label(client, 6, tr("Size:"), 2430, 2565, 345, 195);
    cboSize_ =
        place(named(new QComboBox(client), QStringLiteral("cboSize")), 3105, 2565, 2310, 315);
}

void frmMain1::buildResultBoxes(QWidget* client) {
    label(client, 2, tr("Preview:"), 90, 3240, 615, 195);
    RTB1_ = place(named(new PreviewBox(services_.systemColors, client), QStringLiteral("RTB1")), 90,
                  3600, 7065, 735);
    RTB1_->setFont(designFont(QStringLiteral("Arial"), 14.25, QFont::SansSerif));
    connect(RTB1_, &PreviewBox::clicked, this, &frmMain1::RTB1_Click);

    label(client, 1, tr("HTML Code:"), 90, 4365, 915, 195);
    Text2_ = place(named(new CodeBox(client), QStringLiteral("Text2")), 90, 4635, 7080, 735);
    Text2_->setFont(designFont(QStringLiteral("Courier New"), 8.25, QFont::TypeWriter));
    connect(Text2_, &CodeBox::changed, this, &frmMain1::Text2_Change);

    // The code box's status, right-aligned in the row of its caption.
    lblCodeSize_ =
        place(named(new QLabel(client), QStringLiteral("lblCodeSize")), 4170, 4365, 3000, 195);
    lblCodeSize_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void frmMain1::setTabOrders() {
    auto* client = centralWidget();
    const auto find = [client](const QString& name) {
        return client->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    };
    std::vector<std::pair<int, QWidget*>> order = {
        {0, txtInput_},
        {1, find(QStringLiteral("Command1"))},
        {2, find(QStringLiteral("Command7"))},
        {3, find(QStringLiteral("Command4"))},
        {4, find(QStringLiteral("Command6"))},
        {5, find(QStringLiteral("Command2"))},
        {6, find(QStringLiteral("Command3"))},
        {7, cboFont_},
        {8, cboSize_},
        {9, find(QStringLiteral("Command5(0)"))},
        {10, find(QStringLiteral("Command5(1)"))},
        {23, Text2_},
        {29, chkBold_},
        {30, chkItalic_},
        {31, chkUnderline_},
        {32, chkCenter_},
        {33, RTB1_},
        {35, find(QStringLiteral("Command8"))},
    };
    for (int i = 0; i < kSlotCount; ++i) {
        order.emplace_back(11 + i, picColor_[i]);
    }
    std::sort(order.begin(), order.end());
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
    }
}

void frmMain1::buildMenus() {
    QMenuBar* bar = menuBar();
    const auto item = [this](QMenu* menu, const char* name, const QString& caption,
                             void (frmMain1::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    const auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QLatin1String(name));
    };

    QMenu* file = named(bar->addMenu(tr("&File")), QStringLiteral("mnuFile"));
    item(file, "mnuSave", tr("&Save as HTML..."), &frmMain1::mnuSave_Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    item(file, "mnuCopyRich", tr("Copy as &Rich Text"), &frmMain1::mnuCopyRich_Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    item(file, "mnuColorizer", tr("&Colorize"), &frmMain1::Command1_Click);
    item(file, "mnuFlip", tr("Re&verse Order"), &frmMain1::Command6_Click);
    item(file, "mnuInvertColors", tr("&Invert Colors"), &frmMain1::Command4_Click);
    item(file, "mnuRandom", tr("Ra&ndom Colors"), &frmMain1::Command7_Click);
    item(file, "mnuReset", tr("C&lear Colors"), &frmMain1::Command2_Click);
    separator(file, "asdfjkl");
    item(file, "mnuExit", tr("E&xit"), &frmMain1::mnuExit_Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuSchemes_ = named(bar->addMenu(tr("&Schemes")), QStringLiteral("mnuSchemes"));
    item(mnuSchemes_, "mnuAdd", tr("&Add Scheme..."), &frmMain1::mnuAdd_Click);
    item(mnuSchemes_, "mnuRemove", tr("&Remove Scheme..."), &frmMain1::mnuRemove_Click);
    separator(mnuSchemes_, "breaker0");
    buildSchemesMenu(mnuSchemes_);
    // The fixed last item; user schemes are appended behind it. It shows even while no
    // scheme follows it, which Qt's collapsing of a trailing separator would prevent.
    separator(mnuSchemes_, "mnuSchemeArray(0)");
    mnuSchemes_->setSeparatorsCollapsible(false);
    schemeMenu_ = std::make_unique<SchemeMenuActions>(
        *mnuSchemes_, [this](int index) { mnuSchemeArray_Click(index); });
    store_ = std::make_unique<schemes::SchemeStore>(services_.settings);

    createOptionsMenu(bar);

    QMenu* help = named(bar->addMenu(tr("&Help")), QStringLiteral("mnuHelp"));
    item(help, "mnuAbout", tr("&About..."), &frmMain1::mnuAbout_Click);

    buildPopUpMenu();
}

// The preset items: those that stand directly in the Schemes menu first, then one
// submenu each in table order.
void frmMain1::buildSchemesMenu(QMenu* schemes) {
    const auto addPreset = [this](QMenu* menu, const palette::Preset& preset) {
        QAction* action = menu->addAction(QString::fromUtf8(preset.caption));
        action->setObjectName(QLatin1String(preset.objectName));
        connect(action, &QAction::triggered, this, [this, &preset] { mnuPreset_Click(preset); });
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
        sub->setObjectName(QLatin1String(submenus[s].objectName));
        for (const palette::Preset& preset : palette::presets()) {
            if (preset.submenu == s) {
                addPreset(sub, preset);
            }
        }
    }
}

void frmMain1::buildPopUpMenu() {
    // Never in the menu bar; shown over a colour box.
    mnuPopUp_ = named(new QMenu(QStringLiteral("mnuPopUp"), this), QStringLiteral("mnuPopUp"));
    const auto item = [this](const char* name, const QString& caption) {
        QAction* action = mnuPopUp_->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    connect(item("mnuClear", tr("&Clear")), &QAction::triggered, this, &frmMain1::mnuClear_Click);
    connect(item("mnuInvert", tr("&Invert")), &QAction::triggered, this,
            &frmMain1::mnuInvert_Click);
    connect(item("mnuRandomOne", tr("Ra&ndom")), &QAction::triggered, this,
            &frmMain1::mnuRandomOne_Click);
    mnuPopUp_->addSeparator()->setObjectName(QStringLiteral("aslsdfasda"));
    item("mnuCancel", tr("C&ancel")); // only closes the menu
}

// Four groups of radio items (two of them formats), one choice each, and the merge and
// skip-blanks items, which only formats other than font tags can use. Each item hands the choices
// it makes to mnuOptions_Click.
void frmMain1::createOptionsMenu(QMenuBar* bar) {
    QMenu* options = named(bar->addMenu(tr("&Options")), QStringLiteral("mnuOptions"));
    const auto choose = [this](auto field, auto value) {
        engine::OutputChoices chosen = outputChoices_;
        chosen.*field = value;
        mnuOptions_Click(chosen);
    };
    const auto group = [this, options, choose](const auto& choices, auto field) {
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
        options->addActions(items->actions());
        options->addSeparator();
    };
    group(kFormatChoices, &engine::OutputChoices::format);
    group(kChatFormatChoices, &engine::OutputChoices::format);
    group(kBlendChoices, &engine::OutputChoices::blend);
    group(kSpreadChoices, &engine::OutputChoices::spread);
    mnuMerge_ = options->addAction(tr("&Merge Equal Colors"));
    mnuMerge_->setObjectName(QStringLiteral("mnuMerge"));
    mnuMerge_->setCheckable(true);
    connect(mnuMerge_, &QAction::triggered, this,
            [choose](bool merge) { choose(&engine::OutputChoices::merge, merge); });
    mnuSkipBlanks_ = options->addAction(tr("Skip Blan&ks"));
    mnuSkipBlanks_->setObjectName(QStringLiteral("mnuSkipBlanks"));
    mnuSkipBlanks_->setCheckable(true);
    connect(mnuSkipBlanks_, &QAction::triggered, this,
            [choose](bool skip) { choose(&engine::OutputChoices::skipBlanks, skip); });
    options->addSeparator();
    options->addAction(tr("C&ustom Template..."), this, &frmMain1::mnuTemplate_Click)
        ->setObjectName(QStringLiteral("mnuTemplateText"));
}

engine::ColorizeOptions frmMain1::chosenOptions() const {
    return {.face = cboFont_->currentText(),
            .size = cboSize_->currentText(),
            .center = chkCenter_->isChecked(),
            .bold = chkBold_->isChecked(),
            .italic = chkItalic_->isChecked(),
            .underline = chkUnderline_->isChecked(),
            .output = outputChoices_};
}

void frmMain1::showOptions(const engine::OutputChoices& choices) {
    for (const ChoiceItem& item : choiceItems_) {
        item.action->setChecked(item.selectedBy(choices));
    }
    mnuMerge_->setChecked(choices.merge);
    mnuMerge_->setEnabled(engine::canMerge(choices.format));
    mnuSkipBlanks_->setChecked(choices.skipBlanks);
    mnuSkipBlanks_->setEnabled(engine::canMerge(choices.format));
}

// Start-up: runs once, while the window is still hidden.
void frmMain1::Form_Load() {
    centreOnScreen();
    gColor_ = picColor_[0]->value();
    RestoreMenus();
    outputChoices_ = engine::loadOutputChoices(services_.settings);
    showOptions(outputChoices_);
    gIndex_.reset();
    cboFont_->addItems(engine::faceChoices());
    cboFont_->setCurrentIndex(0);
    cboSize_->addItems(engine::sizeChoices());
    cboSize_->setCurrentIndex(0);
    txtInput_->setFocus();
}

void frmMain1::centreOnScreen() {
    layout()->activate();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - outer.height()) / 2);
}

// The start-up can centre only the client area: a window manager's frame is known once
// the window is on screen. Then the whole frame is centred, once.
void frmMain1::centreFrameOnce() {
    if (!frameCentred_ && isVisible() && frameGeometry().size() != size()) {
        frameCentred_ = true;
        centreOnScreen();
    }
}

void frmMain1::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    centreFrameOnce();
}

void frmMain1::showEvent(QShowEvent* event) {
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
void frmMain1::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || event->modifiers() & ~Qt::KeypadModifier) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled()) {
        button->click();
    } else {
        Command1_Click();
    }
    event->accept();
}

} // namespace tintwave::app
