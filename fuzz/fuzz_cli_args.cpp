// The command-line parser on arbitrary argument lists: the bytes are split at NUL into
// arguments (each decoded as UTF-8) after the program name. Every list must either be
// refused with a one-line message or give options the run can rely on.
#include "cli/CommandLine.h"
#include "fuzz/FuzzCheck.h"

#include <QStringList>

using namespace tintwave;

namespace {

bool plainOrEmpty(ColorValue v) {
    return v < 0 || v <= kWhite;
}

void checkOptions(const cli::CliOptions& o) {
    FUZZ_CHECK(!(o.colors && o.scheme));
    if (o.colors) {
        for (ColorValue v : *o.colors) {
            FUZZ_CHECK(plainOrEmpty(v));
        }
    }
    FUZZ_CHECK(engine::sizeChoices().contains(o.style.size));
    for (QChar c : {QLatin1Char('"'), QLatin1Char('<'), QLatin1Char('>')}) {
        FUZZ_CHECK(!o.style.face.contains(c));
    }
    FUZZ_CHECK(o.background >= 0 && o.background <= kWhite);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList arguments{QStringLiteral("tintwave-cli")};
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!bytes.isEmpty()) {
        for (const QByteArray& argument : bytes.split('\0')) {
            arguments << QString::fromUtf8(argument);
        }
    }
    const cli::ParseResult r = cli::parseArguments(arguments);
    if (!r.ok()) {
        FUZZ_CHECK(!r.error.trimmed().isEmpty());
        FUZZ_CHECK(!r.error.contains(u'\n') && !r.error.contains(u'\r'));
        return 0;
    }
    checkOptions(r.options);
    return 0;
}
