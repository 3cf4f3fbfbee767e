#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

namespace tintwave::platform::detail {

// Keeps a settings file QSettings cannot read completely from being silently rewritten.
// Before the first write over such a file its bytes are copied beside it as
// "<file>.corrupt-<date>-<time>", and the keys QSettings made of its damaged lines are
// dropped, so the rewrite keeps only the settings that could be read.
class DamagedFileRecovery {
public:
    // No file (the Windows registry): nothing to guard.
    explicit DamagedFileRecovery(QString file);

    // Checks the file as it is now before settings (opened on it) rewrites it. False when
    // it is damaged and could not be copied aside; then nothing may be written. Adds what
    // the user should be told to notices.
    bool prepareRewrite(QSettings& settings, QStringList& notices);

    // The file as it is now was written by QSettings, so it reads completely.
    void noteWritten();

private:
    QString file_;
    QByteArray knownReadable_; // the file's bytes when last found readable
};

} // namespace tintwave::platform::detail
