// The names a screen reader announces for controls whose caption does not say what they are for,
// given through the accessibility layer's dynamic annotation.
#pragma once

#include <windows.h>

#include <string>

// Gives `control` the accessible name `name`; answers whether the accessibility layer took it
// (it needs COM on the calling thread). The name stays until it is cleared.
bool AnnotateAccessibleName(HWND control, const std::string& name);

// Takes the name away again, before the control is destroyed.
void ClearAccessibleName(HWND control);
