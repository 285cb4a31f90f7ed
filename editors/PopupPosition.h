#pragma once

// Screen point (pixels) where the next popup editor puts its top-left corner. The main window
// sets both before it starts an edit; every popup reads them each time it is shown.
extern int PopupLeft;
extern int PopupTop;
