#include "app/TextStore.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace tintwave::app {

namespace {

// UTF-16 units per block: small enough to decode for every line drawn, large enough that
// the table of blocks stays small (a 30-million-character code has about 7,000).
constexpr qsizetype kBlockUnits = 4096;
// Bytes per page. A block takes at most three per unit for one unit more than kBlockUnits;
// the margin covers what the encoder asks for beyond that.
constexpr qsizetype kPageBytes = 1 << 20;
constexpr qsizetype kMaxBlockBytes = 3 * (kBlockUnits + 8);

bool isLineBreak(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// Whether every surrogate in text is half of a pair, so that UTF-8 keeps it unchanged.
bool wellFormed(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            return false;
        }
    }
    return true;
}

// Whether UTF-8 bytes may hold a line break: LF, CR, or the lead byte of U+2028 and U+2029.
bool mayHoldLineBreak(QByteArrayView bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char b) { return b == '\n' || b == '\r' || b == '\xE2'; });
}

// UTF-8 decoded with a leading U+FEFF kept as a character: a block may start with one.
QString decodeUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

void TextStore::append(QStringView piece) {
    if (piece.isEmpty()) {
        return;
    }
    if (!packed() && !whole_.isEmpty()) {
        whole_.append(piece);
        return;
    }
    if (!wellFormed(piece)) {
        unpack();
        whole_.append(piece);
        return;
    }
    QStringEncoder encoder(QStringEncoder::Utf8);
    while (!piece.isEmpty()) {
        if (blocks_.empty() || size_ - blocks_.back().unitStart >= kBlockUnits) {
            if (pages_.empty() || kPageBytes - pages_.back().size() < kMaxBlockBytes) {
                pages_.emplace_back().reserve(kPageBytes);
            }
            blocks_.push_back({size_, qint32(pages_.size() - 1), qint32(pages_.back().size()), 0});
        }
        Block& block = blocks_.back();
        qsizetype take = std::min(piece.size(), kBlockUnits - (size_ - block.unitStart));
        if (take < piece.size() && piece[take - 1].isHighSurrogate()) {
            ++take; // a block holds a pair whole
        }
        QByteArray& page = pages_.back();
        const qsizetype used = page.size();
        page.resize(used + encoder.requiredSpace(take));
        const char* end = encoder.appendToBuffer(page.data() + used, piece.first(take));
        page.truncate(end - page.constData());
        block.byteLength += qint32(page.size() - used);
        size_ += take;
        piece = piece.sliced(take);
    }
}

qsizetype TextStore::blockAt(qsizetype pos) const {
    const auto it = std::upper_bound(blocks_.begin(), blocks_.end(), pos,
                                     [](qsizetype p, const Block& b) { return p < b.unitStart; });
    return qsizetype(it - blocks_.begin()) - 1;
}

QByteArrayView TextStore::bytesOf(const Block& block) const {
    return QByteArrayView(pages_[std::size_t(block.page)])
        .sliced(block.byteStart, block.byteLength);
}

const QString& TextStore::decoded(qsizetype block) const {
    if (cachedBlock_ != block) {
        cached_ = decodeUtf8(bytesOf(blocks_[std::size_t(block)]));
        cachedBlock_ = block;
    }
    return cached_;
}

QChar TextStore::at(qsizetype pos) const {
    if (!packed()) {
        return whole_.at(pos);
    }
    const qsizetype block = blockAt(pos);
    return decoded(block).at(pos - blocks_[std::size_t(block)].unitStart);
}

QString TextStore::mid(qsizetype pos, qsizetype length) const {
    if (!packed()) {
        return whole_.mid(pos, length);
    }
    pos = std::clamp<qsizetype>(pos, 0, size_);
    length = std::clamp<qsizetype>(length, 0, size_ - pos);
    QString slice;
    slice.reserve(length);
    for (qsizetype block = blockAt(pos); length > 0; ++block) {
        const QString& units = decoded(block);
        const qsizetype offset = pos - blocks_[std::size_t(block)].unitStart;
        const qsizetype n = std::min(length, units.size() - offset);
        slice += QStringView(units).sliced(offset, n);
        pos += n;
        length -= n;
    }
    return slice;
}

qsizetype TextStore::nextLineBreak(qsizetype from) const {
    if (!packed()) {
        const auto it = std::find_if(whole_.begin() + from, whole_.end(), isLineBreak);
        return it - whole_.begin();
    }
    if (from >= size_) {
        return size_;
    }
    // Blocks whose bytes cannot hold a break are skipped without decoding.
    for (qsizetype block = blockAt(from); block < qsizetype(blocks_.size()); ++block) {
        const Block& b = blocks_[std::size_t(block)];
        if (!mayHoldLineBreak(bytesOf(b))) {
            continue;
        }
        const QString& units = decoded(block);
        const qsizetype offset = std::max<qsizetype>(0, from - b.unitStart);
        const auto it = std::find_if(units.begin() + offset, units.end(), isLineBreak);
        if (it != units.end()) {
            return b.unitStart + (it - units.begin());
        }
    }
    return size_;
}

void TextStore::unpack() const {
    if (packed()) {
        QString whole;
        whole.reserve(size_);
        for (const QByteArray& page : pages_) {
            whole += decodeUtf8(page);
        }
        whole_ = std::move(whole);
        pages_.clear();
        blocks_.clear();
        cachedBlock_ = -1;
        cached_ = QString();
    }
}

QString TextStore::toString() const {
    unpack();
    return whole_;
}

} // namespace tintwave::app
