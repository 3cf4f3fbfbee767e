#include "app/UserSchemeMenu.h"

#include <QAction>
#include <QMenu>
#include <QScreen>
#include <algorithm>

namespace tintwave::app {

UserSchemeMenu::UserSchemeMenu(QMenu& menu, std::function<void(int)> onChosen)
    : menu_(menu)
    , onChosen_(std::move(onChosen)) {
}

// Titles narrower than half the widest menu leave it within bounds. Beyond that, the room
// for a title is the widest menu less what the menu takes beside its widest entry's
// text, measured on the menu itself, so it holds whatever the style puts around it.
void UserSchemeMenu::setEntries(const QStringList& titles) {
    const QScreen* screen = menu_.screen();
    const int widest = (screen ? screen->availableGeometry().width() : 1024) / 3;
    const QFontMetrics metrics(menu_.font());
    const bool anyLong = std::any_of(titles.begin(), titles.end(), [&](const QString& title) {
        return metrics.horizontalAdvance(title) > widest / 2;
    });
    if (room_ < 0 && anyLong) {
        room_ = widest;
        showEntries(titles);
        int widestText = 0;
        for (const QAction* entry : entries_) {
            widestText =
                std::max(widestText, metrics.size(Qt::TextShowMnemonic, entry->text()).width());
        }
        // What the menu adds beside the widest entry's text comes off the room (no less
        // where a preset is wider still).
        room_ = widest - (menu_.sizeHint().width() - widestText);
    }
    menu_.setToolTipsVisible(true);
    showEntries(titles);
}

void UserSchemeMenu::showEntries(const QStringList& titles) {
    const QFontMetrics metrics(menu_.font());
    QStringList captions;
    for (const QString& title : titles) {
        const QString shown = room_ < 0 ? title : metrics.elidedText(title, Qt::ElideMiddle, room_);
        // A title's '&' shows as itself, not as an access key.
        captions << QString(shown).replace(QLatin1Char('&'), QLatin1String("&&"));
    }
    // Entries that already show the right title stay, so an add only appends one.
    qsizetype kept = 0;
    while (kept < entries_.size() && kept < captions.size() &&
           entries_[kept]->text() == captions[kept] && entries_[kept]->toolTip() == titles[kept]) {
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
        action->setToolTip(titles[index - 1]);
        QObject::connect(action, &QAction::triggered, &menu_, [this, index] { onChosen_(index); });
        entries_.append(action);
    }
}

} // namespace tintwave::app
