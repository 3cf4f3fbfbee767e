#pragma once

// In-memory stand-ins for the platform facilities, for tests: each one answers from a
// script the test sets up and records what the code under test asked of it.

#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/FileWriter.h"
#include "platform/RandomSource.h"
#include "platform/SystemColors.h"
#include "platform/UrlOpener.h"

#include <QList>
#include <QMap>
#include <QStringList>
#include <deque>
#include <stdexcept>

namespace tintwave::platform {

// Hands out a fixed sequence of numbers; running past its end is a test error.
class SequenceRandomSource : public RandomSource {
public:
    explicit SequenceRandomSource(std::deque<float> values = {})
        : values(std::move(values)) {}
    float next() override {
        if (values.empty()) {
            throw std::logic_error("SequenceRandomSource ran out of numbers");
        }
        const float v = values.front();
        values.pop_front();
        ++drawn;
        return v;
    }
    std::deque<float> values;
    int drawn = 0;
};

class MemoryFileWriter : public FileWriter {
public:
    WriteError writeFile(const QString& path, const QByteArray& bytes) override {
        if (failWith) {
            return failWith;
        }
        files[path] = bytes;
        return std::nullopt;
    }
    QMap<QString, QByteArray> files;
    WriteError failWith; // set to make every write fail with this reason
};

class MemoryClipboard : public Clipboard {
public:
    void setText(const QString& t) override {
        text = t;
        html.clear();
        ++setCount;
    }
    void setRichText(const QString& h, const QString& plain) override {
        setText(plain);
        html = h;
    }
    QString plainText() const override { return text; }
    QString text;
    QString html; // empty for plain text
    int setCount = 0;
};

class ScriptedInputPrompt : public InputPrompt {
public:
    std::optional<QString> getText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override {
        asked << prompt + QLatin1Char('|') + title;
        shown << defaultText;
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    QList<std::optional<QString>> answers; // nothing stands for Cancel, as do no answers
    QStringList asked;
    QStringList shown; // the text each prompt opened with
};

class ScriptedColorDialog : public ColorDialog {
public:
    std::optional<ColorValue> pickColor(ColorValue) override {
        ++opened;
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    QList<std::optional<ColorValue>> answers; // nullopt stands for Cancel
    int opened = 0;
};

class ScriptedSaveDialog : public SaveDialog {
public:
    std::optional<QString> getSaveFileName(const QString& proposal,
                                           const QString& filter) override {
        asked << proposal + QLatin1Char('|') + filter;
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    QList<std::optional<QString>> answers; // nullopt stands for Cancel
    QStringList asked;
};

class RecordingMessageDisplay : public MessageDisplay {
public:
    void show(const QString& text, const QString& title, Icon icon) override {
        shown << title + QLatin1String(icon == Icon::Warning ? " (!): " : ": ") + text;
    }
    QStringList shown; // "title: text", "title (!): text" with the warning icon
};

class RecordingUrlOpener : public UrlOpener {
public:
    bool open(const QString& url) override {
        opened << url;
        return true;
    }
    QStringList opened;
};

// Resolves the two references the program uses to fixed colours.
class FixedSystemColors : public SystemColors {
public:
    ColorValue resolve(ColorValue color) const override {
        if (color >= 0) {
            return color;
        }
        return color == kButtonFace ? buttonFace : windowBackground;
    }
    ColorValue buttonFace = 0xF0F0F0;
    ColorValue windowBackground = kWhite;
};

} // namespace tintwave::platform
