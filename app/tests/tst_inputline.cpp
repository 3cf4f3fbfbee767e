#include "app/InputLine.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>

using tintwave::app::InputLine;
using namespace Qt::StringLiterals;

namespace {

// A million UTF-16 units of words, emoji with skin tones, flags and Arabic.
QString millionMixed() {
    static const QString pattern =
        u"Grüße, quick brown fox 👋🏽 مرحبا بالعالم 🇩🇪 jumps over 👍🏿 🇯🇵 السلام عليكم. "_s;
    QString text;
    while (text.size() < 1'000'000) {
        text += pattern;
    }
    text.truncate(1'000'000);
    if (text.back().isHighSurrogate()) {
        text.back() = u'x';
    }
    return text;
}

// The row's text with {mix} standing for the million.
QString expand(QString text) {
    return text.contains(u"{mix}"_s) ? text.replace(u"{mix}"_s, millionMixed()) : text;
}

// Plays keys on a box: tokens split by '|', a key sequence such as "Ctrl+Left", or text to
// type after '>'.
void play(QWidget* box, const QString& keys) {
    for (const QString& token : keys.split(u'|', Qt::SkipEmptyParts)) {
        if (token.startsWith(u'>')) {
            for (const QString& c : token.mid(1).split(QString(), Qt::SkipEmptyParts)) {
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, c, Qt::NoModifier);
            }
        } else {
            const QKeyCombination key = QKeySequence::fromString(token)[0];
            QVERIFY2(key.key() != Qt::Key_unknown, qPrintable(token));
            QTest::keyClick(box, key.key(), key.keyboardModifiers());
        }
    }
}

// The box drawn, without focus (so without a blinking caret).
QImage look(QWidget* box) {
    return box->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestInputLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each row runs on the line with QLineEdit in charge (texts short and without line
    // breaks) and with its own editor in charge of every text, which must agree.
    void editing_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caret"); // negative: from the end
        QTest::addColumn<int>("anchor");
        const auto row = [](const char* name, const QString& text, const QString& keys,
                            const QString& expected, int caret, int anchor) {
            QTest::newRow(name) << text << keys << expected << caret << anchor;
        };
        row("typing at the end", u"Hello"_s, u"End|>, you"_s, u"Hello, you"_s, 10, 10);
        row("typing at the start", u"Hello"_s, u"Home|>¡Ä"_s, u"¡ÄHello"_s, 2, 2);
        row("backspace takes the skin tone first", u"a👍🏽"_s, u"End|Backspace"_s, u"a👍"_s, 3,
            3);
        row("delete takes a flag whole", u"🇩🇪x"_s, u"Home|Delete"_s, u"x"_s, 0, 0);
        row("right steps over an emoji with its tone", u"👍🏽x"_s, u"Home|Right|>-"_s,
            u"👍🏽-x"_s, 5, 5);
        row("shift+left selects", u"abc"_s, u"End|Shift+Left"_s, u"abc"_s, 2, 3);
        row("typing replaces the selection", u"abc"_s, u"End|Shift+Left|Shift+Left|>Z"_s, u"aZ"_s,
            2, 2);
        row("left from a selection steps from the caret", u"abcd"_s,
            u"End|Shift+Left|Shift+Left|Left"_s, u"abcd"_s, 1, 1);
        row("Ctrl+A and typing", u"abc def"_s, u"Ctrl+A|>x"_s, u"x"_s, 1, 1);
        row("word left", u"hello world"_s, u"End|Ctrl+Left|>X"_s, u"hello Xworld"_s, 7, 7);
        row("word right selecting", u"hello, world"_s, u"Home|Ctrl+Shift+Right"_s,
            u"hello, world"_s, 5, 0);
        row("Ctrl+Backspace removes a word", u"hello world"_s, u"End|Ctrl+Backspace"_s, u"hello "_s,
            6, 6);
        row("Ctrl+Delete removes a word", u"hello world"_s, u"Home|Ctrl+Delete"_s, u"world"_s, 0,
            0);
        row("undo takes back the typing", u"ab"_s, u"End|>cd|Ctrl+Z"_s, u"ab"_s, 2, 2);
        row("redo gives it again", u"ab"_s, u"End|>cd|Ctrl+Z|Ctrl+Shift+Z"_s, u"abcd"_s, 4, 4);
        row("cut, paste twice", u"abc"_s, u"Ctrl+A|Ctrl+X|Ctrl+V|Ctrl+V"_s, u"abcabc"_s, 6, 6);
        row("copy, end, paste", u"ab"_s, u"Ctrl+A|Ctrl+C|End|Ctrl+V"_s, u"abab"_s, 4, 4);
        row("Arabic: Home is the start, Ctrl+Left the next word", u"مرحبا بالعالم"_s,
            u"Home|Ctrl+Left|>X"_s, u"مرحبا Xبالعالم"_s, 7, 7);
        row("Arabic: Right steps back", u"مرحبا"_s, u"End|Right|>X"_s, u"مرحبXا"_s, 5, 5);
        row("CR LF is one step", u"a\r\nb"_s, u"Home|Right|Right|>X"_s, u"a\r\nXb"_s, 4, 4);
        row("1,000,000 characters: typing at the end", u"{mix}"_s, u"End|>!"_s, u"{mix}!"_s, -1,
            -1);
        row("1,000,000 characters: Delete at the start", u"ab{mix}"_s, u"Home|Delete"_s,
            u"b{mix}"_s, 0, 0);
        row("1,000,000 characters: cut all, undo", u"{mix}"_s, u"Ctrl+A|Ctrl+X|Ctrl+Z"_s,
            u"{mix}"_s, -1, 0);
        row("1,000,000 characters: word left from the end", u"{mix} last word"_s,
            u"End|Ctrl+Left|>^"_s, u"{mix} last ^word"_s, -5, -5);
    }
    void editing() {
        QFETCH(QString, text);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        QFETCH(int, caret);
        QFETCH(int, anchor);
        text = expand(text);
        expected = expand(expected);
        for (const qsizetype longLength : {InputLine::kLongLength, qsizetype(0)}) {
            InputLine box(nullptr, longLength);
            box.setText(text);
            play(&box, keys);
            const QByteArray editor = box.editsOwnText() ? "own editor" : "QLineEdit";
            QVERIFY2(box.text() == expected, editor + ": " + box.text().left(40).toUtf8());
            QCOMPARE(box.caret(), caret < 0 ? expected.size() + 1 + caret : caret);
            QCOMPARE(box.anchor(), anchor < 0 ? expected.size() + 1 + anchor : anchor);
        }
    }

    // A long paste goes to the own editor before QLineEdit sees it, and undo brings back
    // the short text the paste replaced.
    void longPaste_data() {
        QTest::addColumn<QString>("pasted");
        QTest::newRow("1,000,000 characters") << millionMixed();
        QTest::newRow("a line break") << u"two\nlines"_s;
    }
    void longPaste() {
        QFETCH(QString, pasted);
        InputLine box;
        box.setText(u"ab"_s);
        play(&box, u"End|Left"_s);
        QGuiApplication::clipboard()->setText(pasted);
        play(&box, u"Ctrl+V"_s);
        QVERIFY(box.editsOwnText());
        QCOMPARE(box.text(), u"a"_s + pasted + u"b"_s);
        QCOMPARE(box.QLineEdit::text(), QString()); // never held there
        play(&box, u"Ctrl+Z"_s);
        QCOMPARE(box.text(), u"ab"_s);
        QCOMPARE(box.caret(), 1);
        play(&box, u"Ctrl+Shift+Z"_s);
        QCOMPARE(box.text(), u"a"_s + pasted + u"b"_s);
    }

    // QLineEdit's context menu, its entries acting on whichever editor holds the text.
    void contextMenu_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("entries"); // to trigger, by their order in the menu
        QTest::addColumn<QString>("expected");
        QTest::newRow("QLineEdit: select all, cut")
            << u"abc"_s << QString() << u"6 2"_s << QString();
        QTest::newRow("own editor: select all, cut, undo")
            << u"a\nb"_s << QString() << u"6 2 0"_s << u"a\nb"_s;
        QTest::newRow("own editor: delete a selection")
            << u"a\nbc"_s << u"End|Shift+Left"_s << u"5"_s << u"a\nb"_s;
        // The 26th paste passes the 50 characters QLineEdit keeps here.
        QTest::newRow("pasting past QLineEdit's length from the menu")
            << u"ab"_s << u"Ctrl+A|Ctrl+C"_s << QString(30, u'4') << u"ab"_s.repeated(30);
    }
    void contextMenu() {
        QFETCH(QString, text);
        QFETCH(QString, keys);
        QFETCH(QString, entries);
        QFETCH(QString, expected);
        InputLine box(nullptr, 50);
        box.setText(text);
        play(&box, keys);
        for (const QChar entry : entries.remove(u' ')) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    box.mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(&box, &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QList<QAction*> items;
            for (QAction* a : menu->actions()) {
                if (!a->isSeparator() && !a->menu()) {
                    items.append(a);
                }
            }
            items[entry.digitValue()]->trigger();
            menu->close();
        }
        QCOMPARE(box.text(), expected);
    }

    // The own editor draws as QLineEdit does, so that a text looks the same whichever holds
    // it; a line break is the one thing it shows otherwise.
    void looks_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("lineEditText"); // what QLineEdit is given to compare
        QTest::addColumn<bool>("same");
        QTest::newRow("plain words") << u"Hello, world"_s << QString() << u"Hello, world"_s << true;
        QTest::newRow("selection")
            << u"Hello, world"_s << u"Home|Shift+Right|Shift+Right"_s << u"Hello, world"_s << true;
        QTest::newRow("emoji and flags")
            << u"a 👋🏽 🇩🇪 b"_s << QString() << u"a 👋🏽 🇩🇪 b"_s << true;
        QTest::newRow("Arabic, right-aligned")
            << u"مرحبا بالعالم"_s << QString() << u"مرحبا بالعالم"_s << true;
        QTest::newRow("longer than the box, caret at the end")
            << QString(200, u'w') + u" end"_s << u"End"_s << QString(200, u'w') + u" end"_s << true;
        // A tail that starts, as the whole, left to right.
        const QString tail = millionMixed().mid(millionMixed().lastIndexOf(u"Grüße"_s, -200));
        QTest::newRow("1,000,000 characters, the end as a tail shows it")
            << millionMixed() << u"End"_s << tail << true;
        QTest::newRow("a line break is marked") << u"a\nb"_s << QString() << u"a b"_s << false;
    }
    void looks() {
        QFETCH(QString, text);
        QFETCH(QString, keys);
        QFETCH(QString, lineEditText);
        QFETCH(bool, same);
        InputLine own(nullptr, 0);
        QLineEdit plain;
        for (QLineEdit* box : {static_cast<QLineEdit*>(&own), &plain}) {
            box->setFixedSize(351, 25);
            box->setFont(QFont(u"DejaVu Sans"_s, 10));
        }
        own.setText(text);
        plain.setText(lineEditText);
        for (QLineEdit* box : {static_cast<QLineEdit*>(&own), &plain}) {
            play(box, keys);
            // Keys make QLineEdit show its caret even without focus; a window losing the
            // focus hides it and keeps the selection.
            QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
            QApplication::sendEvent(box, &out);
        }
        QVERIFY(own.editsOwnText());
        QCOMPARE(look(&own) == look(&plain), same);
    }
};

QTEST_MAIN(TestInputLine)
#include "tst_inputline.moc"
