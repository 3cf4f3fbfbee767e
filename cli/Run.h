#pragma once

#include "cli/CommandLine.h"

#include <QByteArray>
#include <QString>
#include <span>

namespace tintwave::platform {
class FileWriter;
class SettingsStore;
} // namespace tintwave::platform

namespace tintwave::cli {

// What a run of the program reads and writes, so the whole run can be driven in tests.
class CliIo {
public:
    virtual ~CliIo() = default;
    // All of standard input, as bytes.
    virtual QByteArray readInput() = 0;
    // Writes bytes to standard output (the code may come in several blocks); false when
    // that failed.
    virtual bool writeOutput(const QByteArray& bytes) = 0;
    // One line (without its line break) on standard error.
    virtual void writeError(const QString& line) = 0;
    // The user's settings store; opened on first use only.
    virtual platform::SettingsStore& settings() = 0;
    virtual platform::FileWriter& files() = 0;
    // Whether standard output is a terminal, and the value of an environment variable.
    virtual bool outputIsTerminal() { return false; }
    virtual QByteArray environment(const char* /*name*/) { return {}; }
    // Shows frames in place on the terminal of standard output, as cli::animate does, and
    // returns what it returns.
    virtual int animate(std::span<const QByteArray> /*frames*/, double /*seconds*/) { return 0; }
};

// A problem of the command line, the output or the settings store, in one line on
// standard error.
void complain(CliIo& io, const QString& problem);

// Carries out parsed options and returns the exit status.
int run(const CliOptions& options, CliIo& io);

// Standard input as text: one final LF or CR LF removed, then decoded as UTF-8 with
// every invalid sequence replaced by U+FFFD.
QString textFromInput(QByteArray bytes);

} // namespace tintwave::cli
