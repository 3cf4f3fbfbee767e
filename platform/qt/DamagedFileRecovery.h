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

    // Whether QSettings reads the file as it is now completely.
    bool isReadable();

    // Checks the file as it is now before settings (opened on it) rewrites it. False when
    // it is damaged and could not be copied aside; then nothing may be written. Adds what
    // the user should be told to notices; setAside tells whether a copy was kept.
    bool prepareRewrite(QSettings& settings, QStringList& notices, bool& setAside);

    // Keeps a copy of the file as it is, which QSettings reads but its reader found
    // damaged. A file this store rewrote after keeping a copy of its original needs none.
    // False when no copy could be made.
    bool keepCopy(QStringList& notices);

    // The file as it is now was written by QSettings, so it reads completely.
    void noteWritten();

private:
    QString file_;
    QByteArray knownReadable_; // the file's bytes when last found readable
    bool copyKept_ = false;    // of the file as it was before the next write
    QByteArray ownRewrite_;    // the file's bytes as rewritten after a copy was kept
};

// What the user is told of a damaged settings file that a copy of was kept as copy.
QString setAsideNotice(const QString& file, const QString& copy);

} // namespace tintwave::platform::detail
