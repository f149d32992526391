// Answers the next modal window (message form, file dialog, any QDialog) the way a user
// would: once it is shown, the given action presses its real buttons. Call before the code
// that opens the window; the answer runs from the event loop of that window. The time limit
// only matters when the window never comes (a slow machine may take long to show it); an
// answer still waiting when a test ends is dropped, so it never answers the next test.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace TestSupport {

constexpr int kModalTimeoutMs = 60000;

// Runs Action on the next modal widget that appears within TimeoutMs. Returns at once.
void AnswerNextModal(std::function<void(QWidget*)> action, int timeoutMs = kModalTimeoutMs);

// Clicks the button with this object name (e.g. "bYes", "bOk") of the next modal window.
void ClickInNextModal(const QString& buttonName, int timeoutMs = kModalTimeoutMs);

// Presses a key (Qt::Key_Return, Qt::Key_Escape) in the next modal window.
void KeyInNextModal(int key, int timeoutMs = kModalTimeoutMs);

// Types Path into the next file dialog's file-name box and presses its accept button;
// with an empty Path presses Cancel.
void AnswerNextFileDialog(const QString& path, int timeoutMs = kModalTimeoutMs);

// Drops every answer still waiting for its window (the test main does so after each test).
void CancelModalAnswers();

// The text of every label of the last modal window answered through these helpers.
QString LastModalText();

}  // namespace TestSupport
