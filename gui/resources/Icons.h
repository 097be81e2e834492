#pragma once

#include <QIcon>

// The program's icons, drawn with QPainter at whatever size and pixel ratio
// they are asked for, so they stay sharp on every screen. (No image plugin
// is needed at run time.) The program icon has the same design as
// kestrel.svg, which the desktop entry installs.
namespace kestrel::icons {

QIcon Program();
QIcon CodeInput();
QIcon Comment();
QIcon Colours();
QIcon Copy();
QIcon Print();
QIcon About();

}  // namespace kestrel::icons
