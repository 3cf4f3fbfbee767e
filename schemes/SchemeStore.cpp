#include "schemes/SchemeStore.h"

#include "platform/SettingsStore.h"

#include <QStringView>
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
    : store_(store)
    , count_(parseSchemeCount(store_.value(kGeneral, kCountKey))) {
}

void SchemeStore::followStore() {
    store_.sync();
    count_ = parseSchemeCount(store_.value(kGeneral, kCountKey));
}

QStringList SchemeStore::titles() {
    followStore();
    QStringList result;
    result.reserve(count_);
    for (int k = 1; k <= count_; ++k) {
        result << store_.value(sectionName(k), kTitleKey);
    }
    return result;
}

bool SchemeStore::add(const QString& name, const palette::Palette& palette) {
    if (name.isEmpty()) {
        return false;
    }
    // Another copy must not read the same count and write the same section meanwhile.
    const auto access = store_.lockExclusive();
    if (!access) {
        return false;
    }
    followStore();
    if (count_ >= kMaxSchemes) {
        return false;
    }
    const int n = count_ + 1;
    const QString section = sectionName(n);
    store_.setValue(kGeneral, kCountKey, QString::number(n));
    store_.setValue(section, kTitleKey, name);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        store_.setValue(section, boxKey(slot), QString::number(palette.slots[slot]));
    }
    count_ = n;
    store_.sync();
    return true;
}

std::optional<palette::Palette> SchemeStore::palette(int index) {
    if (index < 1 || index > count_) {
        return std::nullopt;
    }
    const QString section = sectionName(index);
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
    const QStringList current = titles();
    const int n = count_;
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
    count_ = n - 1;
    store_.setValue(kGeneral, kCountKey, QString::number(count_));
    store_.sync();
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
