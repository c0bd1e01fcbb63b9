// Gives a dialog the application icon (resource 128) at the system's large
// and small icon sizes.
#pragma once
#include "framework/Window.h"

void SetApplicationIcons(const CWindow& dialog);
