#include "app/RemoveSchemeDialog.h"

#include "app/WindowPlacement.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace tintwave::app {

namespace {

constexpr int kClientWidth = 196;
constexpr int kClientHeight = 162;

} // namespace

RemoveSchemeDialog::RemoveSchemeDialog(const QStringList& titles, QWidget* mainWindow)
    : QDialog(mainWindow) {
    setObjectName(QStringLiteral("removeSchemeDialog"));
    setWindowTitle(tr("Remove Scheme"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The controls keep their designed places, centred in a dialog widened for its caption.
    setFixedSize(widthForCaption(this, kClientWidth), kClientHeight);
    const int dx = (width() - kClientWidth) / 2;
    if (mainWindow) {
        setWindowIcon(mainWindow->windowIcon());
        // The dialog's frame is not known before it is shown; it is taken to be as wide as
        // the main window's.
        const QRect main = mainWindow->frameGeometry();
        move(centredOver(main, size() + main.size() - mainWindow->size(), Centring::HalvesDown));
    }

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("removeSchemeList"));
    list_->setGeometry(dx + 2, 6, 191, 121);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    // A title longer than a line is shortened in the middle; its tooltip holds it whole.
    const int room = list_->width() - 2 * list_->frameWidth() -
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 8;
    for (const QString& title : titles) {
        auto* item = new QListWidgetItem(
            list_->fontMetrics().elidedText(title, Qt::ElideMiddle, room), list_);
        item->setToolTip(title);
    }
    list_->clearSelection();
    list_->installEventFilter(this);

    removeButton_ = new QPushButton(tr("Remove"), this);
    removeButton_->setObjectName(QStringLiteral("removeButton"));
    removeButton_->setGeometry(dx + 3, 135, 89, 25);
    removeButton_->setDefault(true);
    removeButton_->setEnabled(false);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setGeometry(dx + 105, 135, 89, 25);

    connect(list_, &QListWidget::itemSelectionChanged, this,
            [this] { removeButton_->setEnabled(!list_->selectedItems().isEmpty()); });
    connect(removeButton_, &QPushButton::clicked, this, &RemoveSchemeDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &RemoveSchemeDialog::reject);
    setTabOrder(list_, removeButton_);
    setTabOrder(removeButton_, cancel);
    list_->setFocus();
}

// While no line is selected, the first Up or Down selects the line with the focus frame
// (the first one after opening) instead of moving past it, so that Down and Enter remove
// the first scheme. Space selects it anyway; from then on the keys move as usual.
bool RemoveSchemeDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress && list_->count() > 0 &&
        list_->selectedItems().isEmpty()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            list_->setCurrentRow(std::max(0, list_->currentRow()),
                                 QItemSelectionModel::ClearAndSelect);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int RemoveSchemeDialog::chosenNumber() const {
    const QModelIndexList selected = list_->selectionModel()->selectedRows();
    return selected.isEmpty() ? 0 : selected.first().row() + 1;
}

void RemoveSchemeDialog::accept() {
    if (const int number = chosenNumber(); number > 0) {
        Q_EMIT chosen(number);
        QDialog::accept();
    }
}

} // namespace tintwave::app
