#include "app/Form3.h"
#include "platform/memory/MemoryPlatform.h"

#include <QLabel>
#include <QTest>
#include <memory>

using namespace tintwave;
using namespace tintwave::app;

class TestForm3 : public QObject {
    Q_OBJECT
    platform::RecordingUrlOpener urls;
    QWidget main;
    std::unique_ptr<Form3> form;

    QLabel* label(int index) const {
        return form->findChild<QLabel*>(QStringLiteral("Label1(%1)").arg(index));
    }

private Q_SLOTS:
    void init() {
        urls.opened.clear();
        main.hide();
        main.setGeometry(100, 80, 482, 365);
        form = std::make_unique<Form3>(&main, urls);
    }
    void cleanup() { form.reset(); }

    void window_isAFramelessToolWithTheFourLabels() {
        QCOMPARE(form->size(), QSize(306, 147)); // s = 3: 3 x 1530 = 4590 x 2205 twips
        QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QStringList labels;
        for (int i = 0; i < 4; ++i) {
            const QLabel* l = label(i);
            labels << QStringLiteral("%1 | %2 %3 | %4,%5")
                          .arg(l->text(), l->font().family())
                          .arg(l->font().pointSizeF())
                          .arg(l->x())
                          .arg(l->y());
        }
        QCOMPARE(labels, QStringList({"Tintwave | Times New Roman 18 | 18,23",
                                      "Gradient text for the web | Times New Roman 14.25 | 21,59",
                                      "hello@tintwave.example | Times New Roman 14.25 | 62,86",
                                      "https://tintwave.example/ | Times New Roman 12 | 15,108"}));
    }

    // Step i lies at 3 * (i - 3) twips, pixel round((i - 3) / 5): column c receives steps
    // 5c + 1 .. 5c + 5 and keeps the colour of step 5c + 5.
    void rainbow_columnHoldsTheLastStepDrawnIntoIt_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QColor>("color");
        QTest::newRow("0: step 5") << 0 << QColor(255, 5, 0);
        QTest::newRow("50: step 255, yellow") << 50 << QColor(255, 255, 0);
        QTest::newRow("51: step 260") << 51 << QColor(250, 255, 0);
        QTest::newRow("101: step 510, green") << 101 << QColor(0, 255, 0);
        QTest::newRow("102: step 515") << 102 << QColor(0, 255, 5);
        QTest::newRow("153: step 770") << 153 << QColor(0, 250, 255);
        QTest::newRow("203: step 1020, blue") << 203 << QColor(0, 0, 255);
        QTest::newRow("255: step 1280") << 255 << QColor(255, 0, 250);
        QTest::newRow("305: step 1530, red") << 305 << QColor(255, 0, 0);
    }
    void rainbow_columnHoldsTheLastStepDrawnIntoIt() {
        QFETCH(int, column);
        QFETCH(QColor, color);
        const QImage image = form->rainbow().toImage();
        QCOMPARE(image.pixelColor(column, 0), color);
        QCOMPARE(image.pixelColor(column, image.height() - 1), color);
    }

    void show_centresDesignedWidthOverMainWindow_eachTime() {
        form->show();
        // 482 / 2 - 331 / 2 + 100 = 175.5, 365 / 2 - 147 / 2 + 80 = 189
        QCOMPARE(form->pos(), QPoint(176, 189));
        form->hide();
        main.move(300, 10);
        form->show();
        QCOMPARE(form->pos(), QPoint(376, 119));
    }

    void input_closesAndShowsMainWindowExceptWebAddressAndKeys_data() {
        QTest::addColumn<int>("target"); // a label, -1 the background, -2 keys, -3 close box
        QTest::addColumn<bool>("staysOpen");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("background") << -1 << false << QStringList();
        QTest::newRow("product name") << 0 << false << QStringList();
        QTest::newRow("e-mail") << 2 << false << QStringList();
        QTest::newRow("web address") << 3 << true << QStringList{Form3::kWebAddress};
        QTest::newRow("Escape, Enter, Space, A") << -2 << true << QStringList();
        QTest::newRow("closed by the window manager") << -3 << false << QStringList();
    }
    void input_closesAndShowsMainWindowExceptWebAddressAndKeys() {
        QFETCH(int, target);
        QFETCH(bool, staysOpen);
        QFETCH(QStringList, opened);
        form->show();
        if (target >= 0)
            QTest::mouseClick(label(target), Qt::LeftButton, {}, QPoint(5, 5));
        else if (target == -1)
            QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(300, 140));
        else if (target == -2)
            for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_A})
                QTest::keyClick(form.get(), key);
        else
            form->close();
        QCOMPARE(form->isVisible(), staysOpen);
        QCOMPARE(main.isVisible(), !staysOpen);
        QCOMPARE(urls.opened, opened);
    }
};

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"
