// Several running copies adding and removing schemes in one settings file at the same
// time (separate processes, each a scheme_driver): no scheme is lost, none is doubled,
// and the stored count matches the sections.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

namespace {

QStringList names(const QString& prefix, int count) {
    QStringList result;
    for (int i = 1; i <= count; ++i)
        result << QStringLiteral("%1-%2").arg(prefix).arg(i);
    return result;
}

std::unique_ptr<QProcess> start(const QString& ini, const QStringList& arguments) {
    auto p = std::make_unique<QProcess>();
    p->setProgram(QStringLiteral(TINTWAVE_SCHEME_DRIVER));
    p->setArguments(QStringList{ini} + arguments);
    p->start();
    return p;
}

// Runs every command list at once, one process each, and waits for all of them.
void runTogether(const QString& ini, const QList<QStringList>& commands) {
    std::vector<std::unique_ptr<QProcess>> running;
    for (const QStringList& c : commands)
        running.push_back(start(ini, c));
    for (auto& p : running) {
        QVERIFY(p->waitForFinished(120000));
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                 p->readAllStandardError().constData());
    }
}

QStringList listed(const QString& ini) {
    auto p = start(ini, {QStringLiteral("list")});
    if (!p->waitForFinished(60000))
        return {QStringLiteral("<list hung>")};
    return QString::fromUtf8(p->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// The file holds count n and exactly the sections scheme1 .. schemeN.
void checkLayout(const QString& ini, const QString& copy, int n) {
    QVERIFY(QFile::copy(ini, copy)); // a new name, which QSettings has not cached
    QSettings s(copy, QSettings::IniFormat);
    QCOMPARE(s.value(QStringLiteral("numSchemes")).toString(), QString::number(n));
    QStringList sections = s.childGroups();
    for (int k = 1; k <= n; ++k)
        QVERIFY2(sections.removeOne(QStringLiteral("scheme%1").arg(k)),
                 qPrintable(sections.join(u' ')));
    QCOMPARE(sections, QStringList());
}

// Whether sub appears in whole in list, in its own order.
bool inOrder(const QStringList& list, const QStringList& sub) {
    qsizetype from = 0;
    for (const QString& s : sub) {
        from = list.indexOf(s, from);
        if (from < 0)
            return false;
    }
    return true;
}

} // namespace

class TwoCopiesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString ini() const { return dir_.filePath(QStringLiteral("tintwave.ini")); }

private Q_SLOTS:
    void init() { QFile::remove(ini()); }

    void addsFromThreeCopies_everySchemeStoredOnce() {
        constexpr int kEach = 40;
        const QStringList a = names("a", kEach), b = names("b", kEach), c = names("c", kEach);
        runTogether(ini(),
                    {QStringList{"add"} + a, QStringList{"add"} + b, QStringList{"add"} + c});

        const QStringList all = listed(ini());
        QCOMPARE(all.size(), 3 * kEach);
        for (const QStringList& mine : {a, b, c}) {
            QVERIFY2(inOrder(all, mine), qPrintable(all.join(u' ')));
            for (const QString& name : mine)
                QCOMPARE(all.count(name), 1);
        }
        checkLayout(ini(), dir_.filePath("layout1.ini"), 3 * kEach);
    }

    void removalsRacingAnAdd_loseOnlyTheRemovedSchemes() {
        constexpr int kSeeds = 40, kRemovedEach = 15, kAdded = 30;
        const QStringList seeds = names("seed", kSeeds), added = names("new", kAdded);
        runTogether(ini(), {QStringList{"add"} + seeds});

        // Two copies each remove the first scheme again and again while a third adds.
        const QStringList removeFirst{"remove", "1", QString::number(kRemovedEach)};
        runTogether(ini(), {removeFirst, removeFirst, QStringList{"add"} + added});

        QCOMPARE(listed(ini()), seeds.mid(2 * kRemovedEach) + added);
        checkLayout(ini(), dir_.filePath("layout2.ini"), kSeeds - 2 * kRemovedEach + kAdded);
    }
};

QTEST_GUILESS_MAIN(TwoCopiesTest)
#include "tst_twocopies.moc"
