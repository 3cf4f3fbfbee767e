#include "app/TextStore.h"

#include <QTest>
#include <algorithm>

using tintwave::app::TextStore;
using namespace Qt::StringLiterals;

class TestTextStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void packed_readsBackExactly_acrossBlocksPairsAndBreaks_data() {
        QTest::addColumn<QString>("text");
        const QString filler(4094, u'a');
        QTest::newRow("CRLF over a block edge, LF") << filler + u"x\r\nb"_s + filler + u"\n"_s;
        QTest::newRow("pair over a block edge") << filler + u"x😀😀"_s + filler;
        QTest::newRow("€ shares a lead byte with U+2028") << QString(9000, u'€') + QChar(0x2028);
        QTest::newRow("byte-order mark starting a block") << QString(4096, u'a') + QChar(0xFEFF);
        QTest::newRow("lone surrogate kept") << filler + QChar(0xD800) + u"z\u2029"_s + filler;
    }
    void packed_readsBackExactly_acrossBlocksPairsAndBreaks() {
        QFETCH(QString, text);
        TextStore store;
        for (qsizetype at = 0, n; at < text.size(); at += n) { // pieces keep pairs whole
            n = std::min<qsizetype>(1000, text.size() - at);
            n += text[at + n - 1].isHighSurrogate() ? 1 : 0;
            store.append(QStringView(text).sliced(at, n));
        }
        QCOMPARE(store.size(), text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            QCOMPARE(store.at(i), text[i]);
        }
        for (qsizetype from = 0; from <= text.size(); from += 251) {
            QCOMPARE(store.mid(from, 4500), text.mid(from, 4500));
            const auto br = std::find_if(text.begin() + from, text.end(), [](QChar c) {
                return c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029);
            });
            QCOMPARE(store.nextLineBreak(from), br - text.begin());
        }
        QCOMPARE(store.toString(), text);
        QCOMPARE(store.mid(4090, 20), text.mid(4090, 20)); // unpacked, the same text
    }
};

QTEST_APPLESS_MAIN(TestTextStore)
#include "tst_textstore.moc"
