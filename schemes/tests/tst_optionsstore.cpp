// The output choices of the Options menu in the settings store, over an in-memory store
// that logs every write.
#include "platform/memory/MemorySettingsStore.h"
#include "schemes/OptionsStore.h"

#include <QTest>

using namespace tintwave;
using engine::Blend;
using engine::OutputFormat;
using engine::Spread;
using platform::MemorySettingsStore;
using schemes::OutputOptions;

Q_DECLARE_METATYPE(tintwave::schemes::OutputOptions)

namespace {

const QString kApp = QStringLiteral("tintwave");

} // namespace

class TestOptionsStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadOutputOptions_takesStoredNamesAndFallsBackPerKey_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<OutputOptions>("expected");
        QTest::newRow("empty store") << QStringList{} << OutputOptions{};
        QTest::newRow("every choice set")
            << QStringList{"format=ansi", "blend=oklch", "spread=even", "merge=1"}
            << OutputOptions{OutputFormat::Ansi, Blend::OkLch, Spread::Even, true};
        // Each unknown value falls back alone; the readable ones are kept.
        QTest::newRow("unknown values")
            << QStringList{"format=Span", "blend=hsv", "spread=even", "merge=true"}
            << OutputOptions{OutputFormat::Font, Blend::Rgb, Spread::Even, false};
        QTest::newRow("blanks around names")
            << QStringList{"format= bbcode", "blend=", "merge= 1"} << OutputOptions{};
    }
    void loadOutputOptions_takesStoredNamesAndFallsBackPerKey() {
        QFETCH(QStringList, stored);
        QFETCH(OutputOptions, expected);
        MemorySettingsStore store;
        for (const QString& pair : stored)
            store.SaveSetting(kApp, "options", pair.section(u'=', 0, 0), pair.section(u'=', 1));
        QCOMPARE(schemes::loadOutputOptions(store), expected);
    }

    // Only changed keys, so another copy's change of a different choice survives.
    void saveOutputOptions_writesOnlyTheChangedKeys() {
        MemorySettingsStore store;
        const OutputOptions before{OutputFormat::Span, Blend::Rgb, Spread::Classic, false};
        const OutputOptions now{OutputFormat::Span, Blend::OkLab, Spread::Classic, true};
        schemes::saveOutputOptions(store, now, before);
        QCOMPARE(store.log, (QStringList{"save tintwave/options/blend=oklab",
                                         "save tintwave/options/merge=1"}));
        store.log.clear();
        schemes::saveOutputOptions(store, now, now);
        QVERIFY(store.log.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestOptionsStore)
#include "tst_optionsstore.moc"
