#include "app/SchemeMenuActions.h"

#include <QAction>
#include <QMenu>

namespace tintwave::app {

SchemeMenuActions::SchemeMenuActions(QMenu& menu, std::function<void(int)> onChosen)
    : menu_(menu)
    , onChosen_(std::move(onChosen)) {
}

void SchemeMenuActions::setEntries(const QStringList& captions) {
    removeEntries();
    for (const QString& caption : captions) {
        const int index = count() + 1;
        QAction* action = menu_.addAction(caption);
        action->setObjectName(QStringLiteral("mnuSchemeArray(%1)").arg(index));
        QObject::connect(action, &QAction::triggered, &menu_, [this, index] { onChosen_(index); });
        entries_.append(action);
    }
}

void SchemeMenuActions::removeEntries() {
    for (QAction* action : std::as_const(entries_)) {
        menu_.removeAction(action);
        // Out of the window's object tree at once, so a search by name finds only live
        // entries; deleted later because its own trigger may be running right now.
        action->setParent(nullptr);
        action->deleteLater();
    }
    entries_.clear();
}

} // namespace tintwave::app
