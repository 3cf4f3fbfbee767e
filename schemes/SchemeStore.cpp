#include "schemes/SchemeStore.h"

#include "platform/SettingsStore.h"

#include <QStringView>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace tintwave::schemes {

namespace {

const QString kGeneral = QStringLiteral("general");
const QString kCountKey = QStringLiteral("numSchemes");
const QString kTitleKey = QStringLiteral("title");

// Menu entries are addressed by a 16-bit signed index, so this is as many schemes as
// the Schemes menu can show.
constexpr int kMaxSchemes = 32767;

QString sectionName(int scheme) {
    return QStringLiteral("scheme%1").arg(scheme);
}
QString boxKey(int slot) {
    return QStringLiteral("box%1").arg(slot);
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Length of the decimal number that starts text at from: optional sign, digits with an
// optional fraction, and an exponent only when digits follow its "e". 0 when there is
// no digit in the mantissa.
qsizetype leadingNumberLength(QStringView text, qsizetype from) {
    const auto at = [&](qsizetype i) {
        return i < text.size() ? text[i] : QChar();
    };
    qsizetype i = from;
    if (at(i) == QLatin1Char('+') || at(i) == QLatin1Char('-')) {
        ++i;
    }
    qsizetype digits = 0;
    for (; isDigit(at(i)); ++i) {
        ++digits;
    }
    if (at(i) == QLatin1Char('.')) {
        for (++i; isDigit(at(i)); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (at(i) == QLatin1Char('e') || at(i) == QLatin1Char('E')) {
        qsizetype j = i + 1;
        if (at(j) == QLatin1Char('+') || at(j) == QLatin1Char('-')) {
            ++j;
        }
        if (isDigit(at(j))) {
            while (isDigit(at(j))) {
                ++j;
            }
            i = j;
        }
    }
    return i - from;
}

// The number k of a section named scheme<k>: decimal digits without a leading zero.
std::optional<int> schemeNumber(const QString& section) {
    const QStringView digits = QStringView(section).mid(6);
    if (!section.startsWith(QLatin1String("scheme")) || digits.isEmpty() ||
        digits.front() == QLatin1Char('0') || !std::all_of(digits.begin(), digits.end(), isDigit)) {
        return std::nullopt;
    }
    bool ok = false;
    const int k = digits.toInt(&ok);
    return ok ? std::optional<int>(k) : std::nullopt;
}

} // namespace

int parseSchemeCount(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() &&
           (text[start] == QLatin1Char(' ') || text[start] == QLatin1Char('\t'))) {
        ++start;
    }
    const qsizetype length = leadingNumberLength(text, start);
    if (length == 0) {
        return 0;
    }
    // Overflow gives an infinity, underflow 0; both clamp correctly below.
    const double value = QStringView(text).sliced(start, length).toDouble();
    if (!(value >= 1.0)) {
        return 0;
    }
    if (value >= kMaxSchemes) {
        return kMaxSchemes;
    }
    return static_cast<int>(value);
}

ColorValue parseSlotValue(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<std::int32_t>::min() || value > kWhite) {
        return palette::kEmptySlot;
    }
    return static_cast<ColorValue>(value);
}

SchemeStore::SchemeStore(platform::SettingsStore& store)
    : store_(store) {
    followStore();
    if (!sound_) {
        if (const auto access = store_.lockExclusive()) {
            followStore();
            repair();
        }
    }
}

void SchemeStore::followStore() {
    store_.sync();
    std::vector<int> numbers;
    for (const QString& section : store_.sections()) {
        if (const std::optional<int> k = schemeNumber(section)) {
            numbers.push_back(*k);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    sections_.clear();
    unlisted_.clear();
    titles_.clear();
    for (const int k : numbers) {
        const QString title = store_.value(sectionName(k), kTitleKey);
        if (title.isEmpty() || int(sections_.size()) >= kMaxSchemes) {
            unlisted_.push_back(k);
        } else {
            sections_.push_back(k);
            titles_ << title;
        }
    }
    const int n = count();
    sound_ = unlisted_.empty() && (n == 0 || sections_.back() == n) &&
             parseSchemeCount(store_.value(kGeneral, kCountKey)) == n;
}

bool SchemeStore::repair() {
    if (sound_) {
        return true;
    }
    if (!store_.keepDamagedCopy()) {
        return false;
    }
    // The listed schemes as stored, then every scheme section goes and they come back
    // numbered from 1. A box that is not there stays away.
    const QStringList keys = [] {
        QStringList k{kTitleKey};
        for (int slot = 0; slot < kSlotCount; ++slot) {
            k << boxKey(slot);
        }
        return k;
    }();
    std::vector<QStringList> kept;
    for (const int k : sections_) {
        QStringList values;
        for (const QString& key : keys) {
            values << store_.value(sectionName(k), key);
        }
        kept.push_back(values);
    }
    for (const std::vector<int>* numbers : {&sections_, &unlisted_}) {
        for (const int k : *numbers) {
            store_.removeSection(sectionName(k));
        }
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        for (qsizetype key = 0; key < keys.size(); ++key) {
            if (!kept[i][key].isEmpty()) {
                store_.setValue(sectionName(int(i) + 1), keys[key], kept[i][key]);
            }
        }
    }
    store_.setValue(kGeneral, kCountKey, QString::number(kept.size()));
    store_.sync();
    followStore();
    return sound_;
}

QStringList SchemeStore::titles() {
    followStore();
    return titles_;
}

SchemeStore::Addition SchemeStore::add(const QString& name, const palette::Palette& palette) {
    if (name.isEmpty()) {
        return Addition::NoName;
    }
    int n = 0;
    {
        // Another copy must not read the same count and write the same section meanwhile.
        const auto access = store_.lockExclusive();
        if (!access) {
            return Addition::NoAccess;
        }
        followStore();
        if (!repair()) {
            return Addition::NoAccess;
        }
        if (count() >= kMaxSchemes) {
            return Addition::Full;
        }
        n = count() + 1;
        store_.setValue(kGeneral, kCountKey, QString::number(n));
        store_.setValue(sectionName(n), kTitleKey, name);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            store_.setValue(sectionName(n), boxKey(slot), QString::number(palette.slots[slot]));
        }
    }
    // Released: the writes have reached the store, or it has said why not.
    followStore();
    return count() >= n && store_.value(sectionName(n), kTitleKey) == name ? Addition::Added
                                                                           : Addition::Lost;
}

std::optional<palette::Palette> SchemeStore::palette(int index) {
    if (index < 1 || index > count()) {
        return std::nullopt;
    }
    const QString section = sectionName(sections_[index - 1]);
    palette::Palette result;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        result.slots[slot] = parseSlotValue(store_.value(section, boxKey(slot)));
    }
    return result;
}

SchemeStore::Removal SchemeStore::remove(int schemeNum, const QString& title) {
    const auto access = store_.lockExclusive();
    if (!access) {
        return Removal::NoAccess;
    }
    followStore();
    if (!repair()) {
        return Removal::NoAccess;
    }
    const QStringList current = titles_;
    const int n = count();
    Removal result = Removal::AtNumber;
    if (schemeNum < 1 || schemeNum > n || current[schemeNum - 1] != title) {
        schemeNum = static_cast<int>(current.indexOf(title)) + 1;
        if (schemeNum == 0) {
            return Removal::NotThere;
        }
        result = Removal::Elsewhere;
    }
    // Shift every later scheme down by one, copying the stored text as it is.
    for (int i = schemeNum; i < n; ++i) {
        const QString to = sectionName(i);
        const QString from = sectionName(i + 1);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            store_.setValue(to, boxKey(slot), store_.value(from, boxKey(slot)));
        }
        store_.setValue(to, kTitleKey, store_.value(from, kTitleKey));
    }
    store_.removeSection(sectionName(n));
    store_.setValue(kGeneral, kCountKey, QString::number(n - 1));
    store_.sync();
    followStore();
    return result;
}

std::optional<int> SchemeStore::findByTitle(const QString& title) {
    const qsizetype position = titles().indexOf(title);
    if (position < 0) {
        return std::nullopt;
    }
    return static_cast<int>(position) + 1;
}

} // namespace tintwave::schemes
