#include "platform/qt/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QString text = "[Desktop Entry]\n"
                         "Type=Application\n"
                         "Name=TAVOR Lexorationary\n"
                         "Exec="
        + exec
        + "\n"
          "Terminal=false\n"
          "X-GNOME-Autostart-enabled=true\n";
    out.write(text.toUtf8());
    return out.commit();
}

}  // namespace Autostart
