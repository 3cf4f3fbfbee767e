#pragma once

#include <QList>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;

namespace tintwave::app {

// The user-scheme entries at the end of the Schemes menu, behind the separator the menu
// already holds as its last item: entry k (1-based) is the action "userScheme<k>", which
// calls onChosen(k) when chosen. A title too long for a menu a third of the screen wide
// is shortened in the middle, with the whole title as the entry's tooltip.
class UserSchemeMenu {
public:
    UserSchemeMenu(QMenu& menu, std::function<void(int)> onChosen);

    // Makes entries 1 .. count() one per scheme title, in order, each shown as it is
    // written ('&' included).
    void setEntries(const QStringList& titles);
    int count() const { return int(entries_.size()); }

private:
    // Makes the entries with each title shortened to room_.
    void showEntries(const QStringList& titles);

    QMenu& menu_;
    int room_ = -1; // pixels for a title; found once, when the first long title comes
    std::function<void(int)> onChosen_;
    QList<QAction*> entries_; // entry k at k - 1
};

} // namespace tintwave::app
