#pragma once

// Shared by the window tests: the scripted platform behind a window, and helpers to reach
// controls by name and to answer modal dialogs.

#include "app/Services.h"
#include "palette/Palette.h"
#include "platform/memory/MemoryPlatform.h"
#include "platform/memory/MemorySettingsStore.h"

#include <QApplication>
#include <QMetaType>
#include <QTimer>
#include <QWidget>
#include <functional>

Q_DECLARE_METATYPE(tintwave::palette::Palette)

namespace tintwave::app::testing {

struct ScriptedPlatform {
    platform::MemorySettingsStore settings;
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
        return {settings, random,    colorDialog, saveDialog, inputPrompt,
                messages, clipboard, files,       urls,       systemColors};
    }
};

// Runs act on the next modal dialog once it is open (the code under test blocks in exec()).
inline void whenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

inline palette::Palette paletteOf(std::initializer_list<ColorValue> first) {
    palette::Palette p = palette::Palette::empty();
    int i = 0;
    for (ColorValue c : first)
        p[i++] = c;
    return p;
}

} // namespace tintwave::app::testing
