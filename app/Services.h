#pragma once

#include <QStringList>
#include <functional>
#include <utility>

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

// Carries the settings store's notices to the main window. The store is made before the
// window, and the window reads it while still hidden: until a receiver is set, notices
// wait (each text once), and setting one hands them over as one message.
class NoticeRelay {
public:
    void report(const QString& notice) {
        if (receiver_) {
            receiver_(notice);
        } else if (!held_.contains(notice)) {
            held_ << notice;
        }
    }
    // Nothing: hold notices again.
    void setReceiver(std::function<void(const QString&)> receiver) {
        receiver_ = std::move(receiver);
        if (receiver_ && !held_.isEmpty()) {
            receiver_(std::exchange(held_, {}).join(u'\n'));
        }
    }

private:
    std::function<void(const QString&)> receiver_;
    QStringList held_;
};

// The platform facilities the windows use. The program passes the Qt implementations;
// tests pass scripted in-memory ones. Not owned. The settings store reports its notices
// to notices.
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
    NoticeRelay& notices;
};

} // namespace tintwave::app
