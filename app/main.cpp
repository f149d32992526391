// Program start: one running program per user; a later start hands over its argument (a
// dictionary package) and ends. The first start shows the main window and runs the loop.
#include "app/LexApplication.h"
#include "app/ProgramMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // Clipboard watching, stay-on-top and positioning need X11, also under XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    TLexApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexora XP"));
    QApplication::setApplicationDisplayName(QStringLiteral("Lexora XP"));
    // The program ends with its main window, which may sit in the tray.
    QApplication::setQuitOnLastWindowClosed(false);
    return ProgramMain(QApplication::arguments().mid(1));
}
