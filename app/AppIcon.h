#pragma once

#include <QIcon>

namespace tintwave::app {

// The program's icon: a rainbow square with a white "T".
QIcon appIcon();

} // namespace tintwave::app
