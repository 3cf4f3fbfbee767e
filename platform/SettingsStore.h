#pragma once

#include <QString>

namespace tintwave::platform {

// Per-user store of text values addressed by application, section and key; values
// survive restarts. A missing key reads as empty text.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual QString GetSetting(const QString& application, const QString& section,
                               const QString& key) = 0;
    virtual void SaveSetting(const QString& application, const QString& section,
                             const QString& key, const QString& value) = 0;
    // Removes the whole section with all its keys.
    virtual void DeleteSetting(const QString& application, const QString& section) = 0;

    // Pushes pending writes out and picks up what other running copies wrote meanwhile.
    virtual void sync() = 0;

    // Something the user should be told once (an unreadable file that was set aside, a
    // write that failed); empty when there is nothing. Reading it clears it.
    virtual QString takeNotice() = 0;
};

} // namespace tintwave::platform
