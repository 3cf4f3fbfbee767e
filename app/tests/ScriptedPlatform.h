#pragma once

// The in-memory platform behind a main window, for tests and benchmarks: every dialog
// answers from a script and every effect is recorded.

#include "app/Services.h"
#include "platform/memory/MemoryPlatform.h"
#include "platform/memory/MemorySettingsStore.h"

namespace tintwave::app::testing {

struct ScriptedPlatform {
    NoticeRelay notices;
    platform::MemorySettingsStore settings{[this](const QString& notice) {
        notices.report(notice);
    }};
    platform::SequenceRandomSource random;
    platform::ScriptedColorDialog colorDialog;
    platform::ScriptedSaveDialog saveDialog;
    platform::ScriptedInputPrompt inputPrompt;
    platform::RecordingMessageDisplay messages;
    platform::MemoryClipboard clipboard;
    platform::MemoryFileWriter files;
    platform::RecordingUrlOpener urls;
    platform::FixedSystemColors systemColors;

    Services services() {
        return {settings,  random, colorDialog, saveDialog,   inputPrompt, messages,
                clipboard, files,  urls,        systemColors, notices};
    }
};

} // namespace tintwave::app::testing
