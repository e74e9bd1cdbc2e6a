// The program's pictures, looked up by their resource names: icons (CLOSEDBOOK, ABOUT,
// OPEN, SAVE, DELETE, HELP, DRAG) and bitmaps (NEW, CLOSEDBOOK, OPENBOOK, LEAF, LEAF1 and
// the animation frames 102 to 112).
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace material::resources {

// Registers the compiled-in pictures; safe to call more than once.
void ensureLoaded();

QIcon icon(const QString& name);
QPixmap iconPixmap(const QString& name);
QPixmap bitmap(const QString& name);
QPixmap bitmap(int id);

}  // namespace material::resources
