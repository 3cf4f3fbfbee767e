#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <vector>

namespace tintwave::app {

// The text of a LazyTextView: a QString as given, or a text appended in pieces, which is kept
// as UTF-8 in blocks of a few thousand characters. A code of mostly ASCII markup then takes
// half the memory, and a slice decodes only the blocks it touches. Offsets are UTF-16 units
// either way. The blocks fill pages of fixed size that are never moved or regrown, so
// building a long text leaves no freed copies behind.
class TextStore {
public:
    TextStore() = default;
    explicit TextStore(const QString& text)
        : whole_(text) {}

    // Appends a piece that does not end between the halves of a surrogate pair. Kept packed
    // as long as the text is well-formed UTF-16 (which UTF-8 gives back exactly).
    void append(QStringView piece);

    qsizetype size() const { return packed() ? size_ : whole_.size(); }
    bool isEmpty() const { return size() == 0; }
    QChar at(qsizetype pos) const;
    QString mid(qsizetype pos, qsizetype length) const;
    // Offset of the first line break (LF, CR, U+2028, U+2029) at or after from, or size().
    qsizetype nextLineBreak(qsizetype from) const;
    // The whole text. A packed text is unpacked for good, so that the string handed out (to the
    // clipboard, say) and the one kept are one and the same.
    QString toString() const;

private:
    struct Block {
        qsizetype unitStart;
        qint32 page;
        qint32 byteStart;
        qint32 byteLength;
    };

    bool packed() const { return !blocks_.empty(); }
    qsizetype blockAt(qsizetype pos) const;
    const QString& decoded(qsizetype block) const;
    QByteArrayView bytesOf(const Block& block) const;
    void unpack() const;

    // A cache: the text is one of whole_ or pages_, and toString() turns the second into the first.
    mutable QString whole_;
    mutable std::vector<QByteArray> pages_;
    mutable std::vector<Block> blocks_;
    qsizetype size_ = 0; // of the packed text
    mutable qsizetype cachedBlock_ = -1;
    mutable QString cached_;
};

} // namespace tintwave::app
