// The title bar the program's small dialogs ask the window manager for: close button only.
#pragma once

class QWidget;

// Call before Window is first shown (its showEvent will do). The window flags ask every
// window manager that honours them; Openbox draws minimise and maximise on every dialog
// whatever they say and leaves them off only for tool bars and menus, so under Openbox the
// window also names itself a tool bar first (then a dialog). Nothing happens off X11.
void RequestCloseButtonOnly(QWidget& window);
