// Program start: one running program per user; a later start hands over its argument (a
// dictionary package) and ends. The first start shows the main window and runs the loop.
#include "app/LexApplication.h"
#include "app/mainwindow/LexDictionary.h"
#include "platform/qt/SingleInstance.h"

#include <QApplication>
#include "components/TrayIcon.h"

#include <cstdio>

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
    QStringList args = QApplication::arguments().mid(1);

    TSingleInstance instance(QStringLiteral("Verbisphere"));
    if (!instance.IsFirst()) {
        QString error;
        if (!instance.Forward(args.value(0), &error))
            std::fprintf(stderr, "LexoraApp: %s\n", error.toLocal8Bit().constData());
        return 0;
    }

    // The switches for other programs mean nothing to a first start.
    if (!args.isEmpty()
        && (args.first() == QLatin1String(TSingleInstance::SpeakSwitch)
            || args.first() == QLatin1String(TSingleInstance::ReverseSwitch)))
        args.removeFirst();
    TfLexDictionary window({}, args);
    if (window.TerminateRequested)
        return 1;
    window.QuitOnClose = true;
    app.SetInterfaceStrings(&window.LangStrings);
    QObject::connect(&instance, &TSingleInstance::RestoreRequested, &window,
                     [&window] { QCoreApplication::postEvent(&window, new QEvent(LexEvents::RestoreWindow)); });
    QObject::connect(&instance, &TSingleInstance::SpeakRequested, &window,
                     [&window] { QCoreApplication::postEvent(&window, new QEvent(LexEvents::SpeakWord)); });
    QObject::connect(&instance, &TSingleInstance::ReverseRequested, &window,
                     [&window] { QCoreApplication::postEvent(&window, new QEvent(LexEvents::ReverseDirection)); });
    QObject::connect(&instance, &TSingleInstance::InstallRequested, &window, [&window](const QString& path) {
        QCoreApplication::postEvent(&window, new LexEvents::TInstallEvent(path));
    });
    window.TrayIcon1->SetIconVisible(true);
    if (window.Settings.StartMin && TTrayIcon::TrayAvailable()) {
        // Only the tray icon remains; its menu or a second start shows the window.
    } else if (window.Settings.StartMin) {
        window.showMinimized();
    } else if (window.Settings.Max) {
        window.showMaximized();
    } else {
        window.show();
    }
    const int result = QApplication::exec();
    app.SetInterfaceStrings(nullptr);
    return result;
}
