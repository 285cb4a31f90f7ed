#pragma once

// The windows are laid out for Tahoma at 13 px. Where Tahoma is not installed, the
// metric-compatible Tahoma of Wine's font package (fonts-wine), when present, is made
// available to this program alone; without either the platform's substitute is drawn. Needs
// a QGuiApplication; calling it again does nothing.
void RegisterDesignFont();
