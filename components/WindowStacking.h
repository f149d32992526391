// The windows a stay-on-top main window opens are its own: they open above it, whether they
// have an owner the window manager knows of (dialogs) or not (the help window), and whether a
// window manager runs or not.
#pragma once

class QWidget;

// From now on, until MainWindow is destroyed: while MainWindow stays on top of other programs
// (Qt::WindowStaysOnTopHint), every other window of the program that opens (help, messages,
// file dialogs, the program's own windows) stays on top as well, and so above MainWindow
// until the user brings MainWindow forward. When MainWindow gains the state, the program's open
// windows gain it too and come above it again; when it loses it, they lose it. Windows that
// stay on top by their own flags, menus, tool tips and windows that bypass the window manager
// are left alone. While MainWindow does not stay on top nothing changes.
void KeepOwnWindowsAbove(QWidget& mainWindow);
