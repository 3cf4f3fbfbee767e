#include "app/Form6.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace tintwave::app;

class TestForm6 : public QObject {
    Q_OBJECT

    QWidget mainWindow;
    std::unique_ptr<Form6> dialog;
    QList<int> removed;

    QListWidget* list() const { return dialog->findChild<QListWidget*>("remove"); }
    QPushButton* button(int index) const {
        return dialog->findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(index));
    }
    void clickLine(int row, bool twice = false) {
        const QPoint at = list()->visualItemRect(list()->item(row)).center();
        if (twice)
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    }

private Q_SLOTS:
    void initTestCase() {
        mainWindow.setGeometry(100, 80, 482, 365);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    }
    void init() {
        removed.clear();
        dialog = std::make_unique<Form6>(
            QStringList{"Warm", "", "Warm"}, [this](int n) { removed << n; }, &mainWindow);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    void cleanup() { dialog.reset(); }

    void opens_withTheTitlesInOrderNothingSelectedAndRemoveDisabled() {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Remove Scheme"));
        QCOMPARE(dialog->size(), QSize(196, 162));
        QVERIFY(!(dialog->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(dialog->windowFlags() & Qt::WindowMaximizeButtonHint));
        // Centred on the main window, up to the halving of odd sizes.
        const QPoint offset =
            dialog->frameGeometry().center() - mainWindow.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 1,
                 qPrintable(QString::number(offset.manhattanLength())));
        QCOMPARE(list()->count(), 3);
        QCOMPARE(list()->item(0)->text(), QStringLiteral("Warm"));
        QCOMPARE(list()->item(1)->text(), QString());
        QCOMPARE(list()->item(2)->text(), QStringLiteral("Warm"));
        QVERIFY(list()->selectedItems().isEmpty());
        QCOMPARE(button(0)->text(), QStringLiteral("Remove"));
        QCOMPARE(button(1)->text(), QStringLiteral("Cancel"));
        QVERIFY(button(0)->isDefault());
        QVERIFY(!button(0)->isEnabled());
    }

    void enterWithNothingSelected_removesNothingAndStaysOpen() {
        QTest::keyClick(list(), Qt::Key_Return);
        QVERIFY(removed.isEmpty());
        QVERIFY(dialog->isVisible());
    }

    void removeAfterSelectingALine_removesThatSchemeNumberAndCloses_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("second line, button") << 1 << false;
        QTest::newRow("third line, Enter") << 2 << true;
        QTest::newRow("first line, button") << 0 << false;
    }
    void removeAfterSelectingALine_removesThatSchemeNumberAndCloses() {
        QFETCH(int, row);
        QFETCH(bool, byEnter);
        clickLine(row);
        QVERIFY(button(0)->isEnabled());
        if (byEnter)
            QTest::keyClick(list(), Qt::Key_Return);
        else
            QTest::mouseClick(button(0), Qt::LeftButton);
        QCOMPARE(removed, QList<int>{row + 1});
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(!dialog->isVisible());
    }

    void cancelEscapeAndClose_removeNothing_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void cancelEscapeAndClose_removeNothing() {
        QFETCH(int, way);
        clickLine(1);
        if (way == 0)
            QTest::mouseClick(button(1), Qt::LeftButton);
        else if (way == 1)
            QTest::keyClick(list(), Qt::Key_Escape);
        else
            dialog->close();
        QVERIFY(removed.isEmpty());
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }

    void doubleClick_onlySelects() {
        clickLine(2, true);
        QCOMPARE(list()->selectedItems(), QList<QListWidgetItem*>{list()->item(2)});
        QVERIFY(removed.isEmpty());
        QVERIFY(dialog->isVisible());
    }
};

QTEST_MAIN(TestForm6)
#include "tst_Form6.moc"
