// tintwave-cli: colours a text from the command line or standard input into gradient HTML.

#include "cli/Animation.h"
#include "cli/CommandLine.h"
#include "cli/Run.h"
#include "platform/qt/QSettingsStore.h"
#include "platform/qt/SaveFileWriter.h"

#include <QCoreApplication>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

using namespace tintwave;

// The real standard streams, the user's settings store and atomic file writes.
class StandardIo : public cli::CliIo {
public:
    QByteArray readInput() override {
        QByteArray bytes;
        constexpr qsizetype kChunk = 1 << 20;
        for (;;) {
            const qsizetype used = bytes.size();
            bytes.resize(used + kChunk);
            const std::size_t got = std::fread(bytes.data() + used, 1, kChunk, stdin);
            bytes.truncate(used + qsizetype(got));
            if (got < std::size_t(kChunk)) {
                return bytes;
            }
        }
    }

    bool writeOutput(const QByteArray& bytes) override {
        const std::size_t written = std::fwrite(bytes.constData(), 1, bytes.size(), stdout);
        return std::fflush(stdout) == 0 && written == std::size_t(bytes.size());
    }

    void writeError(const QString& line) override {
        const QByteArray bytes = line.toUtf8() + '\n';
        std::fwrite(bytes.constData(), 1, bytes.size(), stderr);
    }

    platform::SettingsStore& settings() override {
        if (!store_) {
            // Only read: a damaged file is mentioned and left for the window to repair.
            store_ = std::make_unique<platform::QSettingsStore>(
                platform::kSettingsApplication,
                [this](const QString& notice) { cli::complain(*this, notice); },
                platform::QSettingsStore::Access::ReadOnly);
        }
        return *store_;
    }

    platform::FileWriter& files() override { return writer_; }

    bool outputIsTerminal() override { return cli::isTerminal(STDOUT_FILENO); }
    QByteArray environment(const char* name) override { return qgetenv(name); }
    int animate(std::span<const QByteArray> frames, double seconds) override {
        std::fflush(stdout);
        return cli::animate(frames, seconds, STDOUT_FILENO);
    }

private:
    std::unique_ptr<platform::QSettingsStore> store_;
    platform::SaveFileWriter writer_;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    StandardIo io;
    const cli::ParseResult parsed = cli::parseArguments(QCoreApplication::arguments());
    if (!parsed.ok()) {
        cli::complain(io, parsed.error);
        return cli::kExitUsage;
    }
    return cli::run(parsed.options, io);
}
