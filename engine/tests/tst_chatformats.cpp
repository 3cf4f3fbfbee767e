// The game chat formats, the template, blanks without codes, line breaks and the gradient
// per line: the exact code, and readers written here from the formats' own rules that must
// get back the text, the font format's colours and the chosen styles, whatever the text.
#include "color/ColorProcs.h"
#include "engine/Colorize.h"
#include "engine/TemplateWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace tintwave;
using namespace tintwave::engine;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(tintwave::engine::ColorizeOptions)

namespace {

SlotValues slotsWith(const QList<ColorValue>& colors) {
    SlotValues values;
    values.fill(kButtonFace);
    std::copy(colors.begin(), colors.end(), values.begin());
    return values;
}

ColorValue fromHex(QStringView digits) {
    const uint v = digits.toUInt(nullptr, 16);
    return color::rgb(int(v >> 16), int(v >> 8 & 255), int(v & 255));
}

enum Style { Bold = 1, Italic = 2, Underline = 4, Other = 8 };

// What a reader makes of the code: every UTF-16 unit with the colour (-1: none) and the
// styles it shows.
struct Shown {
    QString text;
    QList<ColorValue> colors;
    QList<int> styles;
    void add(QChar c, ColorValue color, int style) {
        text += c;
        colors << color;
        styles << style;
    }
};

// Minecraft as the game and its plugins read it: & or § before a code letter, &#RRGGBB, or
// x and six signed digits. A colour resets the styles; any other code counts as Other.
Shown readMinecraft(const QString& code) {
    const auto isSign = [&code](qsizetype j) {
        return j < code.size() && (code[j] == u'&' || code[j] == u'§');
    };
    const auto isHex = [&code](qsizetype j) {
        return j < code.size() && QStringView(u"0123456789ABCDEFabcdef").contains(code[j]);
    };
    Shown shown;
    ColorValue color = -1;
    int styles = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar next = i + 1 < code.size() ? code[i + 1].toLower() : QChar();
        QString digits;
        for (qsizetype j = i + 2; isSign(i) && next == u'#' && isHex(j) && digits.size() < 6; ++j) {
            digits += code[j];
        }
        for (qsizetype j = i + 2;
             isSign(i) && next == u'x' && isSign(j) && isHex(j + 1) && digits.size() < 6; j += 2) {
            digits += code[j + 1];
        }
        if (digits.size() == 6) {
            color = fromHex(digits);
            styles = 0;
            i += next == u'#' ? 7 : 13;
        } else if (isSign(i) && !next.isNull() && u"0123456789abcdefklmnorx#"_s.contains(next)) {
            styles |= next == u'l'   ? Bold
                      : next == u'o' ? Italic
                      : next == u'n' ? Underline
                                     : Other;
            ++i;
        } else {
            shown.add(code[i], color, styles);
        }
    }
    return shown;
}

// MiniMessage: \\ and \< escapes, <#RRGGBB>, <b> <i> <u> and their closing tags; any other
// tag counts as Other.
Shown readMiniMessage(const QString& code) {
    Shown shown;
    ColorValue color = -1;
    int styles = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        if (code[i] == u'\\' && i + 1 < code.size() &&
            (code[i + 1] == u'\\' || code[i + 1] == u'<')) {
            shown.add(code[++i], color, styles);
        } else if (code[i] == u'<') {
            const qsizetype end = code.indexOf(u'>', i);
            const QString tag = code.mid(i + 1, end - i - 1);
            const int style = tag.endsWith(u'b') ? Bold : tag.endsWith(u'i') ? Italic : Underline;
            if (tag.size() == 7 && tag[0] == u'#') {
                color = fromHex(QStringView(tag).sliced(1));
            } else if (QStringList{"b", "i", "u"}.contains(tag)) {
                styles |= style;
            } else if (QStringList{"/b", "/i", "/u"}.contains(tag)) {
                styles &= ~style;
            } else {
                styles |= Other;
            }
            i = end;
        } else {
            shown.add(code[i], color, styles);
        }
    }
    return shown;
}

// JSON text components after QJsonDocument: "" first, then objects of text, colour and the
// three styles; any other key counts as Other.
Shown readJson(const QString& code) {
    Shown shown;
    QJsonParseError error;
    const QJsonArray array = QJsonDocument::fromJson(code.toUtf8(), &error).array();
    if (error.error != QJsonParseError::NoError || array.isEmpty() || array[0] != u""_s) {
        return shown;
    }
    for (qsizetype k = 1; k < array.size(); ++k) {
        const QJsonObject o = array[k].toObject();
        const ColorValue color =
            o.contains(u"color") ? fromHex(o[u"color"].toString().sliced(1)) : -1;
        int styles = (o[u"bold"].toBool() ? Bold : 0) | (o[u"italic"].toBool() ? Italic : 0) |
                     (o[u"underlined"].toBool() ? Underline : 0);
        for (const QString& key : o.keys()) {
            styles |= QStringList{"text", "color", "bold", "italic", "underlined"}.contains(key)
                          ? 0
                          : Other;
        }
        for (const QChar c : o[u"text"].toString()) {
            shown.add(c, color, styles);
        }
    }
    return shown;
}

// The font format's colour of every unit of text, with its line breaks left out (they take
// no place in the gradient of the other formats).
QList<ColorValue> fontColors(const QString& text, const SlotValues& slots,
                             const ColorizeOptions& options) {
    QString withoutBreaks = text;
    withoutBreaks.remove(u'\r').remove(u'\n');
    ColorizeOptions font;
    font.output.blend = options.output.blend;
    font.output.spread = options.output.spread;
    QList<ColorValue> colors;
    for (const CharColor& c : colorize(withoutBreaks, slots, font).chars) {
        colors.insert(colors.size(), c.length, c.color);
    }
    return colors;
}

const QList<ColorValue> kGrey{0x000000, 0xFFFFFF}, kNavy{0x302010};

ColorizeOptions as(OutputFormat format, bool merge = false, bool skipBlanks = false) {
    return {
        .output = {
            .format = format, .spread = Spread::Even, .merge = merge, .skipBlanks = skipBlanks}};
}

ColorizeOptions styled(ColorizeOptions options) {
    options.bold = options.italic = options.underline = true;
    return options;
}

} // namespace

class TestChatFormats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Even spread over black and white: two characters are #000000 and #FFFFFF, three add
    // #808080, four #555555 and #AAAAAA.
    void colorize_chatFormat_exactCode_data() {
        QTest::addColumn<ColorizeOptions>("options");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<ColorValue>>("colors");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const ColorizeOptions& options, const QString& text,
                            const QList<ColorValue>& colors, const QString& expected) {
            QTest::newRow(name) << options << text << colors << expected;
        };
        using enum OutputFormat;
        ColorizeOptions perLine = as(McHex);
        perLine.perLine = true;
        ColorizeOptions custom = as(Template, true);
        custom.output.templateText = u"{{{hex}}}{h1}{h6}|{r},{g},{b}|{c}"_s;
        ColorizeOptions terraria = as(Template, false, true);
        terraria.output.templateText = u"[c/{hex}:{c}]"_s;
        ColorizeOptions underlined = as(Ansi, false, true);
        underlined.underline = true;

        row("mc-hex", as(McHex), u"ab"_s, kGrey, u"&#000000a&#FFFFFFb"_s);
        row("mc-hex styles, & and § end a run", styled(as(McHex, true)), u"a&l§o"_s, {0},
            u"&#000000&l&o&na&&#000000&l&o&nl§&#000000&l&o&no"_s);
        row("mc-hex per line", perLine, u"ab\r\ncd"_s, kGrey,
            u"&#000000a&#FFFFFFb\n&#000000c&#FFFFFFd"_s);
        row("mc-x", as(McX), u"ab"_s, kGrey, u"&x&0&0&0&0&0&0a&x&F&F&F&F&F&Fb"_s);
        row("mc-section skip blanks, merge", as(McSection, true, true), u"a b"_s, kGrey,
            u"§x§0§0§0§0§0§0a §x§F§F§F§F§F§Fb"_s);
        row("minimessage styles, escapes", styled(as(MiniMessage)), u"<\\"_s, kGrey,
            u"<b><i><u><#000000>\\<<#FFFFFF>\\\\</u></i></b>"_s);
        row("minimessage CR LF, merge", as(MiniMessage, true), u"a\r\nb"_s, {0},
            u"<#000000>a\n<#000000>b"_s);
        row("json styles, escapes", styled(as(Json)), u"a\""_s, kGrey,
            u"[\"\",{\"text\":\"a\",\"color\":\"#000000\",\"bold\":true,\"italic\":true,"
            "\"underlined\":true},{\"text\":\"\\\"\",\"color\":\"#FFFFFF\",\"bold\":true,"
            "\"italic\":true,\"underlined\":true}]"_s);
        row("json leading blank, line break, control, merge", as(Json, true, true), u" a\n\x01\\"_s,
            kGrey,
            u"[\"\",{\"text\":\" \"},{\"text\":\"a\",\"color\":\"#555555\"},{\"text\":\"\\n\"},"
            "{\"text\":\"\\u0001\",\"color\":\"#AAAAAA\"},{\"text\":\"\\\\\",\"color\":\"#FFFFFF\"}]"_s);
        row("template placeholders, braces, merge", custom, u"ab"_s, kNavy,
            u"{102030}10|16,32,48|ab"_s);
        row("template skip blanks", terraria, u"a b"_s, kGrey, u"[c/000000:a ][c/FFFFFF:b]"_s);
        row("span skip blanks, line break", as(Span, false, true), u"a b\rc"_s, kGrey,
            u"<span style=\"color:#000000\">a </span><span style=\"color:#AAAAAA\">b</span><br>\n"
            "<span style=\"color:#FFFFFF\">c</span>"_s);
        row("bbcode a blank after [ stands bare", as(BBCode, true, true), u"[ x"_s, {0},
            u"[color=#000000][[/color] [color=#000000]x[/color]"_s);
        row("ansi blank keeps the underline", underlined, u" a\nb"_s, kGrey,
            u"\x1b[4m \x1b[38;2;128;128;128ma\x1b[0m\n\x1b[4m\x1b[38;2;255;255;255mb\x1b[0m"_s);
    }
    void colorize_chatFormat_exactCode() {
        QFETCH(ColorizeOptions, options);
        QFETCH(QString, text);
        QFETCH(QList<ColorValue>, colors);
        QFETCH(QString, expected);
        QCOMPARE(colorize(text, slotsWith(colors), options).code, expected);
    }

    // Every character of the text comes back with its font-format colour and exactly the
    // chosen styles, and nothing else; a blank without a code of its own shows no other
    // style. The hostile text holds the formats' own code and escape characters, controls,
    // an emoji, a flag after it, combining marks and line breaks; 10 MB of it (UTF-8) go
    // through in one colour, merged.
    void readers_getBackTextColoursAndStyles() {
        const QString hostile = u"&l§a&#FF0000&x<b>\\<#000000>\\\\\"{c}{{}}&&§ §\x01\x1b\x7f\t"
                                u"\U0001F600\U0001F1E9\U0001F1EA e\u0301\u0308\r\n&\rn\u3000&"_s;
        const SlotValues rainbow = slotsWith({0xFF0000, 0x00FF00, 0xFFFFFF, 0x0000FF});
        const QList<std::pair<OutputFormat, Shown (*)(const QString&)>> readers = {
            {OutputFormat::McHex, readMinecraft},     {OutputFormat::McX, readMinecraft},
            {OutputFormat::McSection, readMinecraft}, {OutputFormat::MiniMessage, readMiniMessage},
            {OutputFormat::Json, readJson},           {OutputFormat::Template, readMinecraft}};
        for (const auto& [format, read] : readers) {
            // The template escapes nothing: only a text without code characters reads back.
            const bool custom = format == OutputFormat::Template;
            for (const QString& text : {u"Grüße, Welt! 😀"_s, hostile.repeated(custom ? 0 : 3),
                                        hostile.repeated(custom ? 0 : 140'000)}) {
                const bool big = text.size() > 1000;
                for (int variant = big ? 3 : 0; variant < 4 && !text.isEmpty(); ++variant) {
                    ColorizeOptions options = as(format, variant & 1, variant & 2);
                    options.output.blend = variant == 3 ? Blend::OkLch : Blend::Rgb;
                    options.output.templateText = u"&#{hex}&l&o&n{c}"_s;
                    options.bold = options.underline = variant != 1 || custom;
                    options.italic = custom;
                    const SlotValues slots = big ? slotsWith({0x00FF80}) : rainbow;
                    QString breaksAsLf = text;
                    breaksAsLf.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
                    const QList<ColorValue> font = big ? QList<ColorValue>(text.size(), 0x00FF80)
                                                       : fontColors(text, slots, options);
                    const Shown shown = read(colorize(text, slots, options).code);
                    QCOMPARE(shown.text, breaksAsLf);
                    const int chosen = (options.bold ? Bold : 0) | (options.italic ? Italic : 0) |
                                       (options.underline ? Underline : 0);
                    qsizetype wrong = -1;
                    for (qsizetype i = 0, f = 0; i < shown.text.size() && wrong < 0; ++i) {
                        const bool blank = options.output.skipBlanks && shown.text[i].isSpace();
                        if ((shown.styles[i] | chosen) != chosen ||
                            (shown.text[i] != u'\n' && !blank &&
                             (shown.colors[i] != font[f] || shown.styles[i] != chosen))) {
                            wrong = i;
                        }
                        f += shown.text[i] != u'\n';
                    }
                    QVERIFY2(wrong < 0,
                             qPrintable(u"%1, variant %2, unit %3"_s.arg(formatName(format))
                                            .arg(variant)
                                            .arg(wrong)));
                }
            }
        }
    }

    // {{ and }} are braces; an unknown name or a brace without its partner is named.
    void parseTemplate_namesWhatIsWrong() {
        QStringList described;
        for (const QString& text :
             {u"{{{c}}}{h6}"_s, u"a{x}"_s, u"{h7}"_s, u"ab{c"_s, u"}"_s, u"{{c}"_s, u"{c}}"_s}) {
            const ParsedTemplate parsed = parseTemplate(text);
            described << (parsed.error ? describe(*parsed.error)
                                       : QString::number(parsed.pieces.size()) + u" pieces"_s);
        }
        QCOMPARE(described,
                 QStringList({"4 pieces", "unknown placeholder {x}", "unknown placeholder {h7}",
                              "unmatched { at character 3", "unmatched } at character 1",
                              "unmatched } at character 4", "unmatched } at character 4"}));
    }
};

QTEST_APPLESS_MAIN(TestChatFormats)
#include "tst_chatformats.moc"
