// The program's main block apart from the process entry (main.cpp), so that tests run the
// real start, loop and end in a child process.
#pragma once

#include <QString>
#include <QStringList>

class TfLexDictionary;
class TSingleInstance;

// Runs the program for Args (the command line without the program name): forwards them to
// the running program, or creates the main window in AppDir (empty: the program's folder)
// and runs the loop until it closes. InstanceFolder holds the one-program lock (empty: the
// user's runtime folder). The result is the process's exit code.
int ProgramMain(QStringList args, const QString& appDir = {}, const QString& instanceFolder = {});

// Hands the messages of later starts to Window, those kept while it was created first.
void ConnectSecondStarts(TSingleInstance& instance, TfLexDictionary& window);
