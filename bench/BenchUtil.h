#pragma once

// Shared by the benchmarks: the sample text and the process's peak memory.

#include <QString>
#include <sys/resource.h>

namespace tintwave::bench {

// pattern over and over, cut to length code units; never ends in half a surrogate pair.
inline QString repeated(const QString& pattern, qsizetype length) {
    QString text;
    text.reserve(length + pattern.size());
    while (text.size() < length) {
        text += pattern;
    }
    text.truncate(length);
    if (!text.isEmpty() && text.back().isHighSurrogate()) {
        text.back() = QLatin1Char('x');
    }
    return text;
}

// length code units of mixed text; breaks chooses words and spaces over one unbroken run.
// Never ends in half a surrogate pair.
inline QString sampleText(qsizetype length, bool breaks) {
    static const QString words = QStringLiteral("Grüße aus Tintwave, the quick brown fox "
                                                "jumps over the lazy dog; ünïcödé 😀 text. ");
    static const QString solid = QStringLiteral("Tintwave😀Grüße€");
    return repeated(breaks ? words : solid, length);
}

// length code units of words, emoji with skin tones, flags and Arabic, the text that is
// hardest to lay out. Never ends in half a surrogate pair.
inline QString mixedText(qsizetype length) {
    static const QString pattern =
        QStringLiteral("Grüße, quick brown fox 👋🏽 مرحبا بالعالم 🇩🇪 "
                       "jumps over 👍🏿 🇯🇵 السلام عليكم. ");
    return repeated(pattern, length);
}

// The whole process's peak resident memory so far.
inline long peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace tintwave::bench
