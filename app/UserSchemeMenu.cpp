#include "app/UserSchemeMenu.h"

#include <QAction>
#include <QMenu>

namespace tintwave::app {

UserSchemeMenu::UserSchemeMenu(QMenu& menu, std::function<void(int)> onChosen)
    : menu_(menu)
    , onChosen_(std::move(onChosen)) {
}

void UserSchemeMenu::setEntries(const QStringList& titles) {
    // A title's '&' shows as itself, not as an access key.
    QStringList captions;
    for (const QString& title : titles) {
        captions << QString(title).replace(QLatin1Char('&'), QLatin1String("&&"));
    }
    // Entries that already show the right caption stay, so an add only appends one.
    qsizetype kept = 0;
    while (kept < entries_.size() && kept < captions.size() &&
           entries_[kept]->text() == captions[kept]) {
        ++kept;
    }
    for (QAction* action : entries_.sliced(kept)) {
        menu_.removeAction(action);
        // Out of the window's object tree at once, so a search by name finds only live
        // entries; deleted later because its own trigger may be running right now.
        action->setParent(nullptr);
        action->deleteLater();
    }
    entries_.resize(kept);
    for (const QString& caption : captions.sliced(kept)) {
        const int index = count() + 1;
        QAction* action = menu_.addAction(caption);
        action->setObjectName(QStringLiteral("userScheme%1").arg(index));
        QObject::connect(action, &QAction::triggered, &menu_, [this, index] { onChosen_(index); });
        entries_.append(action);
    }
}

} // namespace tintwave::app
