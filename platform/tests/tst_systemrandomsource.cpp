#include "platform/qt/SystemRandomSource.h"

#include <QTest>
#include <algorithm>
#include <array>

using tintwave::platform::SystemRandomSource;

class SystemRandomSourceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void next_staysInUnitIntervalAndReachesEveryComponent() {
        SystemRandomSource rnd;
        std::array<int, 256> hits{};
        double sum = 0;
        constexpr int kDraws = 200000;
        for (int i = 0; i < kDraws; ++i) {
            const float x = rnd.next();
            QVERIFY(x >= 0.0f && x < 1.0f);
            ++hits[int(x * 256)];
            sum += x;
        }
        // About 780 per component; missing one by chance is beyond astronomically unlikely.
        QVERIFY(*std::min_element(hits.begin(), hits.end()) > 500);
        QVERIFY(qAbs(sum / kDraws - 0.5) < 0.01);
    }
};

QTEST_GUILESS_MAIN(SystemRandomSourceTest)
#include "tst_systemrandomsource.moc"
