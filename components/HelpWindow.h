// The help window: topics and pictures read out of a compiled help file and shown in a text
// browser; links between topics stay inside the file. One help window serves the program.
#pragma once

#include "platform/HtmlHelp.h"

#include <QTextBrowser>
#include <QWidget>

#include <memory>

class THelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpBrowser(QWidget* parent = nullptr);
    // False when the file cannot be read or has no such topic.
    bool OpenTopic(const QString& helpFile, const QString& topic);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    std::unique_ptr<Platform::THelpFile> file_;
};

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);
    THelpBrowser* Browser;
};

// Opens "<file>::/<topic>" in the program's help window (made on first use) and brings it to
// the front; false when the file or topic cannot be read (the window is not shown then).
// The window belongs to Owner (by default the window that is active, a modal one first): it
// stays above it, opens centred on it inside the screen, and closes with it.
bool ShowHelpTopic(const QString& url, QWidget* owner = nullptr);
// Closes the help window, as the program does when it ends.
void CloseAllHelp();
// The help window while it exists (tests).
THelpWindow* CurrentHelpWindow();
