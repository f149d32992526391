// What the program's windows ask the window manager for: the title bar of the small dialogs
// (close button only) and the stay-on-top state.
#pragma once

class QWidget;

// Call before Window is first shown (its showEvent will do). The window flags ask every
// window manager that honours them; Openbox draws minimise and maximise on every dialog
// whatever they say and leaves them off only for tool bars and menus, so under Openbox the
// window also names itself a tool bar first (then a dialog). Nothing happens off X11.
void RequestCloseButtonOnly(QWidget& window);

// Asks the window manager to keep Window above the windows of other programs (the layer of
// windows that stay on top), or no longer, without touching the window's own flags (changing
// them would hide and show it again). A window about to be mapped (in its show event) carries
// the state with it; a shown one asks for it. Nothing happens off X11, nor without a window
// manager, where nothing keeps any window above another.
void RequestKeptAbove(QWidget& window, bool above);
