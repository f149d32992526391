#include "app/ProgramMain.h"

#include "app/LexApplication.h"
#include "app/SessionEnd.h"
#include "app/mainwindow/LexDictionary.h"
#include "components/TrayIcon.h"
#include "platform/qt/SingleInstance.h"

#include <QApplication>

#include <cstdio>

void ConnectSecondStarts(TSingleInstance& instance, TfLexDictionary& window)
{
    TfLexDictionary* w = &window;
    QObject::connect(&instance, &TSingleInstance::RestoreRequested, w,
                     [w] { QCoreApplication::postEvent(w, new QEvent(LexEvents::RestoreWindow)); });
    QObject::connect(&instance, &TSingleInstance::SpeakRequested, w,
                     [w] { QCoreApplication::postEvent(w, new QEvent(LexEvents::SpeakWord)); });
    QObject::connect(&instance, &TSingleInstance::ReverseRequested, w,
                     [w] { QCoreApplication::postEvent(w, new QEvent(LexEvents::ReverseDirection)); });
    QObject::connect(&instance, &TSingleInstance::InstallRequested, w,
                     [w](const QString& path) { QCoreApplication::postEvent(w, new LexEvents::TInstallEvent(path)); });
    instance.SetHolding(false);
}

int ProgramMain(QStringList args, const QString& appDir, const QString& instanceFolder)
{
    TSingleInstance instance(QStringLiteral("Verbisphere"), instanceFolder);
    if (!instance.IsFirst()) {
        QString error;
        if (!instance.Forward(args.value(0), &error))
            std::fprintf(stderr, "LexoraApp: %s\n", error.toLocal8Bit().constData());
        return 0;
    }
    if (!instance.LockWarning().isEmpty())
        std::fprintf(stderr, "LexoraApp: %s\n", instance.LockWarning().toLocal8Bit().constData());
    // A later start may call while the window is being made (its creation can show messages).
    instance.SetHolding(true);

    // The switches for other programs mean nothing to a first start.
    if (!args.isEmpty()
        && (args.first() == QLatin1String(TSingleInstance::SpeakSwitch)
            || args.first() == QLatin1String(TSingleInstance::ReverseSwitch)))
        args.removeFirst();
    // Caught from here on: a session that ends while the window is made ends it unsaved no
    // more than the window's own creation allows.
    TSessionEnd sessionEnd;
    bool endRequested = false;
    const QMetaObject::Connection early =
        QObject::connect(&sessionEnd, &TSessionEnd::EndRequested, [&endRequested] { endRequested = true; });
    TfLexDictionary window(appDir, args);
    if (window.TerminateRequested)
        return 1;
    window.QuitOnClose = true;
    auto* app = qobject_cast<TLexApplication*>(QCoreApplication::instance());
    if (app != nullptr)
        app->SetInterfaceStrings(&window.LangStrings);
    QObject::disconnect(early);
    QObject::connect(&sessionEnd, &TSessionEnd::EndRequested, &window, [&window] { window.EndSession(); });
    ConnectSecondStarts(instance, window);
    int result = 0;
    if (endRequested) {
        window.EndSession();
    } else {
        window.ShowAtStart(TTrayIcon::TrayAvailable());
        result = QApplication::exec();
    }
    if (app != nullptr)
        app->SetInterfaceStrings(nullptr);
    return result;
}
