#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where the windows and their controls go. The windows are designed in twips and shown at
// 15 twips to the pixel; a control keeps its designed place but grows where the desktop's
// fonts need more room; a window is centred by its outer size (frame included).
namespace tintwave::app {

inline constexpr int kTwipsPerPixel = 15;

// The nearest pixel.
int toPixels(double twips);
QRect toPixels(const QRect& twips);

// Puts a control at its designed twip geometry.
template <typename W> W* placeAt(W* control, const QRect& twips) {
    control->setGeometry(toPixels(twips));
    return control;
}

// The designed sizes fit the designed face; where the desktop's wider or taller faces
// stand in for it, each control directly in client grows to show its whole content and
// keeps its designed place: wider to the right, taller about its designed middle (a label
// downward, so that its text still starts at the designed top). A push button grows only
// into free room, to the left where the right has none, and not for a one-glyph caption;
// text boxes scroll their content instead. Growing only, it may run again after captions
// change.
void fitToContents(QWidget* client);

// The width that shows a window's whole caption in a window manager's title bar, where it
// shares the width with the window's icon and buttons, which many window managers show
// whatever the window asks for: room for five title-bar squares beside the caption in the
// bold face title bars use; at least designedWidth.
int widthForCaption(const QWidget* window, int designedWidth);

// How centring rounds where the pixels do not divide evenly; each window keeps the way it
// has always stood.
enum class Centring {
    RoomDown,   // half of the room left over, rounded down (the main window)
    RoomUp,     // half of the room left over, rounded up (the splash and About window)
    HalvesDown, // half the area less half the box, each rounded down (Remove Scheme)
};

// The top-left corner that centres a box of size outer over area.
QPoint centredOver(const QRect& area, const QSize& outer, Centring centring = Centring::RoomDown);

} // namespace tintwave::app
