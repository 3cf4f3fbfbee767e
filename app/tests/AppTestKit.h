#pragma once

// Shared by the main-window tests: the scripted platform behind the window, the window
// itself, and helpers to reach its controls and answer modal dialogs.

#include "app/CodeBox.h"
#include "app/MainWindow.h"
#include "app/PreviewBox.h"
#include "app/tests/ScriptedPlatform.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

namespace tintwave::app::testing {

constexpr ColorValue E = palette::kEmptySlot;

// The main window over a scripted platform; open() builds and shows it.
struct WindowFixture {
    ScriptedPlatform fake;
    std::unique_ptr<MainWindow> window;

    void open() {
        window = std::make_unique<MainWindow>(fake.services());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    template <typename T = QWidget> T* find(const QString& name) const {
        T* found = window->findChild<T*>(name);
        if (!found) {
            qFatal("no control %s", qPrintable(name));
        }
        return found;
    }
    CodeBox* codeBox() const { return find<CodeBox>("codeBox"); }
    PreviewBox* preview() const { return find<PreviewBox>("preview"); }
    // Clicks a button or triggers a menu item.
    void activate(const QString& name) const {
        if (auto* button = window->findChild<QPushButton*>(name)) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            find<QAction>(name)->trigger();
        }
    }
    // The user-scheme entries behind the separator userSchemeSeparator, as "name=caption".
    QStringList userSchemeEntries() const {
        const QList<QAction*> items = find<QMenu>("schemesMenu")->actions();
        QStringList entries;
        for (qsizetype i = items.indexOf(find<QAction>("userSchemeSeparator")) + 1;
             i < items.size(); ++i) {
            entries << items[i]->objectName() + QLatin1Char('=') + items[i]->text();
        }
        return entries;
    }
};

// Runs act on the next modal dialog once it is open (the code under test blocks in exec()).
inline void whenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(10, [act] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            act(w);
        } else {
            whenModal(act);
        }
    });
}

// The palette with the given first slots, the rest empty.
inline palette::Palette paletteOf(std::initializer_list<ColorValue> first) {
    palette::Palette p = palette::Palette::empty();
    std::copy(first.begin(), first.end(), p.slots.begin());
    return p;
}

} // namespace tintwave::app::testing
