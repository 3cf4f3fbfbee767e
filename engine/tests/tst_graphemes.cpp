#include "engine/Graphemes.h"

#include <QTest>
#include <QTextBoundaryFinder>

using tintwave::engine::graphemeBoundaries;
using namespace Qt::StringLiterals;
using Bounds = std::vector<qsizetype>;

class TestGraphemes : public QObject {
    Q_OBJECT
private slots:
    void boundaries_keepClustersWhole_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qsizetype>>("expected");
        QTest::newRow("empty") << QString() << QList<qsizetype>{0};
        QTest::newRow("ascii") << u"a<\""_s << QList<qsizetype>{0, 1, 2, 3};
        QTest::newRow("latin") << u"Grüße"_s << QList<qsizetype>{0, 1, 2, 3, 4, 5};
        QTest::newRow("combining acute") << u"e\u0301x"_s << QList<qsizetype>{0, 2, 3};
        QTest::newRow("surrogate pair") << u"\U0001F600a"_s << QList<qsizetype>{0, 2, 3};
        QTest::newRow("flag") << u"\U0001F1E9\U0001F1EA"_s << QList<qsizetype>{0, 4};
        QTest::newRow("flags after emoji")
            << u"\U0001F600\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7\U0001F1EB"_s
            << QList<qsizetype>{0, 2, 6, 10, 12};
        QTest::newRow("cr lf") << u"a\r\nb"_s << QList<qsizetype>{0, 1, 3, 4};
        QTest::newRow("lone cr") << u"\ra"_s << QList<qsizetype>{0, 1, 2};
        QTest::newRow("family") << u"\U0001F468\u200D\U0001F469\u200D\U0001F467!"_s
                                << QList<qsizetype>{0, 8, 9};
    }
    void boundaries_keepClustersWhole() {
        QFETCH(QString, text);
        QFETCH(QList<qsizetype>, expected);
        QCOMPARE(graphemeBoundaries(text), Bounds(expected.begin(), expected.end()));
    }

    // The one-unit-per-character shortcut must give what the boundary finder gives.
    void fastPath_agreesWithBoundaryFinder() {
        QString text;
        for (char16_t c = 1; c < 0x300; ++c) {
            if (c != u'\r') {
                text += QChar(c);
                text += u'a';
                text += QChar(c);
            }
        }
        Bounds reference{0};
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
        for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
            reference.push_back(at);
        }
        QCOMPARE(graphemeBoundaries(text), reference);
        QCOMPARE(qsizetype(reference.size()), text.size() + 1);
    }
};

QTEST_APPLESS_MAIN(TestGraphemes)
#include "tst_graphemes.moc"
