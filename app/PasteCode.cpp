// File > Paste Code: a coloured code from the clipboard read back into the window.
#include "app/InputLine.h"
#include "app/MainWindow.h"
#include "engine/Colorize.h"
#include "engine/Decode.h"
#include "engine/DecodedWriter.h"
#include "engine/PaletteFit.h"
#include "platform/Clipboard.h"

#include <QCheckBox>
#include <QComboBox>

namespace tintwave::app {

namespace {

// The size choice that stands for size: itself, or for a bare legacy size 1 .. 7 (as span
// and BBCode carry it) the relative size counted from 3.
QString sizeChoice(const QString& size) {
    if (engine::sizeChoices().contains(size)) {
        return size;
    }
    const std::optional<int> legacy = engine::legacyFontSize(size);
    if (!legacy || *legacy == 3) {
        return engine::kNone;
    }
    return QStringLiteral("%1%2").arg(QChar(*legacy > 3 ? u'+' : u'-')).arg(std::abs(*legacy - 3));
}

// Selects text in a list of choices, adding it when the list lacks it.
void choose(QComboBox* combo, const QString& text) {
    if (combo->findText(text) < 0) {
        combo->addItem(text);
    }
    combo->setCurrentIndex(combo->findText(text));
}

} // namespace

// Fills the window from the code on the clipboard: the text, the palette that makes its
// colours, the styles, face, size and centring it carries, and its format, blend and spread,
// with merging and skipped blanks as the code has them; then colorizes, so the code box
// shows the code made again. A clipboard without a readable code changes nothing.
void MainWindow::pasteCode() {
    QString code = services_.clipboard.plainText();
    if (code.endsWith(u'\n')) {
        code.chop(code.endsWith(QStringLiteral("\r\n")) ? 2 : 1);
    }
    const engine::Detection detection = engine::detectFormat(code);
    if (!detection.format) {
        showMessage(tr("Cannot tell the format of this code."));
        return;
    }
    const engine::DecodeResult result = engine::decode(code, *detection.format);
    if (!result.ok()) {
        showMessage(tr("This code cannot be read: %1").arg(result.error->message()));
        return;
    }
    const engine::DecodedText& decoded = result.decoded;
    if (std::none_of(decoded.looks.begin(), decoded.looks.end(),
                     [](const engine::Look& l) { return l.color != engine::kNoColor; })) {
        showMessage(engine::messageFor(engine::ColorizeError::NoColor));
        return;
    }
    const engine::PaletteFit fit = engine::fitDecoded(decoded);
    palette::Palette colors = palette::Palette::empty();
    std::copy(fit.colors.begin(), fit.colors.end(), colors.slots.begin());

    engine::ColorizeOptions options = engine::optionsFor(decoded, chosenOptions());
    options.output.format = decoded.format;
    options.output.blend = fit.blend;
    options.output.spread = fit.spread;
    // Merging and skipped blanks as they make this code, where one choice does.
    for (const int runs : {0, 1, 2, 3}) {
        engine::ColorizeOptions tried = options;
        tried.output.merge = runs & 1;
        tried.output.skipBlanks = runs & 2;
        if (engine::colorize(decoded.text, colors.values(), tried).code == code) {
            options = tried;
            break;
        }
    }

    textEdit_->setText(decoded.text);
    setColors(colors);
    boldCheck_->setChecked(options.bold);
    italicCheck_->setChecked(options.italic);
    underlineCheck_->setChecked(options.underline);
    centerCheck_->setChecked(options.center);
    choose(faceCombo_, options.face);
    choose(sizeCombo_, sizeChoice(options.size));
    chooseOutput(options.output);
    colorize();
}

} // namespace tintwave::app
