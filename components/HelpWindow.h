// The help window: topics and pictures read out of a compiled help file and shown in a text
// browser. A link to a topic opens it in the same window, a link to a web address in the
// desktop's opener. One help window serves the program.
#pragma once

#include "engine/WideStringList.h"
#include "platform/HtmlHelp.h"

#include <QTextBrowser>
#include <QWidget>

#include <memory>

class THelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpBrowser(QWidget* parent = nullptr);
    // Shows Topic ("151.htm", or "151.htm#part") of the help file; false when the file cannot
    // be read or has no such topic (what was shown stays).
    bool OpenTopic(const QString& helpFile, const QString& topic);
    // The help file of the shown topic; empty before the first.
    QString HelpFileName() const { return fileName_; }
    QVariant loadResource(int type, const QUrl& name) override;

private:
    std::unique_ptr<Platform::THelpFile> file_;
    QString fileName_;
};

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);
    THelpBrowser* Browser;

    // The interface texts of its messages (kept as a copy: the language may change).
    void SetInterfaceTexts(const TWideStrings& strings);
    // A link clicked or activated with Enter: a topic of the help file opens here (a topic the
    // file cannot give is reported), a web or mail address goes to the desktop's opener, and
    // any other link is not followed.
    void BrowserAnchorClicked(const QUrl& url);

private:
    TWideStringList texts_;
};

// Opens "<file>::/<topic>" in the program's help window (made on first use) and brings it to
// the front. When the file is missing or damaged, or lacks the topic, a message in the
// interface language (Strings) names the file instead, and the result is false.
// The window belongs to Owner (by default the window that is active, a modal one first): it
// stays above it, opens centred on it inside the screen, and closes with it.
bool ShowHelpTopic(const QString& url, const TWideStrings& strings, QWidget* owner = nullptr);
// Closes the help window, as the program does when it ends.
void CloseAllHelp();
// The help window while it exists (tests).
THelpWindow* CurrentHelpWindow();
