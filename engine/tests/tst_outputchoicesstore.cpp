// The output choices over an in-memory settings store, which logs every write.
#include "engine/OutputChoicesStore.h"
#include "platform/memory/MemorySettingsStore.h"

#include <QTest>

using namespace tintwave;
using engine::Blend;
using engine::ColorDepth;
using engine::OutputChoices;
using engine::OutputFormat;
using engine::Spread;
using platform::MemorySettingsStore;

Q_DECLARE_METATYPE(tintwave::engine::OutputChoices)

class TestOutputChoicesStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void load_takesStoredNamesAndFallsBackPerKey_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<OutputChoices>("expected");
        QTest::newRow("empty store") << QStringList{} << OutputChoices{};
        QTest::newRow("every choice set")
            << QStringList{"format=template", "blend=oklch",  "spread=even",
                           "merge=1",         "skipblanks=1", "template=[c/{hex}:{c}]",
                           "colordepth=256"}
            << OutputChoices{.format = OutputFormat::Template,
                             .blend = Blend::OkLch,
                             .spread = Spread::Even,
                             .merge = true,
                             .skipBlanks = true,
                             .templateText = "[c/{hex}:{c}]",
                             .colorDepth = ColorDepth::Xterm256};
        QTest::newRow("merge off")
            << QStringList{"format=span", "blend=oklab", "merge=0"}
            << OutputChoices{.format = OutputFormat::Span, .blend = Blend::OkLab};
        // Each unknown value falls back alone; the readable ones are kept.
        QTest::newRow("unknown values")
            << QStringList{"format=Span", "blend=hsv",    "spread=even",
                           "merge=true",  "template={x}", "colordepth=24bit"}
            << OutputChoices{.spread = Spread::Even};
        QTest::newRow("styles and a limit")
            << QStringList{"strikethrough=1", "obfuscated=1", "maxlength=256"}
            << OutputChoices{.strikethrough = true, .obfuscated = true, .maxLength = 256};
        QTest::newRow("a limit below 0 or unreadable is none")
            << QStringList{"maxlength=-5", "obfuscated=yes"} << OutputChoices{};
        QTest::newRow("blanks around names")
            << QStringList{"format= bbcode", "blend=", "merge= 1"} << OutputChoices{};
    }
    void load_takesStoredNamesAndFallsBackPerKey() {
        QFETCH(QStringList, stored);
        QFETCH(OutputChoices, expected);
        MemorySettingsStore store;
        for (const QString& pair : stored) {
            store.setValue("options", pair.section(u'=', 0, 0), pair.section(u'=', 1));
        }
        store.log.clear();
        QCOMPARE(engine::loadOutputChoices(store), expected);
        QVERIFY(store.log.isEmpty());
    }

    // Only changed keys, so another copy's change of a different choice survives.
    void save_writesOnlyTheChangedKeys() {
        MemorySettingsStore store;
        const OutputChoices before{.format = OutputFormat::Span};
        const OutputChoices now{.format = OutputFormat::Span, .blend = Blend::OkLab, .merge = true};
        engine::saveOutputChoices(store, now, before);
        QCOMPARE(store.log, (QStringList{"save tintwave/options/blend=oklab",
                                         "save tintwave/options/merge=1"}));
        store.log.clear();
        engine::saveOutputChoices(store, now, now);
        QVERIFY(store.log.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestOutputChoicesStore)
#include "tst_outputchoicesstore.moc"
