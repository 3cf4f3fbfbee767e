#include "app/Form3.h"
#include "app/Form6.h"
#include "app/frmMain1.h"
#include "app/tests/AppTestKit.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace tintwave;
using namespace tintwave::app;
using namespace tintwave::app::testing;

namespace {

constexpr ColorValue E = palette::gColor;
const QString kApp = QStringLiteral("tintwave");

// What the Remove Scheme dialog showed when it opened.
struct Form6State {
    QStringList lines;
    int selected = -2;
    bool removeEnabled = true;
};

Form6State readForm6(QWidget* dialog) {
    Form6State state;
    auto* list = dialog->findChild<QListWidget*>(QStringLiteral("remove"));
    for (int i = 0; i < list->count(); ++i)
        state.lines << list->item(i)->text();
    state.selected = int(list->selectedItems().size());
    state.removeEnabled =
        dialog->findChild<QPushButton*>(QStringLiteral("Command1(0)"))->isEnabled();
    return state;
}

void clickLine(QWidget* dialog, int row) {
    auto* list = dialog->findChild<QListWidget*>(QStringLiteral("remove"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

} // namespace

class TestUserSchemes : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPlatform> fake;
    std::unique_ptr<frmMain1> window;

    QStringList userEntries() const {
        QStringList entries;
        const QList<QAction*> items = window->findChild<QMenu*>("mnuSchemes")->actions();
        const qsizetype separator = items.indexOf(window->findChild<QAction*>("mnuSchemeArray(0)"));
        for (qsizetype i = separator + 1; i < items.size(); ++i)
            entries << items[i]->objectName() + QLatin1Char('=') + items[i]->text();
        return entries;
    }
    void addScheme(const QString& name, const palette::Palette& colors) {
        window->setColors(colors);
        fake->inputPrompt.answers = {name};
        window->findChild<QAction*>("mnuAdd")->trigger();
    }

private Q_SLOTS:
    void init() {
        fake = std::make_unique<ScriptedPlatform>();
        window = std::make_unique<frmMain1>(fake->services());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() {
        window.reset();
        fake.reset();
    }

    void add_storesTheWholePaletteAndAppendsAnEntry() {
        addScheme(QStringLiteral("Warm"), paletteOf({0, E, 255}));
        QCOMPARE(fake->inputPrompt.asked,
                 QStringList{"Please type the name for the scheme|Tintwave"});
        QStringList expected = {"save tintwave/general/numSchemes=1",
                                "save tintwave/scheme1/title=Warm", "save tintwave/scheme1/box0=0",
                                "save tintwave/scheme1/box1=-2147483633",
                                "save tintwave/scheme1/box2=255"};
        for (int i = 3; i < 10; ++i)
            expected << QStringLiteral("save tintwave/scheme1/box%1=-2147483633").arg(i);
        QCOMPARE(fake->settings.log, expected);
        QCOMPARE(userEntries(), QStringList{"mnuSchemeArray(1)=Warm"});
        QCOMPARE(window->gNumSchemes(), 1);
    }

    void add_cancelledOrEmptyNameStoresNothing() {
        addScheme(QString(), paletteOf({0}));
        QVERIFY(fake->settings.log.isEmpty());
        QVERIFY(userEntries().isEmpty());
        QCOMPARE(fake->inputPrompt.asked.size(), 1);
    }

    void apply_overwritesAllTenSlotsWithTheStoredScheme() {
        addScheme(QStringLiteral("Two"), paletteOf({E, 0x00FF00, E, 0x0000FF}));
        addScheme(QStringLiteral("Full"), paletteOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        window->findChild<QAction*>("mnuSchemeArray(1)")->trigger();
        QCOMPARE(window->colors(), paletteOf({E, 0x00FF00, E, 0x0000FF}));
        window->findChild<QAction*>("mnuSchemeArray(2)")->trigger();
        QCOMPARE(window->colors(), paletteOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    }

    void remove_secondOfThree_shiftsTheThirdDownAndRebuildsTheMenu() {
        addScheme(QStringLiteral("A"), paletteOf({1}));
        addScheme(QStringLiteral("B"), paletteOf({2}));
        addScheme(QStringLiteral("C"), paletteOf({3}));
        Form6State opened;
        QString title;
        whenModal([&](QWidget* dialog) {
            title = dialog->windowTitle();
            opened = readForm6(dialog);
            clickLine(dialog, 1);
            QTest::mouseClick(dialog->findChild<QPushButton*>("Command1(0)"), Qt::LeftButton);
        });
        window->findChild<QAction*>("mnuRemove")->trigger();

        QCOMPARE(title, QStringLiteral("Remove Scheme"));
        QCOMPARE(opened.lines, (QStringList{"A", "B", "C"}));
        QCOMPARE(opened.selected, 0);
        QVERIFY(!opened.removeEnabled);
        QCOMPARE(userEntries(), (QStringList{"mnuSchemeArray(1)=A", "mnuSchemeArray(2)=C"}));
        QCOMPARE(fake->settings.GetSetting(kApp, "general", "numSchemes"), QStringLiteral("2"));
        QCOMPARE(fake->settings.GetSetting(kApp, "scheme2", "title"), QStringLiteral("C"));
        QCOMPARE(fake->settings.GetSetting(kApp, "scheme2", "box0"), QStringLiteral("3"));
        QVERIFY(!fake->settings.hasSection(kApp, "scheme3"));
        QCOMPARE(window->gNumSchemes(), 2);
        window->findChild<QAction*>("mnuSchemeArray(2)")->trigger();
        QCOMPARE(window->colors(), paletteOf({3}));
    }

    void storeNotice_isShownOnceAfterTheOperation() {
        fake->settings.pendingNotice = QStringLiteral("Could not write the settings.");
        addScheme(QStringLiteral("A"), paletteOf({1}));
        QCOMPARE(fake->messages.shown, QStringList{"Tintwave: Could not write the settings."});
        addScheme(QStringLiteral("B"), paletteOf({2}));
        QCOMPARE(fake->messages.shown.size(), 1);
    }

    void about_showsTheSplashWindowModally() {
        bool wasForm3 = false;
        whenModal([&](QWidget* dialog) {
            wasForm3 = qobject_cast<Form3*>(dialog) != nullptr;
            dialog->close();
        });
        window->findChild<QAction*>("mnuAbout")->trigger();
        QVERIFY(wasForm3);
        QVERIFY(window->isVisible());
    }
};

QTEST_MAIN(TestUserSchemes)
#include "tst_UserSchemes.moc"
