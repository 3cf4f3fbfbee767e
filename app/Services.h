#pragma once

namespace tintwave::platform {
class SettingsStore;
class RandomSource;
class ColorDialog;
class SaveDialog;
class InputPrompt;
class MessageDisplay;
class Clipboard;
class FileWriter;
class UrlOpener;
class SystemColors;
} // namespace tintwave::platform

namespace tintwave::app {

// The platform facilities the windows use. The program passes the Qt implementations;
// tests pass scripted in-memory ones. Not owned.
struct Services {
    platform::SettingsStore& settings;
    platform::RandomSource& random;
    platform::ColorDialog& colorDialog;
    platform::SaveDialog& saveDialog;
    platform::InputPrompt& inputPrompt;
    platform::MessageDisplay& messages;
    platform::Clipboard& clipboard;
    platform::FileWriter& files;
    platform::UrlOpener& urls;
    platform::SystemColors& systemColors;
};

} // namespace tintwave::app
