#include "platform/widgets/QtColor.h"
#include "platform/widgets/QtDesktop.h"
#include "platform/widgets/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace tintwave;
using namespace tintwave::platform;

namespace {

// Runs act on the next modal dialog once it is open (the code under test blocks in exec()).
void whenModal(std::function<void(QDialog*)> act) {
    QTimer::singleShot(10, [act] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            act(dialog);
        else
            whenModal(act);
    });
}

} // namespace

class TestWidgetsPlatform : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void colors_redInTheLowByte_systemReferencesFromTheAppPalette() {
        QCOMPARE(toQColor(0xAF000A), QColor(10, 0, 175));
        QCOMPARE(fromQColor(QColor(255, 128, 0)), 33023);

        const QPalette saved = QApplication::palette();
        QPalette p = saved;
        p.setColor(QPalette::Button, QColor(1, 2, 3));
        p.setColor(QPalette::Base, QColor(4, 5, 6));
        p.setColor(QPalette::Window, QColor(7, 8, 9));
        QApplication::setPalette(p);
        const QtSystemColors colors;
        const QList<ColorValue> resolved{colors.resolve(kButtonFace),
                                         colors.resolve(kWindowBackground), colors.resolve(-1),
                                         colors.resolve(0x123456)};
        QApplication::setPalette(saved);
        QCOMPARE(resolved, (QList<ColorValue>{0x030201, 0x060504, 0x090807, 0x123456}));
    }

    void message_hasTitleTextOneOkButtonAndNoIcon() {
        QString seen;
        whenModal([&](QDialog* d) {
            auto* box = qobject_cast<QMessageBox*>(d);
            seen = QStringLiteral("%1|%2|%3|%4")
                       .arg(box->windowTitle(), box->text())
                       .arg(box->icon())
                       .arg(box->buttons().size());
            box->accept();
        });
        QtMessageDisplay().show(QStringLiteral("You must type something."), "Tintwave");
        QCOMPARE(seen, QStringLiteral("Tintwave|You must type something.|0|1"));
    }

    // Each dialog opens on what it is given and returns what the user chose; the input box
    // returns nothing when cancelled after typing.
    void dialogs_showTheProposalAndReturnTheAnswer() {
        QStringList seen;
        whenModal([&](QDialog* d) {
            seen << qobject_cast<QInputDialog*>(d)->labelText();
            d->findChild<QLineEdit*>()->setText(QStringLiteral("  my scheme "));
            d->accept();
        });
        QCOMPARE(QtInputPrompt().getText("Name?", "Tintwave", {}), QStringLiteral("  my scheme "));
        whenModal([](QDialog* d) {
            d->findChild<QLineEdit*>()->setText(QStringLiteral("x"));
            d->reject();
        });
        QCOMPARE(QtInputPrompt().getText("Name?", "Tintwave", {}), QString());
        whenModal([&](QDialog* d) {
            seen << qobject_cast<QColorDialog*>(d)->currentColor().name();
            qobject_cast<QColorDialog*>(d)->setCurrentColor(QColor(0, 8, 255));
            d->accept();
        });
        QCOMPARE(QtColorDialog().pickColor(0x00FF00), std::optional<ColorValue>(0xFF0800));
        whenModal([&](QDialog* d) {
            auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            seen << edit->text() + '|' + qobject_cast<QFileDialog*>(d)->selectedNameFilter();
            edit->setText(QStringLiteral("page.html"));
            d->accept();
        });
        QCOMPARE(QtSaveDialog().getSaveFileName("index.html", "HTML Files (*.html *.htm)"),
                 std::optional<QString>(QDir::currentPath() + QStringLiteral("/page.html")));
        QCOMPARE(seen, (QStringList{"Name?", "#00ff00", "index.html|HTML Files (*.html *.htm)"}));
    }
};

QTEST_MAIN(TestWidgetsPlatform)
#include "tst_WidgetsPlatform.moc"
