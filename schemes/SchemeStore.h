#pragma once

#include "palette/Palette.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tintwave::platform {
class SettingsStore;
class SchemeMenu;
} // namespace tintwave::platform

namespace tintwave::schemes {

// The user's saved schemes in the settings store, application "tintwave": section
// "general" key "numSchemes", and sections scheme1 .. schemeN, each with "title" and
// box0 .. box9 (slot values as signed decimal text). Keeps the in-memory count and the
// user entries of the Schemes menu in step with the store.
//
// Several running copies may share one store: add and deleteIt hold the store's
// exclusive access for their whole read-modify-write, and they and titles first sync and
// take the count from the store; when it differs from the one in memory, the count and
// the menu entries are rebuilt from the store. So an add always appends after the
// schemes that exist now and no copy overwrites another's schemes. When the exclusive
// access cannot be had, add and deleteIt change nothing (the store leaves a notice). A scheme
// number given to deleteIt is taken against the store's current list: adds made elsewhere only
// append and leave the numbers the user saw intact; a removal made elsewhere while the
// Remove Scheme dialog was open can make the number name a different scheme. Nothing
// beyond the store's current count is ever touched. After writing, add and deleteIt
// sync again so other copies see the change soon.
class SchemeStore {
public:
    SchemeStore(platform::SettingsStore& store, platform::SchemeMenu& menu);

    // Start-up: reads the count and builds the menu entries.
    void load();

    // The number of schemes, gNumSchemes.
    int numSchemes() const { return gNumSchemes; }

    // Stores the palette under name as a new last scheme and appends its menu entry.
    // An empty name stores nothing and returns false; so does a full menu (32767
    // schemes), which could not show another entry, and a store that stayed locked.
    bool add(const QString& name, const palette::Palette& palette);

    // The palette of scheme index (1-based), every slot read from the store; a stored
    // value that is not a whole number in range reads as an empty slot. Nothing for an
    // index outside 1 .. numSchemes().
    std::optional<palette::Palette> apply(int index);

    // Removes scheme schemeNum (1-based), shifting the later ones down, and rebuilds
    // the menu entries. A number outside 1 .. numSchemes() changes nothing.
    void deleteIt(int schemeNum);

    // Appends menu entries for schemes 1 .. numSchemes().
    void RestoreMenus();

    // Titles of schemes 1 .. numSchemes(), in order (a missing title reads as ""), after
    // following the store's current count.
    QStringList titles();

    // The first scheme whose title is exactly title, 1-based, or nothing.
    std::optional<int> findByTitle(const QString& title);

private:
    // Syncs, and when the stored count differs from gNumSchemes takes it and rebuilds
    // the menu entries.
    void followStore();

    platform::SettingsStore& store_;
    platform::SchemeMenu& menu_;
    int gNumSchemes = 0;
};

// "numSchemes" text to a count: the leading decimal number (blanks skipped), its whole
// part, clamped to 0 .. 32767; empty or non-numeric text gives 0.
int parseSchemeCount(const QString& text);

// A stored box value to a slot value: a whole number from -2147483648 to 16777215
// (blanks around it allowed), anything else an empty slot (gColor).
ColorValue parseSlotValue(const QString& text);

} // namespace tintwave::schemes
