#pragma once
// The two container classes of the forms, painted here: the panel (kPanelClass,
// with its bevels) and the group box (kGroupBoxClass, an etched frame under
// its caption). Both hand what their controls report on to their parent.
#include <windows.h>

namespace snipkit::win {

// Case-blind, as Windows compares class names.
bool SameClass(const wchar_t* a, const wchar_t* b);
bool IsContainerClass(const wchar_t* name);

// Registers a window class once per process; later calls find it registered.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, int extraBytes);
void RegisterContainerClasses(HINSTANCE instance);

// The face colour of a panel or group box, instead of the button face.
void SetContainerColour(HWND hwnd, COLORREF colour);

}  // namespace snipkit::win
