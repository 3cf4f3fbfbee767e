#pragma once

#include "palette/Palette.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tintwave::platform {
class SettingsStore;
} // namespace tintwave::platform

namespace tintwave::schemes {

// The user's saved schemes in the settings store, application "tintwave": section
// "general" key "numSchemes", and sections scheme1 .. schemeN, each with "title" and
// box0 .. box9 (slot values as signed decimal text). Keeps the count in memory; what
// shows the schemes (the Schemes menu) asks titles() after each change.
//
// A scheme is a section scheme<k> with a title (the program writes the title last, so a
// file cut off inside a section loses it). The schemes are sound when they are exactly
// scheme1 .. scheme<numSchemes>; otherwise they are damaged, as a file that cannot be read
// completely is: the store is asked to keep a copy of the settings, and the schemes that
// can be read are written back in order, numbered from 1, with their count. Where the
// store refuses that (a read-only store, a copy that cannot be made), the schemes that
// can be read are shown in order and nothing is written. So no scheme without a title is
// ever listed.
//
// Several running copies may share one store: add and remove hold the store's exclusive
// access for their whole read-modify-write, and they and titles first sync and take the
// count from the store. So an add always appends after the schemes that exist now and no
// copy overwrites another's schemes. When the exclusive access cannot be had, add and
// remove change nothing (the store gives a notice). remove gets the number and the title
// the user saw: adds made elsewhere only append and leave that number intact, but a
// removal made elsewhere while the Remove Scheme dialog was open can make the number name
// a different scheme, so the title is checked under the exclusive access. Nothing beyond
// the store's current count is ever touched. After writing, add and remove sync again so
// other copies see the change soon.
class SchemeStore {
public:
    // Reads the schemes and repairs damaged ones.
    explicit SchemeStore(platform::SettingsStore& store);

    // The number of schemes.
    int count() const { return int(sections_.size()); }

    // Titles of schemes 1 .. count(), in order, after following the store.
    QStringList titles();

    // What add did.
    enum class Addition {
        Added,
        NoName,   // the name is empty
        Full,     // 32767 schemes, as many as the Schemes menu can show
        NoAccess, // the store stayed locked, or damaged schemes could not be repaired
        Lost,     // the store did not keep what was written (it said why)
    };

    // Stores the palette under name as a new last scheme; anything but Added stores
    // nothing.
    Addition add(const QString& name, const palette::Palette& palette);

    // The palette of scheme index (1-based), every slot read from the store; a stored
    // value that is not a whole number in range reads as an empty slot. Nothing for an
    // index outside 1 .. count().
    std::optional<palette::Palette> palette(int index);

    // What remove did.
    enum class Removal {
        AtNumber,  // the scheme at the given number had the title and is gone
        Elsewhere, // the number held another title; the first scheme titled so is gone
        NotThere,  // no scheme has the title any more; nothing changed
        NoAccess,  // the store stayed locked; nothing changed
    };

    // Removes the scheme the user chose, seen as number schemeNum (1-based) titled title,
    // shifting the later ones down. Another running copy may have renumbered the schemes
    // meanwhile: when schemeNum no longer holds title, the first scheme that does goes.
    Removal remove(int schemeNum, const QString& title);

    // The first scheme whose title is exactly title, 1-based, or nothing.
    std::optional<int> findByTitle(const QString& title);

private:
    // Syncs and finds the schemes the store holds.
    void followStore();
    // Under exclusive access: writes damaged schemes back sound; false when the store
    // refused that.
    bool repair();

    platform::SettingsStore& store_;
    std::vector<int> sections_; // scheme k's section number at k - 1
    QStringList titles_;        // scheme k's title at k - 1
    // Numbers of scheme sections not listed: without a title, or past the most there are.
    std::vector<int> unlisted_;
    bool sound_ = true;
};

// "numSchemes" text to a count: the leading decimal number (blanks skipped), its whole
// part, clamped to 0 .. 32767; empty or non-numeric text gives 0.
int parseSchemeCount(const QString& text);

// A stored box value to a slot value: a whole number from -2147483648 to 16777215
// (blanks around it allowed), anything else an empty slot (kEmptySlot).
ColorValue parseSlotValue(const QString& text);

} // namespace tintwave::schemes
