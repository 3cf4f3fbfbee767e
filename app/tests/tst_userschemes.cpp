#include "app/tests/AppTestKit.h"
#include "schemes/SchemeStore.h"

#include <QDialog>
#include <QListWidget>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>

using namespace tintwave;
using namespace tintwave::app;
using namespace tintwave::app::testing;
using namespace Qt::StringLiterals;

namespace {

QListWidget* schemeList(QWidget* dialog) {
    return dialog->findChild<QListWidget*>(QStringLiteral("removeSchemeList"));
}
QPushButton* dialogButton(QWidget* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(QLatin1String(name));
}

// One step of the user in the Remove Scheme dialog: "click n", "double n" (on line n),
// "Remove", "Cancel", "close" (the close box) or a key pressed in the list ("Enter").
void act(QWidget* dialog, const QString& step) {
    QListWidget* list = schemeList(dialog);
    const QString what = step.section(QLatin1Char(' '), 0, 0);
    const auto at = [&] {
        return list->visualItemRect(list->item(step.section(QLatin1Char(' '), 1).toInt())).center();
    };
    if (what == QLatin1String("click")) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at());
    } else if (what == QLatin1String("double")) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at());
    } else if (what == QLatin1String("close")) {
        dialog->close();
    } else if (what != QLatin1String("Remove") && what != QLatin1String("Cancel")) {
        QTest::keySequence(list, QKeySequence(what));
    } else {
        QTest::mouseClick(
            dialogButton(dialog, what == QLatin1String("Remove") ? "removeButton" : "cancelButton"),
            Qt::LeftButton);
    }
}

} // namespace

class TestUserSchemes : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> w;

    // Nothing for name cancels the prompt.
    void addScheme(const std::optional<QString>& name, const palette::Palette& colors) {
        w->window->setColors(colors);
        w->fake.inputPrompt.answers = {name};
        w->activate("addScheme");
    }
    void addABC() {
        addScheme(QStringLiteral("A"), paletteOf({1}));
        addScheme(QStringLiteral("B"), paletteOf({2}));
        addScheme(QStringLiteral("C"), paletteOf({3}));
    }

private Q_SLOTS:
    void init() { w = std::make_unique<WindowFixture>(); }
    void cleanup() { w.reset(); }

    // A count of two over one scheme is damage, repaired and told at start-up.
    void startup_buildsTheStoredSchemesIntoTheMenu() {
        w->fake.settings.setValue("general", "numSchemes", "2");
        w->fake.settings.setValue("scheme1", "title", "Warm & Red");
        w->fake.settings.setValue("scheme2", "box0", "255");
        w->open();
        QCOMPARE(w->window->userSchemeCount(), 1);
        QCOMPARE(w->userSchemeEntries(), // '&' shown as itself, not as an access key
                 QStringList({"userScheme1=Warm && Red"}));
        QCOMPARE(w->find<QMenu>("schemesMenu")->actions().last(), w->find<QAction>("userScheme1"));
        QTRY_COMPARE(w->fake.messages.shown,
                     QStringList{"Tintwave (!): The settings were damaged; a copy was kept."});
        QCOMPARE(w->fake.settings.sections(), QStringList({"general", "scheme1"}));
    }

    void add_storesTheWholePaletteInOrder_cancelStoresNothing() {
        w->open(); // no user schemes: the separator under the presets still shows
        QVERIFY(!w->find<QMenu>("schemesMenu")
                     ->actionGeometry(w->find<QAction>("userSchemeSeparator"))
                     .isEmpty());
        addScheme(std::nullopt, paletteOf({0}));
        QVERIFY(w->fake.settings.log.isEmpty());
        addScheme(QStringLiteral("Warm"), paletteOf({0, E, 255}));
        QCOMPARE(w->fake.inputPrompt.asked,
                 QStringList(2, "Please type the name for the scheme|Tintwave"));
        QStringList expected = {"save tintwave/general/numSchemes=1",
                                "save tintwave/scheme1/title=Warm", "save tintwave/scheme1/box0=0",
                                "save tintwave/scheme1/box1=-2147483633",
                                "save tintwave/scheme1/box2=255"};
        for (int i = 3; i < 10; ++i) {
            expected << QStringLiteral("save tintwave/scheme1/box%1=-2147483633").arg(i);
        }
        QCOMPARE(w->fake.settings.log, expected);
        QCOMPARE(w->userSchemeEntries(), QStringList{"userScheme1=Warm"});
        QCOMPARE(w->window->userSchemeCount(), 1);
    }

    void remove_secondOfThree_shiftsTheThirdDown_applyGivesItsTenSlots() {
        w->open();
        addABC();
        QString opened;
        whenModal([&](QWidget* dialog) {
            QStringList lines;
            for (int i = 0; i < schemeList(dialog)->count(); ++i) {
                lines << schemeList(dialog)->item(i)->text();
            }
            const QPoint offset =
                dialog->frameGeometry().center() - w->window->frameGeometry().center();
            // The caption in a title bar's bold face beside five title-bar squares.
            const QFont bold(dialog->font().family(), dialog->font().pointSize(), QFont::Bold);
            const int room =
                dialog->width() - 5 * dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight);
            opened =
                QStringLiteral("%1 %2x%3 [%4] selected %5, %6 %7 default %8, %9; off %10")
                    .arg(dialog->windowTitle())
                    .arg(room >= QFontMetrics(bold).horizontalAdvance(dialog->windowTitle()))
                    .arg(dialog->height())
                    .arg(lines.join(QLatin1Char(',')))
                    .arg(schemeList(dialog)->selectedItems().size())
                    .arg(dialogButton(dialog, "removeButton")->text())
                    .arg(dialogButton(dialog, "removeButton")->isEnabled() ? "enabled" : "disabled")
                    .arg(int(dialogButton(dialog, "removeButton")->isDefault()))
                    .arg(dialogButton(dialog, "cancelButton")->text())
                    .arg(int(offset.manhattanLength() <= 1)); // centred up to odd halves
            act(dialog, QStringLiteral("click 1"));
            act(dialog, QStringLiteral("Remove"));
        });
        w->activate("removeScheme");
        QCOMPARE(opened, QStringLiteral("Remove Scheme 1x162 [A,B,C] selected 0, Remove "
                                        "disabled default 1, Cancel; off 1"));
        QCOMPARE(w->userSchemeEntries(), QStringList({"userScheme1=A", "userScheme2=C"}));
        QCOMPARE(w->fake.settings.value("general", "numSchemes"), QStringLiteral("2"));
        QCOMPARE(w->fake.settings.value("scheme2", "title"), QStringLiteral("C"));
        QCOMPARE(w->fake.settings.value("scheme2", "box0"), QStringLiteral("3"));
        QVERIFY(!w->fake.settings.hasSection("scheme3"));
        QCOMPARE(w->window->userSchemeCount(), 2);
        w->window->setColors(paletteOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        w->activate("userScheme2"); // overwrites all ten slots
        QCOMPARE(w->window->colors(), paletteOf({3}));
    }

    void removeDialog_answers_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("left"); // the entries left, then any message shown
        QTest::newRow("Remove") << QStringList{"click 1", "Remove"} << "A C";
        QTest::newRow("chosen one gone")
            << QStringList{"click 1", "elsewhere B", "Remove"}
            << "A C Tintwave (!): The scheme \"B\" is no longer there.";
        QTest::newRow("Enter") << QStringList{"click 2", "Enter"} << "A B";
        QTest::newRow("first line") << QStringList{"click 0", "Remove"} << "B C";
        QTest::newRow("double click only selects") << QStringList{"double 2", "Enter"} << "A B";
        // The first Down or Space selects the line with the focus frame, the first one.
        QTest::newRow("Down") << QStringList{"Down", "Enter"} << "B C";
        QTest::newRow("Space") << QStringList{"Space", "Enter"} << "B C";
        QTest::newRow("Down Down") << QStringList{"Down", "Down", "Enter"} << "A C";
        QTest::newRow("Enter, nothing selected") << QStringList{"Enter", "Cancel"} << "A B C";
        QTest::newRow("Remove, nothing selected") << QStringList{"Remove", "Cancel"} << "A B C";
        QTest::newRow("Cancel") << QStringList{"click 1", "Cancel"} << "A B C";
        QTest::newRow("Escape") << QStringList{"click 1", "Escape"} << "A B C";
        QTest::newRow("close box") << QStringList{"click 1", "close"} << "A B C";
    }
    void removeDialog_answers() {
        QFETCH(QStringList, steps);
        QFETCH(QString, left);
        w->open();
        addABC();
        QStringList seen;
        whenModal([&](QWidget* dialog) {
            for (const QString& step : steps) {
                if (step.startsWith("elsewhere ")) { // another copy removes that scheme
                    const QString title = step.section(' ', 1);
                    schemes::SchemeStore other(w->fake.settings);
                    other.remove(*other.findByTitle(title), title);
                } else {
                    act(dialog, step);
                }
                seen << (dialog->isVisible() ? "open" : "closed");
            }
        });
        w->activate("removeScheme");
        // Open until the last step, closed by it.
        QCOMPARE(seen, QStringList(steps.size() - 1, "open") << "closed");
        QStringList captions;
        for (const QString& entry : w->userSchemeEntries()) {
            captions << entry.section(QLatin1Char('='), 1);
        }
        QCOMPARE((captions + w->fake.messages.shown).join(QLatin1Char(' ')), left);
        QCOMPARE(w->window->userSchemeCount(), captions.size());
    }

    // A long title is shortened in the middle, in the menu (never wider than a third of
    // the screen) and in the Remove Scheme dialog, with the whole title as tooltip.
    void longTitle_elidedInTheMiddle_wholeAsTooltip() {
        w->open();
        const QString title = "Begin" + QString(300, u'x') + "End";
        addScheme(title, paletteOf({1}));
        auto* menu = w->find<QMenu>("schemesMenu");
        QVERIFY(menu->sizeHint().width() <= menu->screen()->availableGeometry().width() / 3);
        const QAction* entry = w->find<QAction>("userScheme1");
        QStringList shown{entry->text(), entry->toolTip()};
        whenModal([&](QWidget* dialog) {
            const QListWidget* list = schemeList(dialog);
            shown << list->item(0)->text() << list->item(0)->toolTip();
            QVERIFY(list->fontMetrics().horizontalAdvance(shown[2]) < list->viewport()->width());
            act(dialog, QStringLiteral("Cancel"));
        });
        w->activate("removeScheme");
        shown.replaceInStrings(QRegularExpression(u"^Beginx+…x+End$"_s), "elided");
        QCOMPARE(shown, QStringList({"elided", title, "elided", title}));
    }

    // A refused add says why, once: the store's notice, or the window for a missing name.
    // The menu shows only what the store holds.
    void add_refused_saysWhy_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("message");
        QTest::newRow("store locked")
            << "A" << true << "Tintwave (!): The settings are locked by another copy.";
        QTest::newRow("empty name")
            << "" << false << "Tintwave (!): The scheme was not added: it needs a name.";
    }
    void add_refused_saysWhy() {
        QFETCH(QString, name);
        QFETCH(bool, locked);
        QFETCH(QString, message);
        w->open();
        addScheme(QStringLiteral("B"), paletteOf({2}));
        w->fake.settings.refuseLock = locked;
        addScheme(name, paletteOf({1}));
        QCOMPARE(w->fake.messages.shown, QStringList{message});
        QCOMPARE(w->userSchemeEntries(), QStringList{"userScheme1=B"});
    }
};

QTEST_MAIN(TestUserSchemes)
#include "tst_userschemes.moc"
