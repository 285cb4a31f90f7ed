#include "PopupPosition.h"

int PopupLeft = 0;
int PopupTop = 0;
