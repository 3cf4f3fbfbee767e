#include "app/AboutWindow.h"

#include "app/WindowPlacement.h"
#include "platform/UrlOpener.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <optional>

namespace tintwave::app {

const char* const AboutWindow::kCreditLine =
    QT_TRANSLATE_NOOP("tintwave::app::AboutWindow", "Gradient text for the web");
const char* const AboutWindow::kEmail = "hello@tintwave.example";
const char* const AboutWindow::kWebAddress = "https://tintwave.example/";

namespace {

constexpr int kRainbowSteps = 1530;

// The colour of step i of the rainbow, red through yellow, green, cyan, blue and magenta
// back to red; step 0 has none.
std::optional<QColor> rainbowColor(int i) {
    if (i >= 1 && i <= 255) {
        return QColor(255, i, 0);
    }
    if (i >= 256 && i <= 510) {
        return QColor(510 - i, 255, 0);
    }
    if (i >= 511 && i <= 765) {
        return QColor(0, 255, i - 510);
    }
    if (i >= 766 && i <= 1020) {
        return QColor(0, 1020 - i, 255);
    }
    if (i >= 1021 && i <= 1275) {
        return QColor(i - 1020, 0, 255);
    }
    if (i >= 1276 && i <= 1530) {
        return QColor(255, 0, 1530 - i);
    }
    return std::nullopt;
}

// One vertical line per step, s twips apart (s = whole part of width / 1530), each
// mapped to the nearest pixel column; where steps share a column the later one stays.
QPixmap drawRainbow(QSize pixels, int widthTwips, int heightTwips, const QColor& background) {
    QPixmap pixmap(pixels);
    pixmap.fill(background);
    QPainter painter(&pixmap);
    const int s = widthTwips / kRainbowSteps;
    for (int i = 0; i <= kRainbowSteps; ++i) {
        const std::optional<QColor> color = rainbowColor(i);
        if (!color) {
            continue;
        }
        const int x = toPixels(s * (i - s));
        painter.setPen(*color);
        painter.drawLine(x, 0, x, toPixels(heightTwips));
    }
    return pixmap;
}

} // namespace

AboutWindow::AboutWindow(QWidget* mainWindow, platform::UrlOpener& urls, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint)
    , mainWindow_(mainWindow)
    , urls_(urls) {
    if (mainWindow_) {
        setWindowIcon(mainWindow_->windowIcon());
    }
    const QSize designed(toPixels(kDesignedWidthTwips), toPixels(kDesignedHeightTwips));
    rainbow_ = drawRainbow(designed, kDesignedWidthTwips, kDesignedHeightTwips,
                           palette().color(QPalette::Window));

    addLabel("productLabel", QStringLiteral("Tintwave"), 18, {270, 345, 3930, 405},
             Qt::AlignHCenter);
    addLabel("creditLabel", tr(kCreditLine), 14.25, {315, 885, 3900, 315}, Qt::AlignLeft);
    addLabel("emailLabel", QString::fromUtf8(kEmail), 14.25, {930, 1290, 2640, 315}, Qt::AlignLeft);
    webLabel_ = addLabel("webLabel", QString::fromUtf8(kWebAddress), 12, {225, 1620, 3825, 285},
                         Qt::AlignLeft);
    webLabel_->installEventFilter(this);
    // Where a wider or taller face stands in for Times New Roman, the texts grow to the
    // right and downward instead of being cut off.
    fitToContents(this);

    // The rainbow spans s x 1530 twips; the window is narrowed to exactly that.
    const int s = kDesignedWidthTwips / kRainbowSteps;
    setFixedSize(toPixels(s * kRainbowSteps), designed.height());
}

QLabel* AboutWindow::addLabel(const char* name, const QString& text, qreal pointSize, QRect twips,
                              Qt::Alignment alignment) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(pointSize);
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignTop);
    return placeAt(label, twips);
}

// Centred with the designed width, as the window stood before it was narrowed, so it
// sits a little left of the middle, the way the program has always placed it.
void AboutWindow::centreOverMainWindow() {
    if (mainWindow_) {
        move(centredOver(mainWindow_->frameGeometry(),
                         QSize(toPixels(kDesignedWidthTwips), toPixels(kDesignedHeightTwips)),
                         Centring::RoomUp));
    }
}

void AboutWindow::showAsSplash() {
    setAttribute(Qt::WA_DeleteOnClose);
    show();
    activateWindow(); // so that its keys reach it
}

void AboutWindow::showEvent(QShowEvent* event) {
    centreOverMainWindow();
    QDialog::showEvent(event);
}

void AboutWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, rainbow_);
}

void AboutWindow::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void AboutWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        accept();
    }
}

// Escape, Enter and Space close the window as a click does; other keys are ignored.
void AboutWindow::keyPressEvent(QKeyEvent* event) {
    event->accept();
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        accept();
        break;
    default:
        break;
    }
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != webLabel_) {
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonPress) {
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            webLabel_->rect().contains(mouse->position().toPoint())) {
            urls_.open(QString::fromUtf8(kWebAddress)); // a failure leaves the window as it is
        }
        return true;
    }
    return false;
}

// However the window goes away, the main window must be on screen afterwards; otherwise
// a splash closed by the window manager would leave an invisible program running.
void AboutWindow::done(int result) {
    QDialog::done(result);
    if (!mainWindow_) {
        return;
    }
    if (!mainWindow_->isVisible()) {
        mainWindow_->show();
    }
    // Hand the keyboard back explicitly: without a window manager to do it, the main
    // window would stay inactive and its shortcuts (Ctrl+S, Ctrl+Q) would not fire.
    mainWindow_->activateWindow();
}

} // namespace tintwave::app
