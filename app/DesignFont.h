#pragma once

#include <QFont>

// The windows are laid out for Tahoma at 13 px. Where Tahoma is not installed, the
// metric-compatible Tahoma of Wine's font package (fonts-wine), when present, is made
// available to this program alone; without either the platform's substitute is drawn. Needs
// a QGuiApplication; calling it again does nothing.
void RegisterDesignFont();

// Tahoma at 13 px: the font of every window of the program.
QFont DesignFont();

// Makes the design font the application's font, for every window, menu, tool tip and box
// (start-up calls it once, before any window exists). Needs a QApplication.
void UseDesignFont();
