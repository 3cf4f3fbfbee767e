#include "engine/OutputChoicesStore.h"

#include "engine/TemplateWriter.h"
#include "platform/SettingsStore.h"

#include <algorithm>

namespace tintwave::engine {

namespace {

const QString kSection = QStringLiteral("options");
const QString kFormatKey = QStringLiteral("format");
const QString kBlendKey = QStringLiteral("blend");
const QString kSpreadKey = QStringLiteral("spread");
const QString kMergeKey = QStringLiteral("merge");
const QString kSkipBlanksKey = QStringLiteral("skipblanks");
const QString kTemplateKey = QStringLiteral("template");
const QString kStrikethroughKey = QStringLiteral("strikethrough");
const QString kObfuscatedKey = QStringLiteral("obfuscated");
const QString kMaxLengthKey = QStringLiteral("maxlength");
const QString kDepthKey = QStringLiteral("colordepth");

QString flagText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

OutputChoices loadOutputChoices(platform::SettingsStore& store) {
    const auto read = [&store](const QString& key) {
        return store.value(kSection, key);
    };
    const OutputChoices defaults;
    const QString storedTemplate = read(kTemplateKey);
    const bool templateFits = !storedTemplate.isEmpty() && !parseTemplate(storedTemplate).error;
    return {
        .format = parseFormat(read(kFormatKey)).value_or(defaults.format),
        .blend = parseBlend(read(kBlendKey)).value_or(defaults.blend),
        .spread = parseSpread(read(kSpreadKey)).value_or(defaults.spread),
        .merge = read(kMergeKey) == flagText(true),
        .skipBlanks = read(kSkipBlanksKey) == flagText(true),
        .templateText = templateFits ? storedTemplate : defaults.templateText,
        .strikethrough = read(kStrikethroughKey) == flagText(true),
        .obfuscated = read(kObfuscatedKey) == flagText(true),
        .maxLength = std::max(0, read(kMaxLengthKey).toInt()),
        .colorDepth = parseDepth(read(kDepthKey)).value_or(defaults.colorDepth),
    };
}

void saveOutputChoices(platform::SettingsStore& store, const OutputChoices& now,
                       const OutputChoices& before) {
    const auto write = [&store](const QString& key, const QString& value) {
        store.setValue(kSection, key, value);
    };
    if (now.format != before.format) {
        write(kFormatKey, formatName(now.format));
    }
    if (now.blend != before.blend) {
        write(kBlendKey, blendName(now.blend));
    }
    if (now.spread != before.spread) {
        write(kSpreadKey, spreadName(now.spread));
    }
    if (now.merge != before.merge) {
        write(kMergeKey, flagText(now.merge));
    }
    if (now.skipBlanks != before.skipBlanks) {
        write(kSkipBlanksKey, flagText(now.skipBlanks));
    }
    if (now.templateText != before.templateText) {
        write(kTemplateKey, now.templateText);
    }
    if (now.strikethrough != before.strikethrough) {
        write(kStrikethroughKey, flagText(now.strikethrough));
    }
    if (now.obfuscated != before.obfuscated) {
        write(kObfuscatedKey, flagText(now.obfuscated));
    }
    if (now.maxLength != before.maxLength) {
        write(kMaxLengthKey, QString::number(now.maxLength));
    }
    if (now.colorDepth != before.colorDepth) {
        write(kDepthKey, depthName(now.colorDepth));
    }
}

} // namespace tintwave::engine
