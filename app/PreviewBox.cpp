#include "app/PreviewBox.h"

#include "color/ColorProcs.h"
#include "platform/SystemColors.h"

#include <QKeyEvent>
#include <algorithm>

namespace tintwave::app {

namespace {

QColor toQColor(ColorValue c) {
    return QColor(color::red(c), color::green(c), color::blue(c));
}

} // namespace

PreviewBox::PreviewBox(const platform::SystemColors& systemColors, QWidget* parent)
    : LazyTextView(parent)
    , systemColors_(systemColors) {
    QFont boxFont(QStringLiteral("Arial"));
    boxFont.setPointSizeF(14.25);
    setFont(boxFont);
    setBackColor(backColor_);
    restyle();
    setAccessibleName(tr("Preview"));
    setAccessibleDescription(tr("The colorized text; Space chooses the background colour"));
}

PreviewBox::~PreviewBox() = default;

void PreviewBox::Colors::character(const engine::CharColor& c) {
    if (c.length > 1) {
        clusters_.push_back({c.start, c.length});
    }
    Run* last = runs_.empty() ? nullptr : &runs_.back();
    if (last && last->color == c.color && last->start + last->length == c.start) {
        last->length += c.length;
    } else {
        runs_.push_back({c.start, c.length, c.color});
    }
}

void PreviewBox::showColorized(const QString& text, Colors colors, const QString& face, bool bold,
                               bool italic, bool underline) {
    runs_ = std::move(colors.runs_);
    face_ = face;
    bold_ = bold;
    italic_ = italic;
    underline_ = underline;
    restyle();
    setContent(text, std::move(colors.clusters_));
}

void PreviewBox::showColorized(const QString& text, const std::vector<engine::CharColor>& chars,
                               const QString& face, bool bold, bool italic, bool underline) {
    Colors colors;
    for (const engine::CharColor& c : chars) {
        colors.character(c);
    }
    showColorized(text, std::move(colors), face, bold, italic, underline);
}

void PreviewBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        Q_EMIT clicked();
    } else {
        LazyTextView::keyPressEvent(event);
    }
}

void PreviewBox::setBackColor(ColorValue color) {
    backColor_ = color;
    QPalette p = palette();
    p.setColor(QPalette::Base, toQColor(systemColors_.resolve(color)));
    setPalette(p);
}

ColorValue PreviewBox::colorAt(qsizetype pos) const {
    auto it = std::upper_bound(runs_.begin(), runs_.end(), pos,
                               [](qsizetype p, const Run& r) { return p < r.start; });
    if (it == runs_.begin()) {
        return -1;
    }
    --it;
    return pos < it->start + it->length ? it->color : -1;
}

// The display font: the box's own font with the chosen face and the whole-box styles.
// Every later run sets all three styles, so none lingers from an earlier run.
void PreviewBox::restyle() {
    QFont display = font();
    if (!engine::isNone(face_)) {
        // The box's style hint belongs to its own face: kept, it would make fontconfig
        // choose a sans face for "Courier New" instead of the monospaced stand-in a
        // browser finds for it.
        display.setFamilies({face_});
        display.setStyleHint(QFont::AnyStyle);
    }
    display.setBold(bold_);
    display.setItalic(italic_);
    display.setUnderline(underline_);
    setDisplayFont(display);
}

// Colour runs of the slice [start, start + length), relative to the slice.
std::vector<LazyTextView::ColorRange> PreviewBox::colorsFor(qsizetype start,
                                                            qsizetype length) const {
    std::vector<ColorRange> ranges;
    auto it = std::upper_bound(runs_.begin(), runs_.end(), start,
                               [](qsizetype p, const Run& r) { return p < r.start; });
    if (it != runs_.begin()) {
        --it;
    }
    for (; it != runs_.end() && it->start < start + length; ++it) {
        const qsizetype from = std::max(it->start, start);
        const qsizetype to = std::min(it->start + it->length, start + length);
        if (from < to) {
            ranges.push_back({from - start, to - from, toQColor(it->color)});
        }
    }
    return ranges;
}

} // namespace tintwave::app
