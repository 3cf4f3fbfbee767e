#include "engine/MarkupBuffer.h"

#include <QChar>
#include <algorithm>

namespace tintwave::engine {

namespace {

// Big enough that the sink is called rarely, small enough to stay in the cache.
constexpr qsizetype kCapacity = qsizetype(1) << 15;

} // namespace

MarkupBuffer::MarkupBuffer(CodeSink& sink)
    : sink_(sink)
    , data_(new char16_t[std::size_t(kCapacity)])
    , cursor_(data_.get())
    , end_(data_.get() + kCapacity) {
}

void MarkupBuffer::putDecimal(int component) {
    if (component >= 100) {
        put(char16_t(u'0' + component / 100));
    }
    if (component >= 10) {
        put(char16_t(u'0' + component / 10 % 10));
    }
    put(char16_t(u'0' + component % 10));
}

void MarkupBuffer::putLong(const char16_t* units, qsizetype count) {
    while (count > 0) {
        if (cursor_ == end_) {
            flush();
        }
        const qsizetype part = std::min(count, qsizetype(end_ - cursor_));
        std::memcpy(cursor_, units, sizeof(char16_t) * std::size_t(part));
        cursor_ += part;
        units += part;
        count -= part;
    }
}

void MarkupBuffer::flush() {
    char16_t* begin = data_.get();
    const qsizetype used = cursor_ - begin;
    // A high surrogate at the end waits for its low half, so every piece is whole text.
    const bool holdBack = used > 0 && QChar::isHighSurrogate(begin[used - 1]);
    const qsizetype ready = holdBack ? used - 1 : used;
    if (ready > 0) {
        sink_.write(QStringView(begin, ready));
    }
    if (holdBack) {
        begin[0] = begin[used - 1];
    }
    cursor_ = begin + (holdBack ? 1 : 0);
}

} // namespace tintwave::engine
