// The scheme store started on a settings file of arbitrary bytes: load, list, apply every
// scheme, add one and remove one. Whatever the file holds, the count stays in range, the
// added scheme reads back exactly (also from the file), the removal shifts the titles as
// the file has them, and a file QSettings cannot read is kept byte for byte in a
// ".corrupt-" copy.
#include "fuzz/FuzzCheck.h"
#include "platform/qt/QSettingsStore.h"
#include "schemes/SchemeStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>

using namespace tintwave;

namespace {

// Removing the first of many thousand schemes rewrites every one of them; past this
// count the last one is removed instead, and not every scheme is applied, to keep each
// run short.
constexpr int kShiftLimit = 1000;

const palette::Palette kAdded{{255, 33023, palette::kEmptySlot, 0, kWhite, -1, 7, 65280, 1, 2}};

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Whether QSettings reads all of these bytes, judged on a file of a name never used
// before (QSettings caches what it has read per file name).
bool qsettingsReadsAll(const QDir& dir, const QByteArray& bytes, int run) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)QString(utf8.decode(bytes));
    if (utf8.hasError()) {
        return false;
    }
    const QString probe = dir.filePath(QStringLiteral("probe-%1.ini").arg(run));
    FUZZ_CHECK(writeBytes(probe, bytes));
    QSettings settings(probe, QSettings::IniFormat);
    (void)settings.allKeys();
    return settings.status() != QSettings::FormatError;
}

// Start-up of a second copy on a copy of the file: what the file itself says.
QStringList titlesOnDisk(const QDir& dir, const QString& path, const QString& name) {
    const QString copy = dir.filePath(name);
    FUZZ_CHECK(QFile::copy(path, copy));
    platform::QSettingsStore store(platform::QSettingsStore::IniFile{copy}, {});
    return schemes::SchemeStore(store).titles();
}

QStringList corruptCopies(const QDir& dir, const QString& path) {
    return dir.entryList({QFileInfo(path).fileName() + QStringLiteral(".corrupt-*")}, QDir::Files);
}

// Applies every scheme; of many thousands the first and last few hundred.
void checkAll(schemes::SchemeStore& schemes) {
    const int n = schemes.count();
    FUZZ_CHECK(n >= 0 && n <= 32767);
    FUZZ_CHECK(schemes.titles().size() == n);
    for (int k = 1; k <= n;
         k = (k == kShiftLimit / 2 && n > kShiftLimit) ? n - kShiftLimit / 2 : k + 1) {
        FUZZ_CHECK(schemes.palette(k).has_value());
    }
    FUZZ_CHECK(!schemes.palette(0) && !schemes.palette(n + 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir tmp;
    static int run = 0;
    ++run;
    const QDir dir(tmp.path());
    const QByteArray original(reinterpret_cast<const char*>(data), qsizetype(size));
    // A new name per run: QSettings would answer a reused name from its cache.
    const QString path = dir.filePath(QStringLiteral("tintwave-%1.ini").arg(run));
    FUZZ_CHECK(writeBytes(path, original));
    const bool readable = qsettingsReadsAll(dir, original, run);

    platform::QSettingsStore store(platform::QSettingsStore::IniFile{path}, {});
    schemes::SchemeStore schemes(store);
    checkAll(schemes);

    const int before = schemes.count();
    const QStringList titlesBefore = schemes.titles();
    const bool added =
        schemes.add(QStringLiteral("fuzz added"), kAdded) == schemes::SchemeStore::Addition::Added;
    FUZZ_CHECK(added == (before < 32767));
    if (added) {
        FUZZ_CHECK(schemes.count() == before + 1);
        FUZZ_CHECK(schemes.titles() == titlesBefore + QStringList{QStringLiteral("fuzz added")});
        FUZZ_CHECK(schemes.palette(before + 1) == kAdded);
        // Every title shown is written back as shown, also over a file that was set aside.
        FUZZ_CHECK(titlesOnDisk(dir, path, QStringLiteral("after-add-%1.ini").arg(run)) ==
                   schemes.titles());
    }
    const QStringList copies = corruptCopies(dir, path);
    FUZZ_CHECK(copies.size() <= 1);
    FUZZ_CHECK(readable || copies.size() == 1 || !added);
    for (const QString& c : copies) {
        FUZZ_CHECK(readBytes(dir.filePath(c)) == original);
    }

    // A removal starts from the file as it is, which reads as the titles shown.
    const int n = schemes.count();
    const QStringList titles = schemes.titles();
    const int removed = n <= kShiftLimit ? 1 : n;
    schemes.remove(removed, titles.value(removed - 1));
    if (n > 0) {
        QStringList expected = titles;
        expected.removeAt(removed - 1);
        FUZZ_CHECK(schemes.count() == n - 1);
        FUZZ_CHECK(schemes.titles() == expected);
        if (added && removed != before + 1) {
            FUZZ_CHECK(schemes.palette(before) == kAdded);
        }
    }
    checkAll(schemes);

    for (const QString& name : dir.entryList(QDir::Files)) {
        QFile::remove(dir.filePath(name));
    }
    return 0;
}
