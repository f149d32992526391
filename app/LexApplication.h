// The program's application object. An exception that escapes an event handler is caught
// here and shown through the message form with the error picture; the program goes on.
// This is the last line of defence, not a way of reporting: handlers catch what they expect,
// because an exception that unwinds through Qt's key and mouse delivery skips Qt's own
// clean-up there (a few bytes are lost each time).
#pragma once

#include <QApplication>

class TWideStrings;

class TLexApplication : public QApplication {
    Q_OBJECT
public:
    TLexApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The interface strings the error message is shown with (the main window's; it clears
    // them before they go away). Without them the form says "OK" under the program title.
    void SetInterfaceStrings(const TWideStrings* strings) { FStrings = strings; }

    // Shows the text of an escaped exception. While one is showing, a further one is only
    // logged: a handler that fails on every event must not stack windows without end.
    void ShowException(const QString& text);

    // How many escaped exceptions have been caught (shown or logged).
    int CaughtCount() const { return FCaught; }

private:
    const TWideStrings* FStrings = nullptr;
    bool FShowing = false;
    int FCaught = 0;
};
