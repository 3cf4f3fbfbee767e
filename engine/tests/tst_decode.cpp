// Reading codes back: every format written by colorize and decoded gives, written again in any
// other format, exactly what colorize writes there; hand-written codes give the characters,
// colours and styles their own readers show; broken codes give a message and nothing else.
#include "color/ColorProcs.h"
#include "engine/ColorSets.h"
#include "engine/Colorize.h"
#include "engine/Decode.h"
#include "engine/DecodedWriter.h"

#include <QTest>

using namespace tintwave;
using namespace tintwave::engine;
using namespace Qt::StringLiterals;

namespace {

SlotValues slotsWith(std::initializer_list<ColorValue> colors) {
    SlotValues values;
    values.fill(kButtonFace);
    std::copy(colors.begin(), colors.end(), values.begin());
    return values;
}

// The decoded text as runs of equal look: "[RRGGBB bius]text", "[-]" for no colour.
QString runs(const DecodedText& decoded) {
    QString shown;
    for (qsizetype i = 0; i < decoded.text.size(); ++i) {
        const Look look = decoded.looks[std::size_t(i)];
        if (i == 0 || look != decoded.looks[std::size_t(i - 1)]) {
            QString styles;
            for (int bit = 0; bit < 5; ++bit) {
                styles += look.styles & (1 << bit) ? QChar(u"biusk"[bit]) : QChar();
            }
            styles.remove(QChar());
            const QString color = look.color == kNoColor
                                      ? u"-"_s
                                      : QStringLiteral("%1%2%3")
                                            .arg(color::red(look.color), 2, 16, QChar(u'0'))
                                            .arg(color::green(look.color), 2, 16, QChar(u'0'))
                                            .arg(color::blue(look.color), 2, 16, QChar(u'0'))
                                            .toUpper();
            shown += u'[' + color + (styles.isEmpty() ? u""_s : u" "_s + styles) + u']';
        }
        shown += decoded.text[i];
    }
    return shown;
}

// The message of a failed decode, for a failing check (Qt Test works it out either way).
QByteArray why(const DecodeResult& result) {
    return result.ok() ? QByteArray() : result.error->message().toUtf8();
}

// The codes and escapes of every format, controls, an emoji, a flag, combining marks.
const QString kHostile = u"&l§a &#FF0000&x<b>\\<#000000>\\\\\"'[b][/color]{\"text\"}&amp;"
                         u"\x01\x7f\t\U0001F600\U0001F1E9\U0001F1EA e\u0301\u0308 ]>"_s;
// What the chat writers guard: fences and backticks, a zero-width space between two, commas
// and digits where a colour code ends.
const QString kChatHostile = u"```a``,1 `\u200B` ```` 9,99 ,"_s;

// Whether format shows a fixed set of colours, which is what its code reads back as.
bool showsSet(OutputFormat format) {
    return shownColorSet({.format = format}).has_value();
}

} // namespace

class TestDecode : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Written by colorize in one format, decoded and written in another: the same code as
    // colorize writes there, with styles, face, size and centre carried where both formats
    // have them. Line breaks go between the modern formats only (font counts them in the
    // gradient); the other formats leave control characters out or show them as pictures,
    // so their texts hold none. A chat with a fixed set of colours reads back as the set's
    // colours, those its writer chose: written again in its own format, the same code.
    void roundTrip_everyPairOfFormats_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        for (const QString& from : decodableFormatNames()) {
            // Gradient segments come out of a palette's gradient, which a decoded code lacks.
            for (const QString& to : formatNames()) {
                if (to != formatName(OutputFormat::MiniMessageGradient) &&
                    (!showsSet(*parseFormat(from)) || to == from)) {
                    QTest::addRow("%s to %s", qPrintable(from), qPrintable(to)) << from << to;
                }
            }
        }
    }
    void roundTrip_everyPairOfFormats() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        const OutputFormat source = *parseFormat(from), target = *parseFormat(to);
        const bool lines = hasRunOptions(source) && hasRunOptions(target);
        QString hostile = kHostile;
        if (source != OutputFormat::Font) { // the others leave controls out or show them
            hostile.remove(u'\x01').remove(u'\x7f');
        }
        if (source == OutputFormat::McHex || source == OutputFormat::McX ||
            source == OutputFormat::McSection) { // they leave section signs out
            hostile.remove(u'§');
        }
        const QStringList texts = {u"Grüße, Welt!"_s, kChatHostile, hostile,
                                   lines ? hostile + u"\r\nzwei\ndrei\r"_s : hostile + hostile,
                                   hostile.repeated(40)};
        const SlotValues slots = slotsWith({0xFF0000, 0x00FF00, 0xFFFFFF, 0x0000FF, 0x102030});
        for (const QString& text : texts) {
            for (int variant = 0; variant < 6; ++variant) {
                ColorizeOptions written{.face = u"Times New Roman"_s, .size = u"5"_s};
                written.bold = written.underline = written.center = variant % 2 == 0;
                written.italic = variant == 4;
                written.output = {.format = source,
                                  .blend = variant >= 4 ? Blend::OkLch : Blend::Rgb,
                                  .spread = variant % 3 ? Spread::Even : Spread::Classic,
                                  .merge = variant >= 2,
                                  // A skipped blank keeps no colour: only a target that skips
                                  // blanks too writes the same.
                                  .skipBlanks = variant == 5 && hasRunOptions(target),
                                  .strikethrough = variant == 3};
                ColorizeOptions given{.center = true};
                given.output = written.output;
                given.output.format = target;
                given.output.templateText = u"<{hex}>{c}"_s;
                const DecodeResult decoded = decode(colorize(text, slots, written).code, source);
                QVERIFY2(decoded.ok(), why(decoded).constData());
                ColorizeOptions expected = written;
                expected.output = given.output;
                const bool carries = isHtml(source) || source == OutputFormat::BBCode;
                expected.face = carries ? written.face : kNone;
                expected.size = carries ? written.size : kNone;
                expected.center = carries ? written.center : true;
                QCOMPARE(writeDecoded(decoded.decoded, optionsFor(decoded.decoded, given)),
                         colorize(text, slots, expected).code);
                // A zero-width space between backticks reads back as the writer's, not text.
                if (showsSet(source) && !written.output.skipBlanks && !text.contains(u"`\u200B`")) {
                    // Each character's colour, read from a 24-bit code, and its nearest.
                    ColorizeOptions exact = written;
                    exact.output.format = OutputFormat::Ansi;
                    const DecodedText full =
                        decode(colorize(text, slots, exact).code, OutputFormat::Ansi).decoded;
                    QCOMPARE(decoded.decoded.text, full.text);
                    const Nearest nearest(*shownColorSet(written.output));
                    for (std::size_t i = 0; i < full.looks.size(); ++i) {
                        const ColorValue c = full.looks[i].color;
                        if (c == kNoColor) {
                            continue; // a line break
                        }
                        const colorspace::Srgb8 shown =
                            nearest({color::red(c), color::green(c), color::blue(c)}).color;
                        QCOMPARE(decoded.decoded.looks[i].color,
                                 color::rgb(shown.red, shown.green, shown.blue));
                    }
                }
            }
        }
    }

    // Codes written by hand and by other tools, as their own readers show them.
    void decode_handWritten_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& format, const QString& code,
                            const QString& expected) {
            QTest::newRow(name) << format << code << expected;
        };
        row("mc-hex legacy and styles", u"mc-hex"_s,
            u"&#FF0000Hi &lthere&r plain &x&0&0&F&F&0&0x \u00A7ay&Lz"_s,
            u"[FF0000]Hi [FF0000 b]there[-] plain [00FF00]x [55FF55]y[55FF55 b]z"_s);
        row("mc broken codes stay text", u"mc-hex"_s, u"&zA & B&#12345G&x&1&Q"_s,
            u"[-]&zA & B&#12345G&x[0000AA]&Q"_s);
        row("mc-section reads only \u00A7", u"mc-section"_s,
            u"\u00A7x\u00A71\u00A72\u00A73\u00A74\u00A75\u00A76a&lb\u00A7mc\u00A7kd"_s,
            u"[123456]a&lb[123456 s]c[123456 sk]d"_s);
        row("minimessage named, nested, escapes", u"minimessage"_s,
            u"<red>a<bold>b</bold><blue>c</blue>d</red>e\\<f\\\\<u><dark_grey>g</u>"_s,
            u"[FF5555]a[FF5555 b]b[5555FF]c[FF5555]d[-]e<f\\[555555 u]g"_s);
        row("minimessage unknown tag as text, click dropped", u"minimessage"_s,
            u"<#00ff00><click:run_command:'/say >'>x</click><what>y<color:gold>z<!bold>"_s,
            u"[00FF00]x<what>y[FFAA00]z"_s);
        row("minimessage gradient", u"minimessage"_s,
            u"<gradient:#FF0000:#0000FF>abc</gradient>d"_s, u"[FF0000]a[800080]b[0000FF]c[-]d"_s);
        row("minimessage gradient keeps inner colours and places", u"minimessage"_s,
            u"<gradient:red:blue:green>ab<#000000>c</#000000>de</gradient>"_s,
            u"[FF5555]a[AA55AA]b[000000]c[55AAAA]d[55FF55]e"_s);
        row("minimessage gradient over code points, reset", u"minimessage"_s,
            u"<b><gradient>\U0001F600x</gradient><reset>y"_s,
            u"[FFFFFF b]\U0001F600[000000 b]x[-]y"_s);
        row("json extra and inherited styles", u"json"_s,
            u"{\"extra\":[\"b\",{\"text\":\"c\",\"color\":\"#00FF00\",\"bold\":false}],"
            "\"text\":\"A\",\"color\":\"red\",\"bold\":true}"_s,
            u"[FF5555 b]Ab[00FF00]c"_s);
        row("json array children inherit the first", u"json"_s,
            u" [ {\"text\":\"a\",\"italic\":true,\"hover\":{\"x\":[1,2.5e3]}}, \"b\\u00e9\\n\", 7 ]"_s,
            u"[- i]ab\u00E9\n7"_s);
        row("html upper case, single quotes, entities", u"font"_s,
            u"<CENTER><FONT COLOR='#ff0000' FACE='Arial'>A</FONT><font color=blue>B&amp;"
            "</font><B>c<br>\nd</B></CENTER>< e"_s,
            u"[FF0000]A[0000FF]B&[- b]c\nd[-]< e"_s);
        row("span css", u"span"_s,
            u"<div style=\"text-align:center\"><span style='color: #00ff00; font-weight: bold; "
            "text-decoration: underline line-through'>x</span><span style=\"color:#F00\">y</span>"
            "<span>z</span></div>"_s,
            u"[00FF00 bus]x[FF0000]y[-]z"_s);
        row("bbcode tags, unknown kept", u"bbcode"_s,
            u"[COLOR=red]a[/color][b]b[/b][url]c[/url][color=#00FF00][i]d[/color]e[x"_s,
            u"[FF0000]a[- b]b[-][url]c[/url][00FF00 i]d[-]e[x"_s);
        row("ansi 16, 256, 24-bit, styles, other sequences", u"ansi"_s,
            u"\x1b[31mR\x1b[1;38;5;196mX\x1b[0m\x1b[92mG\x1b[38;2;1;2;3;4mZ\x1b[2J\x1b]0;t\x07"
            "\x1b[22;39mq\x1b[38;5;244mw\x1b[38;5;67me"_s,
            u"[CD0000]R[FF0000 b]X[00FF00]G[010203 u]Z[- u]q[808080 u]w[5F87AF u]e"_s);
        row("discord pasted: blanks and CR LF around, backgrounds, 256 colours skipped",
            u"discord"_s,
            u"\n```ansi\r\n\x1b[1;4;31mWarn\x1b[0m: \x1b[40;33mdisk\x1b[22;24m 9"
            "\x1b[1;38;5;196m%\x1b[39m`\u200B`a\u200Bb\x1b[2J\r\n```\n"_s,
            u"[DC322F bu]Warn[-]: [B58900]disk 9[B58900 b]%[- b]``a\u200Bb"_s);
        row("discord text around the block, closing fence on the last line", u"discord"_s,
            u"see:\n```ansi\n\x1b[37mx\x1b[0;34m`\u200B`\x1b[30m\u200B`y```\nbye"_s,
            u"[-]see:\n[FFFFFF]x[268BD2]``[4F545C]\u200B`y[-]\nbye"_s);
        row("discord without fences", u"discord"_s, u"\x1b[35m```ansi x"_s, u"[D33682]```ansi x"_s);
        // \u0003 before a digit, which \x03 would take in as part of its number.
        row("irc background, lone \\x03, reset, extended colour, empty bold pair", u"irc"_s,
            u"\u00034,12red\x03 plain\x0F \u0002b\u000352x\x02\x02,y\u000399z\x1D\x1F\x1Es"
            "\x16\x11\x0F\u0003042,5"_s,
            u"[FF0000]red[-] plain [- b]b[FF0000 b]x,y[- b]z[- bius]s[FF0000]2,5"_s);
        row("irc commas and digits after codes", u"irc"_s,
            u"\u000312\x02\x02,x\x03,5 \u000316A\u000398B\u00039,\u0003934"_s,
            u"[0000FC],x[-],5 [470000]A[FFFFFF]B[00FC00],[656565]4"_s);
    }
    void decode_handWritten() {
        QFETCH(QString, format);
        QFETCH(QString, code);
        QFETCH(QString, expected);
        const DecodeResult result = decode(code, *parseFormat(format));
        QVERIFY2(result.ok(), why(result).constData());
        QCOMPARE(runs(result.decoded), expected);
    }

    // What an HTML or BBCode code carries around the characters.
    void decode_faceSizeCentre_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("expected"); // face, size, centre
        QTest::newRow("font") << u"font"_s
                              << u"<center><font face=\"Comic Sans\" size=+2>x</font></center>"_s
                              << QStringList{u"Comic Sans"_s, u"+2"_s, u"1"_s};
        QTest::newRow("span css string")
            << u"span"_s
            << u"<span style=\"font-family:'a\\'b&quot;c;&lt;\\\\\\a ';font-size:x-small\">x</span>"_s
            << QStringList{u"a'b\"c;<\\\n"_s, u"1"_s, u"0"_s};
        QTest::newRow("bbcode") << u"bbcode"_s << u"[font=Arial][size=6]x[/size][/font]"_s
                                << QStringList{u"Arial"_s, u"6"_s, u"0"_s};
        QTest::newRow("game code has none")
            << u"mc-x"_s << u"x"_s << QStringList{u"None"_s, u"None"_s, u"0"_s};
    }
    void decode_faceSizeCentre() {
        QFETCH(QString, format);
        QFETCH(QString, code);
        QFETCH(QStringList, expected);
        const DecodedText d = decode(code, *parseFormat(format)).decoded;
        QCOMPARE((QStringList{d.face, d.size, QString::number(d.center)}), expected);
    }

    // Codes no reader can make sense of: the format, the character (a code point, counted
    // from 1) and what is wrong; nothing decoded.
    void decode_broken_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* format, const QString& code, const QString& message) {
            QTest::addRow("%s %s", format, qPrintable(message.section(u':', 1)))
                << QString::fromLatin1(format) << code << message;
        };
        row("json", u"[\"\U0001F600\",{\"text\":\"a\",}]"_s,
            u"not valid json at character 18: expected a string"_s);
        row("json", u"{\"text\":\"a\"} x"_s,
            u"not valid json at character 14: text after the end"_s);
        row("json", u"[\"a\x01\"]"_s,
            u"not valid json at character 4: control character in a string"_s);
        row("json", u"[\"a"_s,
            u"not valid json at character 4: string not closed before the end"_s);
        row("json", u"["_s.repeated(300), u"not valid json at character 258: nested too deeply"_s);
        row("json", u""_s, u"not valid json at character 1: expected a value"_s);
        row("minimessage", u"ab<#FF0000"_s,
            u"not valid minimessage at character 3: tag not closed before the end"_s);
        row("font", u"x<font color=\"#FF0000\""_s,
            u"not valid font at character 2: tag not closed before the end"_s);
        row("span", u"<!-- x"_s,
            u"not valid span at character 1: comment not closed before the end"_s);
        row("bbcode", u"a[color=#FF0000"_s,
            u"not valid bbcode at character 2: tag not closed before the end"_s);
        row("ansi", u"a\x1b[38;2;1"_s,
            u"not valid ansi at character 2: escape sequence cut off by the end"_s);
        row("ansi", u"\x1b]0;title"_s,
            u"not valid ansi at character 1: escape sequence cut off by the end"_s);
        row("discord", u"```ansi\nab\x1b[3```"_s,
            u"not valid discord at character 11: escape sequence cut off by the end"_s);
    }
    void decode_broken() {
        QFETCH(QString, format);
        QFETCH(QString, code);
        QFETCH(QString, message);
        const DecodeResult result = decode(code, *parseFormat(format));
        QVERIFY(!result.ok());
        QCOMPARE(result.error->message(), message);
        QVERIFY(result.decoded.text.isEmpty() && result.decoded.looks.empty());
    }

    void detectFormat_bySyntax_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("format"); // empty: cannot tell
        QTest::addColumn<bool>("obvious");
        const auto row = [](const char* name, const QString& code, const QString& format,
                            bool obvious) {
            QTest::newRow(name) << code << format << obvious;
        };
        row("font", u"<font color=\"#000000\">a</font>"_s, u"font"_s, true);
        row("span", u"<span style=\"color:#000000\">a</span>"_s, u"span"_s, true);
        row("bbcode", u"[color=#000000]a[/color]"_s, u"bbcode"_s, true);
        row("ansi", u"\x1b[38;2;0;0;0ma"_s, u"ansi"_s, true);
        row("mc-hex", u"&#000000a"_s, u"mc-hex"_s, true);
        row("mc-x", u"&x&0&0&0&0&0&0a"_s, u"mc-x"_s, true);
        row("mc-section", u"\u00A7x\u00A70\u00A70\u00A70\u00A70\u00A70\u00A70a"_s, u"mc-section"_s,
            true);
        row("minimessage", u"<#000000>a"_s, u"minimessage"_s, true);
        row("json", u"  [\"\",{\"text\":\"a\"}]"_s, u"json"_s, true);
        row("legacy & codes only", u"&aHello &lthere"_s, u"mc-hex"_s, false);
        row("mc-hex holding a tag", u"&#000000<b>&#000000[color=#FFFFFF]"_s, u"mc-hex"_s, false);
        row("plain text", u"just words & more"_s, QString(), false);
        row("discord", u"\n  ```ansi\r\n\x1b[0;31ma\n```"_s, u"discord"_s, true);
        row("discord fence after text", u"see\n```ansi\n\x1b[31ma\n```"_s, u"ansi"_s, true);
        row("irc colours", u"\u000304a\u000312b"_s, u"irc"_s, true);
        row("irc styles alone", u"\u0002bold\x02 and \x1Fu"_s, u"irc"_s, true);
        row("terminal code with a reset control", u"\x1b[1mA\x0F"_s, u"ansi"_s, true);
    }
    void detectFormat_bySyntax() {
        QFETCH(QString, code);
        QFETCH(QString, format);
        QFETCH(bool, obvious);
        const Detection d = detectFormat(code);
        QCOMPARE(d.format ? formatName(*d.format) : QString(), format);
        QCOMPARE(d.obvious, obvious);
    }

    // A million units of what each reader looks ahead for, never closed: read in linear time
    // (a search that starts again at every one would outlast the test's time limit), shown
    // as text, or refused at the first.
    void decode_hostileRepeats_linear_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<qsizetype>("shown");  // units of text; -1: refused
        QTest::addColumn<QString>("detected"); // empty: no format's marks
        const auto row = [](const char* name, const QString& format, const QString& unit,
                            qsizetype shown, const QString& detected) {
            QTest::newRow(name) << format << unit << shown << detected;
        };
        row("entities", u"span"_s, u"&"_s, 1'000'000, QString());
        row("font tags", u"font"_s, u"<font "_s, -1, QString());
        row("closing tags", u"font"_s, u"</b>"_s, 0, QString());
        row("bbcode colours", u"bbcode"_s, u"[color="_s, -1, QString());
        row("bbcode brackets", u"bbcode"_s, u"[bx"_s, 999'999, QString());
        row("minimessage quotes", u"minimessage"_s, u"<a'"_s, -1, QString());
        row("minimessage closing", u"minimessage"_s, u"<#000000></b>"_s, 0, u"minimessage"_s);
        row("json arrays", u"json"_s, u"[\"\","_s, -1, u"json"_s);
        row("ansi sequences", u"ansi"_s, u"\x1b[1m"_s, 0, u"ansi"_s);
        row("discord fences", u"discord"_s, u"```ansi\n"_s, 999'989, u"discord"_s);
        row("discord sequences without an end", u"discord"_s, u"\x1b[1;"_s, -1, u"ansi"_s);
        row("irc codes before commas", u"irc"_s, u"\u00039,"_s, 333'333, u"irc"_s);
    }
    void decode_hostileRepeats_linear() {
        QFETCH(QString, format);
        QFETCH(QString, unit);
        QFETCH(qsizetype, shown);
        QFETCH(QString, detected);
        const QString code = unit.repeated(1'000'000 / unit.size());
        const DecodeResult result = decode(code, *parseFormat(format));
        QCOMPARE(result.ok() ? result.decoded.text.size() : -1, shown);
        const std::optional<OutputFormat> found = detectFormat(code).format;
        QCOMPARE(found ? formatName(*found) : QString(), detected);
    }

    // The styles every visible character has are the code's; a blank does not count.
    void optionsFor_commonStylesOnly() {
        const DecodedText mixed =
            decode(u"&#FF0000&l&oAb &#00FF00&lc"_s, OutputFormat::McHex).decoded;
        const ColorizeOptions o = optionsFor(mixed, {.underline = true});
        QCOMPARE((QList<bool>{o.bold, o.italic, o.underline, o.center}),
                 (QList<bool>{true, false, true, false}));
        QCOMPARE(writeDecoded(decode(u"x"_s, OutputFormat::McHex).decoded, {}), QString());
    }
};

QTEST_APPLESS_MAIN(TestDecode)
#include "tst_decode.moc"
