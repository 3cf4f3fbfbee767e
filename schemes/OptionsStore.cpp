#include "schemes/OptionsStore.h"

#include "platform/SettingsStore.h"

namespace tintwave::schemes {

namespace {

const QString kApp = QStringLiteral("tintwave");
const QString kSection = QStringLiteral("options");
const QString kFormatKey = QStringLiteral("format");
const QString kBlendKey = QStringLiteral("blend");
const QString kSpreadKey = QStringLiteral("spread");
const QString kMergeKey = QStringLiteral("merge");

QString mergeText(bool merge) {
    return merge ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

void applyTo(const OutputOptions& output, engine::ColorizeOptions& options) {
    options.format = output.format;
    options.blend = output.blend;
    options.spread = output.spread;
    options.merge = output.merge;
}

OutputOptions loadOutputOptions(platform::SettingsStore& store) {
    const auto read = [&store](const QString& key) {
        return store.GetSetting(kApp, kSection, key);
    };
    const OutputOptions defaults;
    OutputOptions options;
    options.format = engine::parseFormat(read(kFormatKey)).value_or(defaults.format);
    options.blend = engine::parseBlend(read(kBlendKey)).value_or(defaults.blend);
    options.spread = engine::parseSpread(read(kSpreadKey)).value_or(defaults.spread);
    options.merge = read(kMergeKey) == mergeText(true);
    return options;
}

void saveOutputOptions(platform::SettingsStore& store, const OutputOptions& now,
                       const OutputOptions& before) {
    const auto write = [&store](const QString& key, const QString& value) {
        store.SaveSetting(kApp, kSection, key, value);
    };
    if (now.format != before.format)
        write(kFormatKey, engine::formatName(now.format));
    if (now.blend != before.blend)
        write(kBlendKey, engine::blendName(now.blend));
    if (now.spread != before.spread)
        write(kSpreadKey, engine::spreadName(now.spread));
    if (now.merge != before.merge)
        write(kMergeKey, mergeText(now.merge));
}

} // namespace tintwave::schemes
