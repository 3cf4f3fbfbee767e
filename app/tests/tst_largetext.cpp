// Long texts in the main window: the text box keeps them whole, and a long code goes to the
// read-only code view, from where Copy, Save and the size line take it whole.
#include "app/CodeView.h"
#include "app/tests/AppTestKit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

using namespace tintwave;
using namespace tintwave::app;
using namespace Qt::StringLiterals;

namespace {
// Every character one font tag of 30 code units; "Center" adds 17 around them.
constexpr qsizetype kTagLength = 30;
constexpr qsizetype kCenterLength = 17;

} // namespace

class TestLargeText : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::ScriptedPlatform> fake;
    std::unique_ptr<frmMain1> window;

    template <typename T = QWidget> T* find(const QString& name) const {
        return window->findChild<T*>(name);
    }
    void colorize(const QString& text) {
        find<QLineEdit>(u"txtInput"_s)->setText(text);
        QTest::mouseClick(find<QPushButton>(u"Command1"_s), Qt::LeftButton);
    }
    QString sizeLine() const { return find<QLabel>(u"lblCodeSize"_s)->text(); }
    // A text of length characters whose code (about 30 units each) is too long to edit.
    static QString longText(qsizetype length) { return QString(length - 1, u'a') + u'Z'; }

private Q_SLOTS:
    void init() {
        fake = std::make_unique<testing::ScriptedPlatform>();
        window = std::make_unique<frmMain1>(fake->services());
        palette::Palette p = palette::Palette::empty();
        p[0] = 0x0000FF;
        p[3] = 0xFF0000;
        window->setColors(p);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void textBox_keepsAndColorizesA100000CharacterTextWhole() {
        const QString text = longText(100'000);
        colorize(text);
        QCOMPARE(find<QLineEdit>(u"txtInput"_s)->text(), text);
        QCOMPARE(find<PreviewBox>(u"RTB1"_s)->toPlainText(), text);
        const QString code = window->codeText();
        QCOMPARE(code.size(), 100'000 * kTagLength + kCenterLength);
        QVERIFY(code.endsWith(u">Z</font></center>"_s));
        QCOMPARE(sizeLine(), u"3,000,017 characters"_s);
    }

    // Copy and Save take the long code whole; Save does not colorize again (the text box
    // has changed since), because the code box is not empty.
    void longCode_isShownReadOnlyAndCopiedAndSavedWhole() {
        colorize(longText(3'000));
        auto* view = find<CodeView>(u"Text2Large"_s);
        QVERIFY(view && view->isVisible());
        QVERIFY(!find<QPlainTextEdit>(u"Text2"_s)->isVisible());
        const QString code = view->toPlainText();
        QCOMPARE(code.size(), 3'000 * kTagLength + kCenterLength);
        QCOMPARE(sizeLine(), u"90,017 characters"_s);

        QTest::mouseClick(find<QPushButton>(u"Command3"_s), Qt::LeftButton);
        QCOMPARE(fake->clipboard.text, code);

        find<QLineEdit>(u"txtInput"_s)->setText(u"other"_s);
        fake->saveDialog.answers = {u"/out/long.html"_s};
        QTest::mouseClick(find<QPushButton>(u"Command8"_s), Qt::LeftButton);
        const QList<QByteArray> lines = fake->files.files.value(u"/out/long.html"_s).split('\n');
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines[5], code.toLatin1() + '\r');
        QVERIFY(fake->messages.shown.isEmpty());
    }

    void longCodeView_selectsAllAndCopiesWithTheKeyboard() {
        colorize(longText(3'000));
        auto* view = find<CodeView>(u"Text2Large"_s);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(view->selectionLength(), view->toPlainText().size());
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), view->toPlainText());
        // Scrolling to the end wraps the whole code; the last line holds its end.
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(view->verticalScrollBar()->value() > 0);
        QCOMPARE(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
    }

    // After a long code, a short one is editable again, and the edits are what Copy takes;
    // a run without colours clears the code and leaves the editable box.
    void shortCodeAfterLongOne_isEditableAgain() {
        colorize(longText(3'000));
        colorize(u"AB"_s);
        auto* box = find<QPlainTextEdit>(u"Text2"_s);
        QVERIFY(box->isVisible());
        QVERIFY(!find<CodeView>(u"Text2Large"_s)->isVisible());
        QCOMPARE(find<CodeView>(u"Text2Large"_s)->toPlainText(), QString());
        box->setPlainText(box->toPlainText() + u"<!-- mine -->"_s);
        QTest::mouseClick(find<QPushButton>(u"Command3"_s), Qt::LeftButton);
        QVERIFY(fake->clipboard.text.endsWith(u"</center><!-- mine -->"_s));
        QCOMPARE(sizeLine(), QString::number(fake->clipboard.text.size()) + u" characters"_s);

        colorize(longText(3'000));
        window->setColors(palette::Palette::empty());
        colorize(u"x"_s);
        QVERIFY(box->isVisible());
        QCOMPARE(window->codeText(), QString());
        QCOMPARE(sizeLine(), QString());
    }
};

QTEST_MAIN(TestLargeText)
#include "tst_largetext.moc"
