// The commands of the main window: each reads the controls, calls the core and writes the
// controls back.
#include "app/AboutWindow.h"
#include "app/CodeBox.h"
#include "app/ColorBox.h"
#include "app/InputLine.h"
#include "app/MainWindow.h"
#include "app/PreviewBox.h"
#include "app/RemoveSchemeDialog.h"
#include "app/UserSchemeMenu.h"
#include "engine/Colorize.h"
#include "engine/FitLength.h"
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
    const QLocale language(MainWindow::tr("en", "locale whose digit grouping the size line uses"));
    const QString number = language.toString(qlonglong(size));
    return size == 1 ? MainWindow::tr("%1 character").arg(number)
                     : MainWindow::tr("%1 characters").arg(number);
}

// The size line of code fitted to a length: "251 of 256 characters, 3 per colour", or in
// bytes for IRC, whose servers count them.
QString fittedSizeText(qsizetype size, int limit, int step, bool bytes) {
    const QLocale language(MainWindow::tr("en", "locale whose digit grouping the size line uses"));
    return (bytes ? MainWindow::tr("%1 of %2 bytes, %3 per colour")
                  : MainWindow::tr("%1 of %2 characters, %3 per colour"))
        .arg(language.toString(qlonglong(size)), language.toString(limit))
        .arg(step);
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

int MainWindow::userSchemeCount() const {
    return store_->count();
}

palette::Palette MainWindow::colors() const {
    palette::Palette p;
    for (int i = 0; i < kSlotCount; ++i) {
        p[i] = colorBoxes_[i]->value();
    }
    return p;
}

void MainWindow::setColors(const palette::Palette& palette) {
    for (int i = 0; i < kSlotCount; ++i) {
        colorBoxes_[i]->setValue(palette[i]);
    }
}

void MainWindow::showMessage(const QString& text, platform::MessageDisplay::Icon icon) {
    services_.messages.show(text, kTitle, icon);
}

void MainWindow::colorize() {
    const QString text = textEdit_->text();
    engine::ColorizeOptions options = chosenOptions();
    // Fitted to a length: the smallest step that fits, or the reason and the old code kept.
    const int limit = engine::canFitLength(options.output) ? options.output.maxLength : 0;
    if (limit > 0 && !text.isEmpty()) {
        const WaitCursor wait(text.size() >= kLongText);
        const engine::FitResult fit = engine::fitToLength(text, colors().values(), options, limit);
        if (!fit.error && !fit.fits) {
            showMessage(engine::fitMessage(fit, limit));
            return;
        }
        options = fit.fits ? engine::withStep(options, fit.step) : options;
    }
    // A text that is not empty replaces the code or, for want of colours, clears it: a long
    // old code goes first, so that it and the new one are never held at the same time.
    if (!text.isEmpty()) {
        codeBox_->dropLongCode();
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
            colorized_ = Colorized{text, colors().values(), options, limit}; // the size line's
            codeBox_->adoptCode(std::move(code));
            preview_->showColorized(text, std::move(shades), options.face, options.bold,
                                    options.italic, options.underline);
        }
    }
    // Without colours the old code goes; an empty text leaves everything as it was.
    if (error == engine::ColorizeError::NoColor) {
        codeBox_->setCode(QString());
    }
    showCodeCaptions();
    if (error) { // what to do first, not a fault: no icon
        showMessage(engine::messageFor(*error), platform::MessageDisplay::Icon::None);
    }
}

void MainWindow::clearColors() {
    setColors(palette::clearColors(colors()));
}

void MainWindow::copyHtml() {
    output::copyHtml(services_.clipboard, codeText());
}

void MainWindow::invertColors() {
    setColors(palette::invertColors(colors()));
}

void MainWindow::rotateColors(palette::Rotation rotation) {
    setColors(palette::rotate(colors(), rotation));
}

void MainWindow::reverseColors() {
    setColors(palette::reverseOrder(colors()));
}

void MainWindow::randomizeColors() {
    setColors(palette::randomColors(colors(), services_.random));
}

void MainWindow::slotPressed(int index, Qt::MouseButton button, QPoint globalPos) {
    pressedSlot_ = index;
    if (button == Qt::RightButton) {
        slotMenu_->popup(globalPos);
    } else if (button == Qt::LeftButton) {
        if (const auto chosen = services_.colorDialog.pickColor(colorBoxes_[index]->value())) {
            colorBoxes_[index]->setValue(*chosen);
        }
    }
}

void MainWindow::clearPressedSlot() {
    if (pressedSlot_) {
        setColors(palette::clearSlot(colors(), *pressedSlot_));
    }
}

void MainWindow::invertPressedSlot() {
    if (pressedSlot_) {
        setColors(palette::invertSlot(colors(), *pressedSlot_));
    }
}

void MainWindow::randomizePressedSlot() {
    if (pressedSlot_) {
        setColors(palette::randomSlot(colors(), *pressedSlot_, services_.random));
    }
}

void MainWindow::applyPreset(const palette::Preset& preset) {
    setColors(palette::applyPreset(preset));
}

// A refused add says why: the window for what the user can change, the settings store's
// notice for what went wrong with the store.
void MainWindow::addScheme() {
    const std::optional<QString> name =
        services_.inputPrompt.getText(tr("Please type the name for the scheme"), kTitle, QString());
    if (!name) {
        return;
    }
    using Addition = schemes::SchemeStore::Addition;
    const Addition added = store_->add(*name, colors());
    rebuildUserSchemeMenu();
    if (added == Addition::NoName) {
        showMessage(tr("The scheme was not added: it needs a name."));
    } else if (added == Addition::Full) {
        showMessage(tr("The scheme \"%1\" was not added: the Schemes menu holds as many schemes "
                       "as it can. Remove one first.")
                        .arg(*name));
    }
}

void MainWindow::applyUserScheme(int number) {
    const std::optional<palette::Palette> scheme = store_->palette(number);
    if (scheme) {
        setColors(*scheme);
    }
}

void MainWindow::removeScheme() {
    const QStringList titles = store_->titles();
    userSchemeMenu_->setEntries(titles); // another running copy may have changed them
    RemoveSchemeDialog dialog(titles, this);
    connect(&dialog, &RemoveSchemeDialog::chosen, this,
            [this, &titles](int number) { removeUserScheme(number, titles[number - 1]); });
    dialog.exec();
}

void MainWindow::removeUserScheme(int number, const QString& title) {
    const auto removal = store_->remove(number, title);
    rebuildUserSchemeMenu();
    if (removal == schemes::SchemeStore::Removal::NotThere) {
        showMessage(tr("The scheme \"%1\" is no longer there.").arg(title));
    }
}

void MainWindow::rebuildUserSchemeMenu() {
    userSchemeMenu_->setEntries(store_->titles());
}

// The two groups of formats check their items apart, so all items follow the choice.
void MainWindow::chooseOutput(const engine::OutputChoices& chosen) {
    showOptions(chosen);
    engine::saveOutputChoices(services_.settings, chosen, std::exchange(outputChoices_, chosen));
    showCodeCaptions();
}

// A template that cannot be used is explained, and the prompt comes back with it to mend.
void MainWindow::editTemplate() {
    QString text = outputChoices_.templateText;
    for (;;) {
        const std::optional<QString> typed = services_.inputPrompt.getText(
            tr("Please type the template: {c} the character, {hex} its colour as RRGGBB, "
               "{h1} to {h6} those digits, {r} {g} {b} in decimal, {{ and }} a brace"),
            kTitle, text);
        if (!typed) {
            return;
        }
        text = *typed;
        if (text.isEmpty()) {
            showMessage(tr("The template is empty."));
        } else if (const auto error = engine::parseTemplate(text).error) {
            showMessage(tr("The template has an %1.").arg(engine::describe(*error)));
        } else {
            break;
        }
    }
    engine::OutputChoices chosen = outputChoices_;
    chosen.format = engine::OutputFormat::Template;
    chosen.templateText = text;
    chooseOutput(chosen);
}

void MainWindow::fitToLength() {
    QString text = QString::number(outputChoices_.maxLength);
    int limit = -1;
    while (limit < 0) {
        const std::optional<QString> typed = services_.inputPrompt.getText(
            tr("Fit the code to how many characters? 0 for no limit.\n"
               "Minecraft: chat 256, a sign line 384, an anvil name 50.\n"
               "Discord: a message 2000. IRC: a line about 400."),
            kTitle, text);
        if (!typed) {
            return;
        }
        text = *typed;
        bool ok = false;
        limit = text.trimmed().toInt(&ok);
        if (!ok || limit < 0) {
            showMessage(tr("The limit must be a whole number, 0 or more."));
            limit = -1;
        }
    }
    engine::OutputChoices chosen = outputChoices_;
    chosen.maxLength = limit;
    chooseOutput(chosen);
}

void MainWindow::copyRichText() {
    if (!colorized_) {
        return;
    }
    engine::ColorizeOptions options = colorized_->options;
    options.output.format = engine::OutputFormat::Span;
    const engine::ColorizeResult rich =
        engine::colorize(colorized_->text, colorized_->slots, options);
    output::copyRichText(services_.clipboard, rich.code, colorized_->text);
}

QString MainWindow::codeText() const {
    return codeBox_->code();
}

void MainWindow::codeChanged() {
    const qsizetype size = codeBox_->codeSize();
    QString sizeLine = size > 0 ? codeSizeText(size) : QString();
    if (size > 0 && colorized_ && colorized_->fitLimit > 0) {
        const engine::OutputFormat format = colorized_->options.output.format;
        const bool bytes = engine::countsBytes(format);
        sizeLine = fittedSizeText(bytes ? engine::countedLength(codeText(), format) : size,
                                  colorized_->fitLimit, colorized_->options.step, bytes);
    }
    if (!codeBox_->isEditable()) {
        sizeLine = tr("%1, too long to edit").arg(sizeLine);
    }
    codeSizeLabel_->setText(sizeLine);
    if (size == 0) {
        colorized_.reset();
    }
    showCodeCaptions();
}

void MainWindow::choosePreviewBackground() {
    if (const auto chosen = services_.colorDialog.pickColor(preview_->backColor())) {
        preview_->setBackColor(*chosen);
    }
}

// HTML code goes into a page; JSON into a .json file; the other formats into a plain text
// file. What counts is the format of the code in the box, which is the chosen one unless the
// choice changed after the last Colorize.
void MainWindow::saveAs() {
    if (codeText().isEmpty()) {
        colorize();
    }
    const QString code = codeText();
    if (code.isEmpty()) {
        return;
    }
    const engine::OutputFormat format =
        colorized_ ? colorized_->options.output.format : outputChoices_.format;
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
    const QString target = output::withExtension(*path, html   ? QStringLiteral(".html")
                                                        : json ? QStringLiteral(".json")
                                                               : QStringLiteral(".txt"));
    const platform::WriteError error =
        html ? output::savePage(services_.files, target, code, preview_->backColor(),
                                services_.systemColors)
             : output::saveText(services_.files, target, code);
    if (error) {
        showMessage(tr("Could not save %1: %2").arg(target, *error));
    } else {
        output::rememberSaveFolder(services_.settings, target);
    }
}

void MainWindow::showAbout() {
    AboutWindow about(this, services_.urls);
    about.exec();
}

void MainWindow::quit() {
    hide();
    QCoreApplication::exit(0);
}

} // namespace tintwave::app
