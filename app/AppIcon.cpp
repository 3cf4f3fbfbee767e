#include "app/AppIcon.h"

namespace tintwave::app {

QIcon appIcon() {
    // Rendered from data/icons/ at build time into this resource.
    QIcon bundled;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        bundled.addFile(QStringLiteral(":/icons/%1x%1/apps/%2.png").arg(size).arg(kDesktopId),
                        QSize(size, size));
    }
    return QIcon::fromTheme(QLatin1String(kDesktopId), bundled);
}

} // namespace tintwave::app
