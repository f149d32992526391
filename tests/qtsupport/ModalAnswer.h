// Answers the next modal window (message form, file dialog, any QDialog) the way a user
// would: once it is shown, the given action presses its real buttons. Call before the code
// that opens the window; the answer runs from the event loop of that window.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace TestSupport {

// Runs Action on the next modal widget that appears within TimeoutMs. Returns at once.
void AnswerNextModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);

// Clicks the button with this object name (e.g. "bYes", "bOk") of the next modal window.
void ClickInNextModal(const QString& buttonName, int timeoutMs = 5000);

// Presses a key (Qt::Key_Return, Qt::Key_Escape) in the next modal window.
void KeyInNextModal(int key, int timeoutMs = 5000);

// Types Path into the next file dialog's file-name box and presses its accept button;
// with an empty Path presses Cancel.
void AnswerNextFileDialog(const QString& path, int timeoutMs = 5000);

// The text of every label of the last modal window answered through these helpers.
QString LastModalText();

}  // namespace TestSupport
