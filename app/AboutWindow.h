#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;

namespace tintwave::platform {
class UrlOpener;
}

namespace tintwave::app {

// The splash and About window: product name, credit line, e-mail and web address over a
// rainbow. A click anywhere but the web address closes it and shows the main window;
// the web address opens in the default browser and leaves the window open. Shown
// modeless at start (showAsSplash()) and modal as About box (exec()).
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(QWidget* mainWindow, platform::UrlOpener& urls, QWidget* parent = nullptr);

    // Shows the window modeless; it deletes itself once closed.
    void showAsSplash();

    static const char* const kCreditLine;
    static const char* const kEmail;
    static const char* const kWebAddress;

    // The designed client size in twips.
    static constexpr int kDesignedWidthTwips = 4965;
    static constexpr int kDesignedHeightTwips = 2205;

    // The rainbow as drawn at load, at the designed size; the window shows its left part.
    const QPixmap& rainbow() const { return rainbow_; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public Q_SLOTS:
    void done(int result) override;

private:
    QLabel* addLabel(const char* name, const QString& text, qreal pointSize, QRect twips,
                     Qt::Alignment alignment);
    void centreOverMainWindow();

    QWidget* mainWindow_;
    platform::UrlOpener& urls_;
    QPixmap rainbow_;
    QLabel* webLabel_ = nullptr;
};

} // namespace tintwave::app
