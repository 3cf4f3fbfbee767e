#include "platform/widgets/QtDialogs.h"

#include "platform/widgets/QtColor.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace tintwave::platform {

namespace {

QWidget* dialogParent() {
    return QApplication::activeWindow();
}

} // namespace

std::optional<ColorValue> QtColorDialog::pickColor(ColorValue current) {
    const QColor initial = isSystemColor(current) ? QColor(Qt::white) : toQColor(current);
    const QColor chosen = QColorDialog::getColor(initial, dialogParent());
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return fromQColor(chosen);
}

std::optional<QString> QtSaveDialog::getSaveFileName(const QString& proposal,
                                                     const QString& filter) {
    const QString path =
        QFileDialog::getSaveFileName(dialogParent(), QObject::tr("Save As"), proposal, filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

std::optional<QString> QtInputPrompt::getText(const QString& prompt, const QString& title,
                                              const QString& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(dialogParent(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

void QtMessageDisplay::show(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, title, text,
                    QMessageBox::Ok, dialogParent());
    box.exec();
}

} // namespace tintwave::platform
