// Colorize on arbitrary text, palettes and options. The trailing bytes choose the ten slot
// values, the face, the size and the four styles; the rest is the text, decoded as UTF-8
// (invalid sequences included). Beyond not crashing, the markup must be exactly the
// opening tags, one well-formed font tag per character holding that character, and the
// closing tags.
#include "engine/Colorize.h"
#include "engine/Graphemes.h"
#include "fuzz/FuzzCheck.h"

#include <QStringList>
#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>

using namespace tintwave;

namespace {

// The program's choices, and a face beyond ASCII.
const QStringList kFaces = engine::faceChoices() + QStringList{QStringLiteral("Grüße")};
const QStringList& kSizes = engine::sizeChoices();

SlotValues pickSlots(FuzzedDataProvider& in) {
    SlotValues slots{};
    for (ColorValue& slot : slots) {
        switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            slot = kButtonFace;
            break;
        case 1:
            slot = in.ConsumeIntegralInRange<ColorValue>(INT32_MIN, -1);
            break;
        default:
            slot = in.ConsumeIntegralInRange<ColorValue>(0, kWhite);
        }
    }
    return slots;
}

engine::ColorizeOptions pickOptions(FuzzedDataProvider& in) {
    engine::ColorizeOptions o;
    o.face = kFaces[in.ConsumeIntegralInRange<qsizetype>(0, kFaces.size() - 1)];
    o.size = kSizes[in.ConsumeIntegralInRange<qsizetype>(0, kSizes.size() - 1)];
    const auto styles = in.ConsumeIntegral<std::uint8_t>();
    o.center = styles & 1;
    o.bold = styles & 2;
    o.italic = styles & 4;
    o.underline = styles & 8;
    return o;
}

// The markup around the characters, written out independently of the engine.
QString opening(const engine::ColorizeOptions& o) {
    QString s;
    s += o.center ? QStringLiteral("<center>") : QString();
    s += o.bold ? QStringLiteral("<b>") : QString();
    s += o.italic ? QStringLiteral("<i>") : QString();
    s += o.underline ? QStringLiteral("<u>") : QString();
    const bool face = !engine::isNone(o.face), size = !engine::isNone(o.size);
    if (face || size) {
        s += QStringLiteral("<font");
        if (face) {
            s += QStringLiteral(" face=\"%1\"").arg(o.face);
        }
        if (size) {
            s += QStringLiteral(" size=") + o.size;
        }
        s += u'>';
    }
    return s;
}

QString closing(const engine::ColorizeOptions& o) {
    QString s;
    if (!engine::isNone(o.face) || !engine::isNone(o.size)) {
        s += QStringLiteral("</font>");
    }
    s += o.underline ? QStringLiteral("</u>") : QString();
    s += o.italic ? QStringLiteral("</i>") : QString();
    s += o.bold ? QStringLiteral("</b>") : QString();
    s += o.center ? QStringLiteral("</center>") : QString();
    return s;
}

int hexPair(QStringView s) {
    bool ok = false;
    const int v = s.toInt(&ok, 16);
    const bool upper = s.size() == 2 && s.toString() == s.toString().toUpper();
    return ok && upper ? v : -1;
}

// Walks the per-character tags, checking each against chars and the text.
void checkCharacters(const QString& code, qsizetype pos, const QString& text,
                     const engine::ColorizeResult& r) {
    const QString head = QStringLiteral("<font color=\"#");
    qsizetype expectedStart = 0;
    for (const engine::CharColor& c : r.chars) {
        FUZZ_CHECK(c.start == expectedStart && c.length > 0);
        FUZZ_CHECK(QStringView(code).sliced(pos).startsWith(head));
        pos += head.size();
        const int red = hexPair(QStringView(code).sliced(pos, 2));
        const int green = hexPair(QStringView(code).sliced(pos + 2, 2));
        const int blue = hexPair(QStringView(code).sliced(pos + 4, 2));
        FUZZ_CHECK(red >= 0 && green >= 0 && blue >= 0);
        FUZZ_CHECK(c.color == red + 256 * green + 65536 * blue);
        pos += 6;
        FUZZ_CHECK(QStringView(code).sliced(pos, 2) == QLatin1String("\">"));
        pos += 2;
        FUZZ_CHECK(QStringView(code).sliced(pos, c.length) ==
                   QStringView(text).sliced(c.start, c.length));
        pos += c.length;
        FUZZ_CHECK(QStringView(code).sliced(pos, 7) == QLatin1String("</font>"));
        pos += 7;
        expectedStart += c.length;
    }
    FUZZ_CHECK(expectedStart == text.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const SlotValues slots = pickSlots(in);
    const engine::ColorizeOptions options = pickOptions(in);
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));

    const engine::ColorizeResult r = engine::colorize(text, slots, options);
    const bool anyFilled =
        std::any_of(slots.begin(), slots.end(), [](ColorValue v) { return v >= 0; });
    if (text.isEmpty() || !anyFilled) {
        FUZZ_CHECK(r.error == (text.isEmpty() ? engine::ColorizeError::EmptyText
                                              : engine::ColorizeError::NoColor));
        FUZZ_CHECK(r.code.isEmpty() && r.chars.empty());
        return 0;
    }
    FUZZ_CHECK(r.ok());
    const std::vector<qsizetype> bounds = engine::graphemeBoundaries(text);
    FUZZ_CHECK(r.chars.size() == bounds.size() - 1);
    FUZZ_CHECK(qsizetype(r.chars.size()) == r.code.count(QLatin1String("<font color=")));
    for (std::size_t i = 0; i < r.chars.size(); ++i) {
        FUZZ_CHECK(r.chars[i].start == bounds[i]);
    }

    const QString open = opening(options), close = closing(options);
    FUZZ_CHECK(r.code.startsWith(open) && r.code.endsWith(close));
    // The lengths add up first, so the walk below never reads past the end.
    qsizetype inner = 0;
    for (const engine::CharColor& c : r.chars) {
        inner += c.length + qsizetype(sizeof("<font color=\"#RRGGBB\"></font>") - 1);
    }
    FUZZ_CHECK(open.size() + inner + close.size() == r.code.size());
    checkCharacters(r.code.chopped(close.size()), open.size(), text, r);
    return 0;
}
