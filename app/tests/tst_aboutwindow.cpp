#include "app/AboutWindow.h"
#include "platform/memory/MemoryPlatform.h"

#include <QLabel>
#include <QTest>
#include <functional>
#include <memory>

using namespace tintwave;
using namespace tintwave::app;

class TestAboutWindow : public QObject {
    Q_OBJECT
    platform::RecordingUrlOpener urls;
    QWidget main;
    std::unique_ptr<AboutWindow> about;

    void click(QWidget* target) { QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5)); }
    QLabel* label(int index) const {
        const char* names[] = {"productLabel", "creditLabel", "emailLabel", "webLabel"};
        return about->findChild<QLabel*>(QLatin1String(names[index]));
    }

private Q_SLOTS:
    void init() {
        main.setGeometry(100, 80, 482, 365);
        about = std::make_unique<AboutWindow>(&main, urls);
    }

    // A frameless tool window with four labels, centred over the main window each time it
    // opens. Rainbow column c keeps the colour of step 5c + 5, the last one drawn into it.
    void window_labelsRainbowAndPlace() {
        QCOMPARE(about->size(), QSize(306, 147)); // 4590 x 2205 twips
        QCOMPARE(about->windowFlags() & (Qt::WindowType_Mask | Qt::FramelessWindowHint),
                 Qt::Tool | Qt::FramelessWindowHint);
        QStringList shown;
        for (int i = 0; i < 4; ++i) {
            const QLabel* l = label(i);
            QCOMPARE(l->size().expandedTo(l->sizeHint()), l->size()); // the whole text shows
            shown << QString("%1 | %2 %3 | %4,%5")
                         .arg(l->text(), l->font().family())
                         .arg(l->font().pointSizeF())
                         .arg(l->x())
                         .arg(l->y());
        }
        const QImage image = about->rainbow().toImage();
        for (int column : {0, 50, 51, 101, 102, 153, 203, 255, 305}) {
            shown << image.pixelColor(column, image.height() - 1).name();
        }
        QCOMPARE(shown, QStringList({"Tintwave | Times New Roman 18 | 18,23",
                                     "Gradient text for the web | Times New Roman 14.25 | 21,59",
                                     "hello@tintwave.example | Times New Roman 14.25 | 62,86",
                                     "https://tintwave.example/ | Times New Roman 12 | 15,108",
                                     "#ff0500", "#ffff00", "#faff00", "#00ff00", "#00ff05",
                                     "#00faff", "#0000ff", "#ff00fa", "#ff0000"}));
        about->show();
        QCOMPARE(about->pos(), QPoint(176, 189)); // 482 / 2 - 331 / 2 + 100, 365 / 2 - 147 / 2 + 80
        about->hide();
        main.move(300, 10);
        about->show();
        QCOMPARE(about->pos(), QPoint(376, 119));
    }

    // The web address opens and other keys do nothing; a click anywhere else, the close
    // box, Escape, Enter or Space close the window and show the main window.
    void input_closesAndShowsMainWindowExceptWebAddressAndOtherKeys() {
        about->show();
        QTest::keyClick(about.get(), Qt::Key_A);
        click(label(3));
        QVERIFY(about->isVisible() && !main.isVisible());
        QCOMPARE(urls.opened, QStringList{AboutWindow::kWebAddress});
        const auto key = [this](Qt::Key k) {
            return std::function([this, k] { QTest::keyClick(about.get(), k); });
        };
        for (const auto& close : {std::function([this] { click(label(0)); }),
                                  std::function([this] { click(about.get()); }),
                                  std::function([this] { about->close(); }), key(Qt::Key_Escape),
                                  key(Qt::Key_Return), key(Qt::Key_Enter), key(Qt::Key_Space)}) {
            main.hide();
            about->show();
            close();
            QVERIFY(!about->isVisible() && main.isVisible());
        }
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
