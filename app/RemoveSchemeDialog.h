#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace tintwave::app {

// The Remove Scheme dialog: the user schemes' titles in scheme order. "Remove" (the
// default button) accepts and is enabled only while a line is selected; "Cancel", Escape
// and the close box reject. Accepting reports the chosen scheme before the dialog closes.
// Made afresh for each opening and shown modally with exec().
class RemoveSchemeDialog : public QDialog {
    Q_OBJECT
public:
    RemoveSchemeDialog(const QStringList& titles, QWidget* mainWindow);

public Q_SLOTS:
    // With a line selected, reports it as chosen and closes the dialog; otherwise does
    // nothing.
    void accept() override;

Q_SIGNALS:
    // number: the scheme on the selected line, 1-based.
    void chosen(int number);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The scheme on the selected line, 1-based; 0 while no line is selected.
    int chosenNumber() const;

    QListWidget* list_ = nullptr;
    QPushButton* removeButton_ = nullptr;
};

} // namespace tintwave::app
