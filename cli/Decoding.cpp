#include "cli/Decoding.h"

#include "engine/DecodedWriter.h"
#include "engine/PaletteFit.h"

namespace tintwave::cli {

DecodedInput decodeInput(QStringView code, std::optional<engine::OutputFormat> from) {
    DecodedInput input;
    if (!from) {
        const engine::Detection detection = engine::detectFormat(code);
        if (!detection.format) {
            input.error =
                QStringLiteral("cannot tell the format of this code; name it with --from");
            return input;
        }
        from = detection.format;
        if (!detection.obvious) {
            input.notice = QStringLiteral("reading the code as %1 (name another with --from)")
                               .arg(engine::formatName(*from));
        }
    }
    engine::DecodeResult result = engine::decode(code, *from);
    if (!result.ok()) {
        input.error = result.error->message();
        return input;
    }
    input.decoded = std::move(result.decoded);
    return input;
}

PaletteLine paletteLine(const engine::DecodedText& decoded) {
    const engine::PaletteFit fit = engine::fitDecoded(decoded);
    PaletteLine line{engine::paletteOptions(fit), {}};
    if (!fit.exact) {
        const auto& d = fit.largestDifference;
        line.notice = QStringLiteral("no gradient gives these colours exactly; the "
                                     "largest difference is %1 in red, %2 in green, %3 in blue")
                          .arg(d[0])
                          .arg(d[1])
                          .arg(d[2]);
    }
    return line;
}

} // namespace tintwave::cli
