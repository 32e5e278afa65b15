#pragma once

#include <QFont>

class QWidget;

namespace gui {

// The font of the window and of every form: Liberation Sans (package
// fonts-liberation) at 11 pixels on a 96 dpi screen, growing with the
// desktop's font resolution. Chosen by name and checked: when the family is
// missing, one line on standard error says so and names the font used.
QFont WindowFont();

// A design size in pixels at 96 dpi with the 11-pixel font, scaled to the
// font `widget` has now, so forms keep their proportions at any resolution.
int DesignPixels(const QWidget* widget, int pixels);

// The width of a box for the recorder's 32-character description: the
// designed 271 pixels, or enough for 32 capitals of middling width, so a
// description typed in capitals shows whole.
int DescriptionBoxWidth(const QWidget* edit);

// Gives a fixed-size form its designed client size (scaled with the font),
// or the size its layout asks for where that is larger, and places the
// controls at once, shown or not.
void FitFixedForm(QWidget* form, int designWidth, int designHeight);

}  // namespace gui
