#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QListWidget;
class QPushButton;

namespace tintwave::app {

// The Remove Scheme dialog: the user schemes' titles in scheme order; the selected line
// is removed through deleteIt (1-based scheme number). "Remove" (the default button) is
// enabled only while a line is selected; "Cancel", Escape and the close box remove
// nothing. Made afresh for each opening and shown modally with exec().
class Form6 : public QDialog {
    Q_OBJECT
public:
    Form6(const QStringList& titles, std::function<void(int)> deleteIt, QWidget* mainWindow);

    // 0: Remove, 1: Cancel.
    void Command1_Click(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(int)> deleteIt_;
    QListWidget* remove_ = nullptr;
    QPushButton* removeButton_ = nullptr;
};

} // namespace tintwave::app
