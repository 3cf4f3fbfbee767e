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
const QString kSection = QStringLiteral("options");

// Stores "key=value" pairs in the options section, as an earlier run would have left them.
void seed(MemorySettingsStore& store, const QStringList& pairs) {
    for (const QString& pair : pairs) {
        const qsizetype eq = pair.indexOf(u'=');
        store.SaveSetting(kApp, kSection, pair.left(eq), pair.mid(eq + 1));
    }
    store.log.clear();
}

} // namespace

class TestOptionsStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void load_takesStoredNamesAndFallsBackPerKey_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<OutputOptions>("expected");
        QTest::newRow("empty store") << QStringList{} << OutputOptions{};
        QTest::newRow("every choice set")
            << QStringList{"format=ansi", "blend=oklch", "spread=even", "merge=1"}
            << OutputOptions{OutputFormat::Ansi, Blend::OkLch, Spread::Even, true};
        QTest::newRow("merge off")
            << QStringList{"format=span", "blend=oklab", "merge=0"}
            << OutputOptions{OutputFormat::Span, Blend::OkLab, Spread::Classic, false};
        // Each unknown value falls back alone; the readable ones are kept.
        QTest::newRow("unknown values")
            << QStringList{"format=Span", "blend=hsv", "spread=even", "merge=true"}
            << OutputOptions{OutputFormat::Font, Blend::Rgb, Spread::Even, false};
        QTest::newRow("blanks around names")
            << QStringList{"format= bbcode", "blend=", "merge= 1"} << OutputOptions{};
    }
    void load_takesStoredNamesAndFallsBackPerKey() {
        QFETCH(QStringList, stored);
        QFETCH(OutputOptions, expected);
        MemorySettingsStore store;
        seed(store, stored);
        QCOMPARE(schemes::loadOutputOptions(store), expected);
        QVERIFY(store.log.isEmpty());
    }

    void save_writesOnlyTheChangedKeysInTheOptionsSection() {
        MemorySettingsStore store;
        const OutputOptions before{OutputFormat::Span, Blend::Rgb, Spread::Classic, false};
        OutputOptions now = before;
        now.blend = Blend::OkLab;
        now.merge = true;
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
