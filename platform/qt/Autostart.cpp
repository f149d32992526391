#include "platform/qt/Autostart.h"

#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Autostart {

QString EntryFile()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + "/.config";
    return base + "/autostart/TAVOR-Lexorationary.desktop";
}

QString QuoteExec(const QString& program)
{
    if (program.isEmpty() || program.contains('\n') || program.contains('\r') || program.contains(QChar(0)))
        return {};
    QString quoted;
    for (const QChar c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    // The string escape of the entry format comes on top: a backslash is written twice.
    quoted.replace("\\", "\\\\");
    quoted.replace("%", "%%");
    return '"' + quoted + '"';
}

bool SetAutostart(bool enable, const QString& program)
{
    const QString file = EntryFile();
    if (!enable)
        return !QFileInfo::exists(file) || QFile::remove(file);
    const QString exec = QuoteExec(program);
    if (exec.isEmpty())
        return false;
    if (!QDir().mkpath(QFileInfo(file).path()))
        return false;
    const QString text = "[Desktop Entry]\n"
                         "Type=Application\n"
                         "Name=TAVOR Lexorationary\n"
                         "Exec="
        + exec
        + "\n"
          "Terminal=false\n"
          "X-GNOME-Autostart-enabled=true\n";
    // Not QSaveFile: it puts a file in place that a short write (a full disk) has cut.
    try {
        Platform::WriteFileAtomically(QFile::encodeName(file).toStdString(), text.toUtf8().toStdString());
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

}  // namespace Autostart
