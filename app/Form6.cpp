#include "app/Form6.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace tintwave::app {

namespace {

constexpr int kClientWidth = 196;
constexpr int kClientHeight = 162;

// The width that shows the whole caption in a window manager's title bar, where it shares
// the designed width with the window's icon and its buttons, which many window managers
// show whatever the window asks for: room for five title-bar squares beside the caption
// in the bold face title bars use.
int widthForCaption(const QWidget* dialog) {
    QFont bold = dialog->font();
    bold.setBold(true);
    const int square = dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return std::max(kClientWidth,
                    QFontMetrics(bold).horizontalAdvance(dialog->windowTitle()) + 5 * square);
}

} // namespace

Form6::Form6(const QStringList& titles, std::function<void(int)> deleteIt, QWidget* mainWindow)
    : QDialog(mainWindow)
    , deleteIt_(std::move(deleteIt)) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(tr("Remove Scheme"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The controls keep their designed places, centred in a dialog widened for its caption.
    setFixedSize(widthForCaption(this), kClientHeight);
    const int dx = (width() - kClientWidth) / 2;
    if (mainWindow) {
        setWindowIcon(mainWindow->windowIcon());
        // Centred by outer sizes; the dialog's frame is not known before it is shown, so
        // it is taken to be as wide as the main window's.
        const QRect main = mainWindow->frameGeometry();
        const QSize outer = size() + main.size() - mainWindow->size();
        move(main.x() + main.width() / 2 - outer.width() / 2,
             main.y() + main.height() / 2 - outer.height() / 2);
    }

    remove_ = new QListWidget(this);
    remove_->setObjectName(QStringLiteral("remove"));
    remove_->setGeometry(dx + 2, 6, 191, 121);
    remove_->setSelectionMode(QAbstractItemView::SingleSelection);
    remove_->addItems(titles);
    remove_->clearSelection();
    remove_->installEventFilter(this);

    removeButton_ = new QPushButton(tr("Remove"), this);
    removeButton_->setObjectName(QStringLiteral("Command1(0)"));
    removeButton_->setGeometry(dx + 3, 135, 89, 25);
    removeButton_->setDefault(true);
    removeButton_->setEnabled(false);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command1(1)"));
    cancel->setGeometry(dx + 105, 135, 89, 25);

    connect(remove_, &QListWidget::itemSelectionChanged, this,
            [this] { removeButton_->setEnabled(!remove_->selectedItems().isEmpty()); });
    connect(removeButton_, &QPushButton::clicked, this, [this] { Command1_Click(0); });
    connect(cancel, &QPushButton::clicked, this, [this] { Command1_Click(1); });
    setTabOrder(remove_, removeButton_);
    setTabOrder(removeButton_, cancel);
    remove_->setFocus();
}

// While no line is selected, the first Up or Down selects the line with the focus frame
// (the first one after opening) instead of moving past it, so that Down and Enter remove
// the first scheme. Space selects it anyway; from then on the keys move as usual.
bool Form6::eventFilter(QObject* watched, QEvent* event) {
    if (watched == remove_ && event->type() == QEvent::KeyPress && remove_->count() > 0 &&
        remove_->selectedItems().isEmpty()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            remove_->setCurrentRow(std::max(0, remove_->currentRow()),
                                   QItemSelectionModel::ClearAndSelect);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form6::Command1_Click(int index) {
    if (index == 0) {
        const QModelIndexList selected = remove_->selectionModel()->selectedRows();
        if (selected.isEmpty()) {
            return;
        }
        deleteIt_(selected.first().row() + 1);
        accept();
        return;
    }
    reject();
}

} // namespace tintwave::app
