#include "platform/widgets/QtColor.h"
#include "platform/widgets/QtDesktop.h"
#include "platform/widgets/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
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
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            act(dialog);
        } else {
            whenModal(act);
        }
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

    void message_hasTitleTextOneOkButtonAndTheIconAsked() {
        QStringList seen;
        for (const auto icon : {QtMessageDisplay::Icon::None, QtMessageDisplay::Icon::Warning}) {
            whenModal([&](QDialog* d) {
                auto* box = qobject_cast<QMessageBox*>(d);
                seen << QStringLiteral("%1|%2|%3|%4")
                            .arg(box->windowTitle(), box->text())
                            .arg(box->icon())
                            .arg(box->buttons().size());
                box->accept();
            });
            QtMessageDisplay().show(QStringLiteral("Hint"), "Tintwave", icon);
        }
        QCOMPARE(seen, QStringList({"Tintwave|Hint|0|1", "Tintwave|Hint|2|1"}));
    }

    // The input box shows the prompt and returns the text as typed, empty text too, or
    // nothing when it is cancelled after typing; the colour dialog opens on the current
    // colour.
    void dialogs_showWhatTheyAreGivenAndReturnTheAnswer() {
        QStringList seen;
        QList<std::optional<QString>> answers;
        for (const QString typed : {"  my scheme ", "", "  my scheme "}) {
            const bool accept = answers.size() < 2;
            whenModal([&](QDialog* d) {
                seen << qobject_cast<QInputDialog*>(d)->labelText();
                d->findChild<QLineEdit*>()->setText(typed);
                accept ? d->accept() : d->reject();
            });
            answers << QtInputPrompt().getText("Name?", "Tintwave", {});
        }
        QCOMPARE(answers, (QList<std::optional<QString>>{"  my scheme ", "", std::nullopt}));
        whenModal([&](QDialog* d) {
            seen << qobject_cast<QColorDialog*>(d)->currentColor().name();
            qobject_cast<QColorDialog*>(d)->setCurrentColor(QColor(0, 8, 255));
            d->accept();
        });
        QCOMPARE(QtColorDialog().pickColor(0x00FF00), std::optional<ColorValue>(0xFF0800));
        QCOMPARE(seen, (QStringList{"Name?", "Name?", "Name?", "#00ff00"}));
    }
};

QTEST_MAIN(TestWidgetsPlatform)
#include "tst_widgetsplatform.moc"
