// Usage messages quote what the user typed; whatever that holds, the message stays one
// line, with control characters spelled out.
#include "cli/CommandLine.h"

#include <QTest>

using namespace tintwave;

class UsageMessagesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void usageError_controlCharactersInArgument_staySpelledOutOnOneLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown option with CR")
            << QStringList{"--oub\rqm"} << "Unknown option 'oub\\u000dqm'.";
        QTest::newRow("face with LF")
            << QStringList{"--face", "a\n<b"} << "--face must not contain \", < or >: a\\u000a<b";
        QTest::newRow("size with line separator")
            << QStringList{"--size", QStringView(u"+1\u2028").toString()}
            << "--size '+1\\u2028' is not one of None, +1, +2, +3, +4, -1, -2, -3, -4, +5, +6, "
               "+7, -5, -6, -7";
        QTest::newRow("positional with escape and DEL")
            << QStringList{QStringView(u"\x1b[2J\x7f").toString()}
            << "unexpected argument '\\u001b[2J\\u007f' (give the text with --text)";
    }
    void usageError_controlCharactersInArgument_staySpelledOutOnOneLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const cli::ParseResult r = cli::parseArguments(QStringList{"tintwave-cli"} + arguments);
        QCOMPARE(r.error, error);
    }

    void parse_controlCharactersInValues_reachTheOptionsUnchanged() {
        const cli::ParseResult r =
            cli::parseArguments({"tintwave-cli", "--text", "a\r\nb\x01", "--face", "Times\tNew"});
        QVERIFY(r.ok());
        QCOMPARE(r.options.text, QString("a\r\nb\x01"));
        QCOMPARE(r.options.style.face, QString("Times\tNew"));
    }
};

QTEST_GUILESS_MAIN(UsageMessagesTest)
#include "tst_usagemessages.moc"
