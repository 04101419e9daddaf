#pragma once
// The program's pictures, drawn in code: the main window's background (whose outside, in the
// cut-away colour, gives the window its shape), the picture buttons in each of their states,
// and the program icon.
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QString>

class QPainter;

namespace qz::art {

// Every pixel of this colour in the background lies outside the window.
inline constexpr QRgb kCutAwayColour = qRgb(255, 168, 255);

inline constexpr int kWindowWidth = 762;
inline constexpr int kWindowHeight = 458;

// The card behind the address row and the card behind the log box, in window coordinates.
inline constexpr QRect kAddressPanel{16, 36, 703, 48};
inline constexpr QRect kLogPanel{16, 92, 723, 307};

QPixmap mainWindowBackground();
QImage programIcon(int size);

enum class ButtonLook { Accent, Plain, TitleMinimise, TitleClose };
enum class ButtonState { Normal, Hover, Pressed, Disabled };

void paintButton(QPainter& painter, const QRectF& area, ButtonLook look, ButtonState state,
                 const QString& text);

}  // namespace qz::art
