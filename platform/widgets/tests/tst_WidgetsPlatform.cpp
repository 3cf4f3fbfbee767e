#include "platform/widgets/QtColor.h"
#include "platform/widgets/QtDesktop.h"
#include "platform/widgets/QtDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace tintwave;
using namespace tintwave::platform;

namespace {

// Runs act on the next modal dialog once it is open (the code under test blocks in exec()).
void whenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

} // namespace

class TestWidgetsPlatform : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void colorConversion_roundTripsRedInTheLowByte() {
        const QColor c = toQColor(0xAF000A);
        QCOMPARE(c, QColor(10, 0, 175));
        QCOMPARE(fromQColor(QColor(255, 128, 0)), 33023);
    }

    void systemColors_resolveFromTheApplicationPalette() {
        const QPalette saved = QApplication::palette();
        QPalette p = saved;
        p.setColor(QPalette::Button, QColor(1, 2, 3));
        p.setColor(QPalette::Base, QColor(4, 5, 6));
        p.setColor(QPalette::Window, QColor(7, 8, 9));
        QApplication::setPalette(p);
        QtSystemColors colors;
        QCOMPARE(colors.resolve(kButtonFace), 0x030201);
        QCOMPARE(colors.resolve(kWindowBackground), 0x060504);
        QCOMPARE(colors.resolve(-1), 0x090807);
        QCOMPARE(colors.resolve(0x123456), 0x123456);
        QApplication::setPalette(saved);
    }

    void message_hasTitleTextOneOkButtonAndNoIcon() {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::Warning;
        qsizetype buttons = 0;
        whenModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->buttons().size();
            box->button(QMessageBox::Ok)->click();
        });
        QtMessageDisplay().show(QStringLiteral("You must type something."),
                                QStringLiteral("Tintwave"));
        QCOMPARE(title, QStringLiteral("Tintwave"));
        QCOMPARE(text, QStringLiteral("You must type something."));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons, 1);
    }

    void inputPrompt_returnsTypedTextOrEmptyOnCancel() {
        QString label;
        whenModal([&](QWidget* w) {
            auto* dlg = qobject_cast<QInputDialog*>(w);
            QVERIFY(dlg);
            label = dlg->labelText();
            dlg->setTextValue(QStringLiteral("  my scheme "));
            dlg->accept();
        });
        QtInputPrompt prompt;
        QCOMPARE(prompt.getText(QStringLiteral("Name?"), QStringLiteral("Tintwave"), {}),
                 QStringLiteral("  my scheme "));
        QCOMPARE(label, QStringLiteral("Name?"));

        whenModal([](QWidget* w) {
            static_cast<QDialog*>(w)->findChild<QLineEdit*>()->setText(QStringLiteral("x"));
            static_cast<QDialog*>(w)->reject();
        });
        QCOMPARE(prompt.getText(QStringLiteral("Name?"), QStringLiteral("Tintwave"), {}),
                 QString());
    }

    void colorDialog_opensOnCurrentColourAndReportsCancelAsNothing() {
        QColor initial;
        whenModal([&](QWidget* w) {
            auto* dlg = qobject_cast<QColorDialog*>(w);
            QVERIFY(dlg);
            initial = dlg->currentColor();
            dlg->setCurrentColor(QColor(0, 8, 255));
            dlg->accept();
        });
        QtColorDialog dialog;
        QCOMPARE(dialog.pickColor(0x00FF00), std::optional<ColorValue>(0xFF0800));
        QCOMPARE(initial, QColor(0, 255, 0));

        whenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        QCOMPARE(dialog.pickColor(kButtonFace), std::nullopt);
    }

    void saveDialog_proposesTheNameAndFilter_cancelGivesNothing() {
        const QString dir = QDir::currentPath();
        QString proposed, filter;
        whenModal([&](QWidget* w) {
            auto* dlg = qobject_cast<QFileDialog*>(w);
            QVERIFY(dlg);
            auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            proposed = edit->text();
            filter = dlg->selectedNameFilter();
            edit->setText(QStringLiteral("page.html"));
            static_cast<QDialog*>(dlg)->accept();
        });
        QtSaveDialog dialog;
        const auto path =
            dialog.getSaveFileName(QStringLiteral("index.html"), "HTML Files (*.html *.htm)");
        QCOMPARE(proposed, QStringLiteral("index.html"));
        QCOMPARE(filter, QStringLiteral("HTML Files (*.html *.htm)"));
        QCOMPARE(path, std::optional<QString>(dir + QStringLiteral("/page.html")));

        whenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        QCOMPARE(dialog.getSaveFileName(QStringLiteral("index.html"), {}), std::nullopt);
    }

    void clipboard_holdsThePlainText() {
        QtClipboard().setText(QStringLiteral("<font color=\"#FF0000\">H</font>"));
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("<font color=\"#FF0000\">H</font>"));
    }
};

QTEST_MAIN(TestWidgetsPlatform)
#include "tst_WidgetsPlatform.moc"
