// The commands of the main window: each reads the controls, calls the core and writes the
// controls back.
#include "app/CodeBox.h"
#include "app/ColorBox.h"
#include "app/Form3.h"
#include "app/Form6.h"
#include "app/PreviewBox.h"
#include "app/SchemeMenuActions.h"
#include "app/frmMain1.h"
#include "engine/Colorize.h"
#include "engine/OutputChoicesStore.h"
#include "engine/TemplateWriter.h"
#include "output/Page.h"
#include "output/SaveFolder.h"
#include "palette/Presets.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"
#include "schemes/SchemeStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <utility>

namespace tintwave::app {

namespace {

const QString kTitle = QStringLiteral("Tintwave");

// Texts from this length on colorize long enough for the user to notice.
constexpr qsizetype kLongText = 100'000;

// The wait cursor while a long text is colorized, restored however the command ends.
class WaitCursor {
public:
    explicit WaitCursor(bool on)
        : on_(on) {
        if (on_) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }
    ~WaitCursor() {
        if (on_) {
            QApplication::restoreOverrideCursor();
        }
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool on_;
};

// The code box's size as its status line shows it. The number is grouped the way of the
// captions' language ("30,012" in English), not the desktop's: the translation names it.
QString codeSizeText(qsizetype size) {
    const QLocale language(frmMain1::tr("en", "locale whose digit grouping the size line uses"));
    const QString number = language.toString(qlonglong(size));
    return size == 1 ? frmMain1::tr("%1 character").arg(number)
                     : frmMain1::tr("%1 characters").arg(number);
}

// Appends the code to a store as Colorize writes it.
class CodeWriter : public engine::CodeSink {
public:
    explicit CodeWriter(TextStore& code)
        : code_(code) {}
    void write(QStringView piece) override { code_.append(piece); }

private:
    TextStore& code_;
};

} // namespace

int frmMain1::gNumSchemes() const {
    return store_->count();
}

palette::Palette frmMain1::colors() const {
    palette::Palette p;
    for (int i = 0; i < kSlotCount; ++i) {
        p[i] = picColor_[i]->value();
    }
    return p;
}

void frmMain1::setColors(const palette::Palette& palette) {
    for (int i = 0; i < kSlotCount; ++i) {
        picColor_[i]->setValue(palette[i]);
    }
}

void frmMain1::showMessage(const QString& text) {
    services_.messages.show(text, kTitle);
}

void frmMain1::Command1_Click() {
    const QString text = txtInput_->text();
    const engine::ColorizeOptions options = chosenOptions();
    // A text that is not empty replaces the code or, for want of colours, clears it: a long
    // old code goes first, so that it and the new one are never held at the same time.
    if (!text.isEmpty()) {
        Text2_->dropLongCode();
    }
    std::optional<engine::ColorizeError> error;
    {
        const WaitCursor wait(text.size() >= kLongText);
        // The code is kept packed as it is written, and the preview keeps the colours as
        // runs: neither the whole code as one string nor a table of every character is held.
        TextStore code;
        CodeWriter writer(code);
        PreviewBox::Colors shades;
        error = engine::colorizeTo(text, colors().values(), options, writer, &shades);
        if (!error) {
            Text2_->adoptCode(std::move(code));
            codeFormat_ = options.output.format;
            colorized_ = Colorized{text, colors().values(), options};
            RTB1_->showColorized(text, std::move(shades), options.face, options.bold,
                                 options.italic, options.underline);
        }
    }
    // Without colours the old code goes; an empty text leaves everything as it was.
    if (error == engine::ColorizeError::NoColor) {
        Text2_->setCode(QString());
    }
    if (error) {
        showMessage(engine::messageFor(*error));
    }
}

void frmMain1::Command2_Click() {
    setColors(palette::clearColors(colors()));
}

void frmMain1::Command3_Click() {
    output::copyHtml(services_.clipboard, codeText());
}

void frmMain1::Command4_Click() {
    setColors(palette::invertColors(colors()));
}

void frmMain1::Command5_Click(int index) {
    setColors(palette::rotate(colors(), index));
}

void frmMain1::Command6_Click() {
    setColors(palette::reverseOrder(colors()));
}

void frmMain1::Command7_Click() {
    setColors(palette::randomColors(colors(), services_.random));
}

void frmMain1::Command8_Click() {
    mnuSave_Click();
}

void frmMain1::picColor_MouseDown(int index, Qt::MouseButton button, QPoint globalPos) {
    gIndex_ = index;
    if (button == Qt::RightButton) {
        mnuPopUp_->popup(globalPos);
    } else if (button == Qt::LeftButton) {
        if (const auto chosen = services_.colorDialog.pickColor(picColor_[index]->value())) {
            picColor_[index]->setValue(*chosen);
        }
    }
}

void frmMain1::mnuClear_Click() {
    if (gIndex_) {
        setColors(palette::clearSlot(colors(), *gIndex_));
    }
}

void frmMain1::mnuInvert_Click() {
    if (gIndex_) {
        setColors(palette::invertSlot(colors(), *gIndex_));
    }
}

void frmMain1::mnuRandomOne_Click() {
    if (gIndex_) {
        setColors(palette::randomSlot(colors(), *gIndex_, services_.random));
    }
}

void frmMain1::mnuPreset_Click(const palette::Preset& preset) {
    setColors(palette::applyPreset(preset));
}

void frmMain1::mnuAdd_Click() {
    const QString name =
        services_.inputPrompt.getText(tr("Please type the name for the scheme"), kTitle, QString());
    if (name.isEmpty()) {
        return;
    }
    store_->add(name, colors());
    RestoreMenus();
}

void frmMain1::mnuSchemeArray_Click(int index) {
    const std::optional<palette::Palette> scheme = store_->apply(index);
    if (scheme) {
        setColors(*scheme);
    }
}

void frmMain1::mnuRemove_Click() {
    const QStringList titles = store_->titles();
    schemeMenu_->setEntries(titles); // another running copy may have changed them
    Form6 dialog(
        titles, [this, &titles](int schemeNum) { deleteIt(schemeNum, titles[schemeNum - 1]); },
        this);
    dialog.exec();
}

void frmMain1::deleteIt(int schemeNum, const QString& title) {
    const auto removal = store_->remove(schemeNum, title);
    RestoreMenus();
    if (removal == schemes::SchemeStore::Removal::NotThere) {
        showMessage(tr("The scheme \"%1\" is no longer there.").arg(title));
    }
}

void frmMain1::RestoreMenus() {
    schemeMenu_->setEntries(store_->titles());
}

// The two groups of formats check their items apart, so all items follow the choice.
void frmMain1::mnuOptions_Click(const engine::OutputChoices& chosen) {
    showOptions(chosen);
    engine::saveOutputChoices(services_.settings, chosen, std::exchange(outputChoices_, chosen));
}

void frmMain1::mnuTemplate_Click() {
    const QString text = services_.inputPrompt.getText(
        tr("Please type the template: {c} the character, {hex} its colour as RRGGBB, "
           "{h1} to {h6} those digits, {r} {g} {b} in decimal, {{ and }} a brace"),
        kTitle, outputChoices_.templateText);
    if (text.isEmpty()) {
        return;
    }
    if (const auto error = engine::parseTemplate(text).error) {
        showMessage(tr("The template has an %1.").arg(engine::describe(*error)));
        return;
    }
    engine::OutputChoices chosen = outputChoices_;
    chosen.format = engine::OutputFormat::Template;
    chosen.templateText = text;
    mnuOptions_Click(chosen);
}

void frmMain1::mnuCopyRich_Click() {
    if (!colorized_) {
        return;
    }
    engine::ColorizeOptions options = colorized_->options;
    options.output.format = engine::OutputFormat::Span;
    const engine::ColorizeResult rich =
        engine::colorize(colorized_->text, colorized_->slots, options);
    output::copyRichText(services_.clipboard, rich.code, colorized_->text);
}

QString frmMain1::codeText() const {
    return Text2_->code();
}

void frmMain1::Text2_Change() {
    const qsizetype size = Text2_->codeSize();
    QString sizeLine = size > 0 ? codeSizeText(size) : QString();
    if (!Text2_->isEditable()) {
        sizeLine = tr("%1, too long to edit").arg(sizeLine);
    }
    lblCodeSize_->setText(sizeLine);
    if (size == 0) {
        codeFormat_.reset();
        colorized_.reset();
    }
}

void frmMain1::RTB1_Click() {
    if (const auto chosen = services_.colorDialog.pickColor(RTB1_->backColor())) {
        RTB1_->setBackColor(*chosen);
    }
}

// HTML code goes into a page; JSON into a .json file; the other formats into a plain text
// file. What counts is the format of the code in the box, which is the chosen one unless the
// choice changed after the last Colorize.
void frmMain1::mnuSave_Click() {
    if (codeText().isEmpty()) {
        Command1_Click();
    }
    const QString code = codeText();
    if (code.isEmpty()) {
        return;
    }
    const engine::OutputFormat format = codeFormat_.value_or(outputChoices_.format);
    const bool html = engine::isHtml(format);
    const bool json = format == engine::OutputFormat::Json;
    const std::optional<QString> path = services_.saveDialog.getSaveFileName(
        output::saveProposal(services_.settings, html   ? QStringLiteral("index.html")
                                                 : json ? QStringLiteral("tintwave.json")
                                                        : QStringLiteral("tintwave.txt")),
        html   ? tr("HTML Files (*.html *.htm)")
        : json ? tr("JSON Files (*.json)")
               : tr("Text Files (*.txt)"));
    if (!path) {
        return;
    }
    const platform::WriteError error =
        html ? output::savePage(services_.files, *path, code, RTB1_->backColor(),
                                services_.systemColors)
             : output::saveText(services_.files, *path, code);
    if (error) {
        showMessage(tr("Could not save %1: %2").arg(*path, *error));
    } else {
        output::rememberSaveFolder(services_.settings, *path);
    }
}

void frmMain1::mnuAbout_Click() {
    Form3 about(this, services_.urls);
    about.exec();
}

void frmMain1::mnuExit_Click() {
    hide();
    QCoreApplication::exit(0);
}

} // namespace tintwave::app
