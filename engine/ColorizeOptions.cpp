#include "engine/ColorizeOptions.h"

#include <algorithm>
#include <array>

namespace tintwave::engine {

namespace {

constexpr std::array kFormats = {u"font",       u"span",        u"bbcode",
                                 u"ansi",       u"mc-hex",      u"mc-x",
                                 u"mc-section", u"minimessage", u"minimessage-gradient",
                                 u"json",       u"template",    u"discord",
                                 u"irc"};
constexpr std::array kBlends = {u"rgb", u"oklab", u"oklch"};
constexpr std::array kSpreads = {u"classic", u"even"};
constexpr std::array kDepths = {u"24", u"256", u"16", u"8"};

template <typename Enum, std::size_t N>
std::optional<Enum> parse(const std::array<const char16_t*, N>& names, QStringView name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (name == QStringView(names[i])) {
            return static_cast<Enum>(i);
        }
    }
    return std::nullopt;
}

template <std::size_t N> QStringList all(const std::array<const char16_t*, N>& names) {
    QStringList list;
    for (const char16_t* name : names) {
        list << QString::fromUtf16(name);
    }
    return list;
}

} // namespace

const QStringList& faceChoices() {
    static const QStringList faces = {
        kNone,
        QStringLiteral("Arial"),
        QStringLiteral("Book Antiqua"),
        QStringLiteral("Comic Sans MS"),
        QStringLiteral("Courier New"),
        QStringLiteral("Lucida Calligraphy"),
        QStringLiteral("Lucida Sans"),
        QStringLiteral("MS Sans Serif"),
        QStringLiteral("Times New Roman"),
    };
    return faces;
}

const QStringList& sizeChoices() {
    static const QStringList sizes = {
        kNone,
        QStringLiteral("+1"),
        QStringLiteral("+2"),
        QStringLiteral("+3"),
        QStringLiteral("+4"),
        QStringLiteral("-1"),
        QStringLiteral("-2"),
        QStringLiteral("-3"),
        QStringLiteral("-4"),
        QStringLiteral("+5"),
        QStringLiteral("+6"),
        QStringLiteral("+7"),
        QStringLiteral("-5"),
        QStringLiteral("-6"),
        QStringLiteral("-7"),
    };
    return sizes;
}

QString formatName(OutputFormat format) {
    return QString::fromUtf16(kFormats[std::size_t(format)]);
}
QString blendName(Blend blend) {
    return QString::fromUtf16(kBlends[std::size_t(blend)]);
}
QString spreadName(Spread spread) {
    return QString::fromUtf16(kSpreads[std::size_t(spread)]);
}

QString depthName(ColorDepth depth) {
    return QString::fromUtf16(kDepths[std::size_t(depth)]);
}

std::optional<OutputFormat> parseFormat(QStringView name) {
    return parse<OutputFormat>(kFormats, name);
}
std::optional<Blend> parseBlend(QStringView name) {
    return parse<Blend>(kBlends, name);
}
std::optional<Spread> parseSpread(QStringView name) {
    return parse<Spread>(kSpreads, name);
}
std::optional<ColorDepth> parseDepth(QStringView name) {
    return parse<ColorDepth>(kDepths, name);
}

QStringList formatNames() {
    return all(kFormats);
}
QStringList blendNames() {
    return all(kBlends);
}
QStringList spreadNames() {
    return all(kSpreads);
}
QStringList depthNames() {
    return all(kDepths);
}

std::optional<int> legacyFontSize(const QString& size) {
    if (size.isEmpty() || size.size() > 4) {
        return std::nullopt;
    }
    const bool relative = size.front() == u'+' || size.front() == u'-';
    const QStringView digits = QStringView(size).sliced(relative ? 1 : 0);
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(),
                                         [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        return std::nullopt;
    }
    int value = digits.toInt();
    if (relative) {
        value = size.front() == u'+' ? 3 + value : 3 - value;
    }
    return std::clamp(value, 1, 7);
}

} // namespace tintwave::engine
