#pragma once
// Icons for the symbol names the screens use ("folder.fill", "person.crop.circle.fill", ...).
// Each symbol maps to icons of the freedesktop Adwaita theme (monochrome "-symbolic" icons that
// can be tinted), with a QStyle standard icon as the last resort, so every symbol shows something
// recognisable on every platform.
#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace Icons {

// Makes sure an icon theme that has the symbolic icons is searched (Adwaita as fallback theme).
void ensureTheme();

// The icon for a symbol name; never null.
QIcon icon(const QString &symbol);

// The icon for a symbol drawn in one colour (symbolic icons are recoloured; fallback icons from
// the style keep their own colours). size is in device-independent pixels.
QPixmap pixmap(const QString &symbol, int size, const QColor &tint = QColor());

// A tinted icon, for buttons and menu items.
QIcon tinted(const QString &symbol, const QColor &tint, int size = 32);

// Whether the symbol is drawn from the icon theme (not from a style fallback).
bool fromTheme(const QString &symbol);

// Semantic colours used with the icons.
QColor accent();
QColor secondaryText();
QColor tertiaryText();

} // namespace Icons
