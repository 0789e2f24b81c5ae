// What the three windows share: their faces, the button glyphs, the
// pictures, the frame allowance and the conversion of texts between the
// library and the controls.
#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

#include "core/hstring.h"

class QAbstractButton;
class QLabel;
class QWidget;

// Window sizes are given as outer sizes; this is what a usual title bar and
// border take from them.
inline constexpr QSize kFrameAllowance{8, 34};

// Fixes the outer size and the screen position of a window.
void placeWindow(QWidget* window, int left, int top, int outerWidth, int outerHeight);
// Shrinks a window that does not fit the free part of its screen (within its
// minimum size) and moves it inside.
void fitOnScreen(QWidget* window);
// A white client area.
void paintWhite(QWidget* widget);

// Faces by their design names; when a face is missing the nearest installed
// face stands in (Liberation Mono, Liberation Serif, Comic Neue).
QFont courierNew(int pixels);
QFont timesNewRoman(int pixels, bool bold = false);
QFont msSerif(int pixels);
QFont comicSansMs(int pixels);
QFont buttonFace();
// Registers the stand-ins with the font system too, for texts that name a
// face without going through the functions above (rich text, style sheets).
void installFaceSubstitutes();

// Makes the pictures below ui/pictures readable as ":/pictures/NAME".
void registerPictures();
// The pictures below ui/pictures, by file name ("banner.jpg").
QPixmap picture(const QString& name);
// A picture whose colour at the bottom-left pixel lets the window show through.
QPixmap transparentPicture(const QString& name);
// A label at `x`, `y` of `size` showing a picture scaled to it.
QLabel* pictureBox(QWidget* parent, const char* objectName, const QPixmap& pixmap, int x, int y, int width,
                   int height);

enum class Glyph { Sets, Table, Run, Items, Exit, Info, Ok };
QIcon glyph(Glyph kind);
// A bitmap button: a glyph, then the label.
QAbstractButton* bitButton(QWidget* parent, const char* objectName, Glyph kind, const QString& label, int x, int y,
                           int width, int height);

// A library text for display: UTF-8 stays, other bytes are Windows-1252.
QString shown(const HString& text);
// A control's text for the library: its UTF-8 bytes, unaltered.
HString typed(const QString& text);
