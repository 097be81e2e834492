#pragma once

namespace kestrel {

// Makes a QGuiApplication, on Qt's offscreen platform unless QT_QPA_PLATFORM
// names another, the first time one is needed and none exists: Qt's fonts,
// text drawn by QPainter and the vector pictures need it; pictures whose
// text FreeType gives do not, and a program that writes only those never
// pays for starting Qt's GUI. Call it on the main thread. The application
// lives until the process ends.
void EnsureGuiApplication();

}  // namespace kestrel
