#pragma once

#include "palette/Palette.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tintwave::platform {
class SettingsStore;
} // namespace tintwave::platform

namespace tintwave::schemes {

// The user's saved schemes in the settings store, application "tintwave": section
// "general" key "numSchemes", and sections scheme1 .. schemeN, each with "title" and
// box0 .. box9 (slot values as signed decimal text). Keeps the count in memory; what
// shows the schemes (the Schemes menu) asks titles() after each change.
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
    // Reads the count.
    explicit SchemeStore(platform::SettingsStore& store);

    // The number of schemes.
    int count() const { return count_; }

    // Titles of schemes 1 .. count(), in order (a missing title reads as ""), after
    // following the store's current count.
    QStringList titles();

    // Stores the palette under name as a new last scheme. An empty name stores nothing
    // and returns false; so does a full menu (32767 schemes), which could not show
    // another entry, and a store that stayed locked.
    bool add(const QString& name, const palette::Palette& palette);

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
    // Syncs and takes the stored count.
    void followStore();

    platform::SettingsStore& store_;
    int count_ = 0;
};

// "numSchemes" text to a count: the leading decimal number (blanks skipped), its whole
// part, clamped to 0 .. 32767; empty or non-numeric text gives 0.
int parseSchemeCount(const QString& text);

// A stored box value to a slot value: a whole number from -2147483648 to 16777215
// (blanks around it allowed), anything else an empty slot (kEmptySlot).
ColorValue parseSlotValue(const QString& text);

} // namespace tintwave::schemes
