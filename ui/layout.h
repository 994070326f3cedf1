// The arithmetic of the main window's layout: dialog units, the resize rule
// and the control font's height. No Windows types here, so that it is tested
// natively; the Win32 code supplies the pixel measures.
#pragma once

// A size in dialog units of the main dialog (its template font, 8-point
// "MS Sans Serif", defines them), or in pixels.
struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Pixels back to units on one axis: pixels_per_1024_units is the pixel length
// of 1024 units (MapDialogRect of a 1024 x 1024 rectangle), which keeps the
// rounding of the dialog's base units out of the ratio. Halves round up; a
// failed mapping (0) gives 0.
int PixelsToUnits(int pixels, int pixels_per_1024_units);

// WM_SIZE types the resize rule answers: restored (0) and maximized (2).
// Minimized (1), max-show (3) and max-hide (4) leave the layout alone, so a
// minimized window keeps its controls and restoring it lays them out again.
bool IsLayoutSizeType(unsigned size_type);

// Below this outer size the window is set back: each dimension separately.
inline constexpr Size kMinimumWindowUnits{200, 76};

// The main window's layout for an outer size (frame and caption included), in
// units. Only the widths and the history's height follow the window; the
// input and result fields stay 15 units high and no control moves.
struct Layout {
  Size window;
  Size input;
  Size result;
  Size history;
  friend bool operator==(const Layout&, const Layout&) = default;
};
Layout LayoutForWindow(Size outer_units);

// lfHeight of the control font, bold 12-point Tahoma: negative, so the height
// is the character height without internal leading; the division truncates
// (1200 / 72 at 100 dpi gives 16).
int ControlFontHeight(int logpixelsy);
