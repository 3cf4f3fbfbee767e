#include "palette/Presets.h"

#include "color/ColorProcs.h"

#include <QString>
#include <array>
#include <initializer_list>

namespace tintwave::palette {

namespace {

struct Rgb {
    int r, g, b;
};

// A preset whose colours fill slots 0, 1, ... in order; the slots after them hold the
// empty marker, so the table reads the same as the palette it gives.
constexpr Preset preset(const char* caption, int submenu, std::initializer_list<Rgb> colors) {
    Preset p{caption, submenu, int(colors.size()), Palette::empty().values()};
    int i = 0;
    for (const Rgb& c : colors) {
        p.colors[i++] = color::rgb(c.r, c.g, c.b);
    }
    return p;
}

enum Submenu { kSchemesMenu = -1, kPhotoshop, kBlackWhite, kBlues, kOrangeRed, kMisc };

// The submenu titles are captions the windows translate (context "tintwave::palette").
constexpr std::array<PresetSubmenu, 5> kSubmenus{{
    {QT_TRANSLATE_NOOP("tintwave::palette", "&Photoshop Gradients")},
    {QT_TRANSLATE_NOOP("tintwave::palette", "&Black/White/Gray")},
    {QT_TRANSLATE_NOOP("tintwave::palette", "Blue/&Green")},
    {QT_TRANSLATE_NOOP("tintwave::palette", "&Orange/Red/Yellow")},
    {QT_TRANSLATE_NOOP("tintwave::palette", "&Misc.")},
}};

constexpr Rgb kRed{255, 0, 0}, kYellow{255, 255, 0}, kGreen{0, 255, 0}, kTurq{0, 255, 255},
    kBlue{0, 0, 255}, kMagenta{255, 0, 255}, kWhiteRgb{255, 255, 255}, kBlack{0, 0, 0},
    kGray{128, 128, 128}, kOrange{255, 128, 64}, kPsOrange{255, 125, 0};
constexpr Rgb kCopperDark{150, 70, 75}, kCopperLight{250, 210, 190};

constexpr std::array<Preset, 23> kPresets{{
    preset("&Spectrum", kSchemesMenu, {kRed, kYellow, kGreen, kTurq, kBlue, kMagenta, kRed}),
    preset("Red-Green", kPhotoshop, {{225, 0, 25}, {0, 96, 28}}),
    preset("Violet-Orange", kPhotoshop, {{40, 10, 90}, kPsOrange}),
    preset("Blue-Red-Yellow", kPhotoshop, {{10, 0, 175}, kRed, {255, 245, 0}}),
    preset("Blue-Yellow-Blue", kPhotoshop, {{10, 0, 185}, {250, 245, 5}, {10, 0, 170}}),
    preset("Orange-Yellow-Orange", kPhotoshop, {{255, 110, 0}, kYellow, {255, 110, 0}}),
    preset("Violet-Green-Orange", kPhotoshop, {{110, 20, 110}, {15, 100, 25}, kPsOrange}),
    preset("Yellow-Violet-Orange-Blue", kPhotoshop,
           {{250, 230, 0}, {110, 25, 110}, kPsOrange, {0, 40, 115}}),
    preset("Copper", kPhotoshop,
           {kCopperDark, kCopperLight, kCopperDark, kCopperLight, kCopperDark, kCopperLight,
            kCopperDark, kCopperLight, kCopperDark, kCopperLight}),
    preset("Gray-White-Gray", kBlackWhite, {kGray, kWhiteRgb, kGray}),
    preset("Black-White-Black", kBlackWhite, {kBlack, kWhiteRgb, kBlack}),
    preset("White-Black-White", kBlackWhite, {kWhiteRgb, kBlack, kWhiteRgb}),
    preset("Gray-Black-Gray", kBlackWhite, {kGray, kBlack, kGray}),
    preset("Blue-Turq-Blue", kBlues, {kBlue, kTurq, kBlue}),
    preset("Blue-Green-Blue", kBlues, {kBlue, kGreen, kBlue}),
    preset("Navy-Blue-Turq", kBlues, {{0, 64, 128}, kBlue, kTurq}),
    preset("Red-Orange-Yellow-White", kOrangeRed, {kRed, kOrange, kYellow, kWhiteRgb}),
    preset("Orange-Yellow-Light Yellow", kOrangeRed, {kOrange, kYellow, {255, 255, 196}}),
    preset("Flames", kOrangeRed,
           {kRed, kOrange, kYellow, kRed, kOrange, kYellow, kRed, kOrange, kYellow}),
    preset("Turq-Yellow", kMisc, {kTurq, kYellow}),
    preset("Yellow-Pink", kMisc, {kYellow, kMagenta}),
    preset("Green-Yellow", kMisc, {kGreen, kYellow}),
    preset("Blue-Red", kMisc, {kBlue, kRed}),
}};

} // namespace

std::span<const PresetSubmenu> presetSubmenus() {
    return kSubmenus;
}

std::span<const Preset> presets() {
    return kPresets;
}

Palette applyPreset(const Preset& preset) {
    Palette p = Palette::empty();
    for (int i = 0; i < preset.colorCount && i < kSlotCount; ++i) {
        p[i] = preset.colors[i];
    }
    return p;
}

QString displayCaption(const Preset& preset) {
    // "&" marks the access key; "&&" stands for a literal ampersand.
    const QString caption = QString::fromUtf8(preset.caption);
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i;
        }
        shown += caption[i];
    }
    return shown;
}

const Preset* findPreset(QStringView name) {
    for (const Preset& p : kPresets) {
        if (displayCaption(p) == name) {
            return &p;
        }
    }
    return nullptr;
}

} // namespace tintwave::palette
