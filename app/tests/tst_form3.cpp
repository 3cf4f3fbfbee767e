#include "app/Form3.h"
#include "platform/memory/MemoryPlatform.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace tintwave;
using namespace tintwave::app;
using namespace Qt::StringLiterals;

namespace {

// The colour of rainbow step i, written out from the six ranges.
QColor stepColor(int i) {
    if (i <= 255)
        return QColor(255, i, 0);
    if (i <= 510)
        return QColor(510 - i, 255, 0);
    if (i <= 765)
        return QColor(0, 255, i - 510);
    if (i <= 1020)
        return QColor(0, 1020 - i, 255);
    if (i <= 1275)
        return QColor(i - 1020, 0, 255);
    return QColor(255, 0, 1530 - i);
}

QLabel* label(Form3& form, int index) {
    return form.findChild<QLabel*>(u"Label1(%1)"_s.arg(index));
}

} // namespace

class TestForm3 : public QObject {
    Q_OBJECT
    platform::RecordingUrlOpener urls;

private Q_SLOTS:
    void init() { urls.opened.clear(); }

    void geometry_narrowedToStepTimes1530Twips() {
        QWidget main;
        Form3 form(&main, urls);
        QCOMPARE(form.size(), QSize(306, 147)); // 4590 x 2205 twips, step 3
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    }

    void rainbow_columnHoldsTheLastStepDrawnIntoIt_data() {
        // Step i lies at 3 * (i - 3) twips, i.e. pixel round((i - 3) / 5): column c
        // receives steps 5c + 1 .. 5c + 5 and keeps the colour of step 5c + 5.
        QTest::addColumn<int>("column");
        for (int c : {0, 1, 50, 51, 101, 102, 152, 153, 203, 254, 255, 305})
            QTest::addRow("x=%d", c) << c;
    }
    void rainbow_columnHoldsTheLastStepDrawnIntoIt() {
        QFETCH(int, column);
        QWidget main;
        Form3 form(&main, urls);
        const QImage image = form.rainbow().toImage();
        const QColor expected = stepColor(5 * column + 5);
        QCOMPARE(image.pixelColor(column, 0), expected);
        QCOMPARE(image.pixelColor(column, image.height() - 1), expected);
    }

    void labels_timesNewRomanAtDesignedPlaces() {
        QWidget main;
        Form3 form(&main, urls);
        const QList<QRect> places = {
            {18, 23, 262, 27}, {21, 59, 260, 21}, {62, 86, 176, 21}, {15, 108, 255, 19}};
        const QList<qreal> sizes = {18, 14.25, 14.25, 12};
        const QStringList texts = {u"Tintwave"_s, QString::fromUtf8(Form3::kCreditLine),
                                   QString::fromUtf8(Form3::kEmail),
                                   QString::fromUtf8(Form3::kWebAddress)};
        for (int i = 0; i < 4; ++i) {
            QLabel* l = label(form, i);
            QVERIFY(l);
            // Place and height as designed; the width may grow to fit a wider face.
            QCOMPARE(l->pos(), places[i].topLeft());
            QCOMPARE(l->height(), places[i].height());
            QCOMPARE(l->width(), std::max(places[i].width(), l->sizeHint().width()));
            QCOMPARE(l->font().family(), u"Times New Roman"_s);
            QCOMPARE(l->font().pointSizeF(), sizes[i]);
            QCOMPARE(l->text(), texts[i]);
            QVERIFY(!l->autoFillBackground());
        }
    }

    void show_centresDesignedWidthOverMainWindow_eachTime() {
        QWidget main;
        main.setGeometry(100, 80, 482, 365);
        Form3 form(&main, urls);
        form.show();
        // 482 / 2 - 331 / 2 + 100 = 175.5, 365 / 2 - 147 / 2 + 80 = 189
        QCOMPARE(form.pos(), QPoint(176, 189));
        form.hide();

        main.move(300, 10);
        form.show();
        QCOMPARE(form.pos(), QPoint(376, 119));
    }

    void click_onBackgroundOrOtherLabel_closesAndShowsMainWindow_data() {
        QTest::addColumn<int>("labelIndex"); // -1 = the background
        QTest::newRow("background") << -1;
        QTest::newRow("product name") << 0;
        QTest::newRow("e-mail") << 2;
    }
    void click_onBackgroundOrOtherLabel_closesAndShowsMainWindow() {
        QFETCH(int, labelIndex);
        QWidget main;
        Form3 form(&main, urls);
        form.show();
        QVERIFY(!main.isVisible());
        QWidget* target = labelIndex < 0 ? static_cast<QWidget*>(&form) : label(form, labelIndex);
        QTest::mouseClick(target, Qt::LeftButton, {},
                          labelIndex < 0 ? QPoint(300, 140) : QPoint(3, 3));
        QVERIFY(!form.isVisible());
        QVERIFY(main.isVisible());
        QVERIFY(urls.opened.isEmpty());
    }

    void click_onWebAddress_opensItAndStaysOpen() {
        QWidget main;
        Form3 form(&main, urls);
        form.show();
        QTest::mouseClick(label(form, 3), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(urls.opened, QStringList{QString::fromUtf8(Form3::kWebAddress)});
        QVERIFY(form.isVisible());
        QVERIFY(!main.isVisible());
    }

    void keys_doNothing() {
        QWidget main;
        Form3 form(&main, urls);
        form.show();
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_A})
            QTest::keyClick(&form, key);
        QVERIFY(form.isVisible());
        QVERIFY(!main.isVisible());
    }

    void closedByWindowManager_stillShowsMainWindow() {
        QWidget main;
        Form3 form(&main, urls);
        form.show();
        form.close();
        QVERIFY(main.isVisible());
    }
};

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"
