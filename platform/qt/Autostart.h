// Start at login: the autostart value of the program is an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/TAVOR-Lexorationary.desktop (~/.config when unset), whose Exec
// line starts the program by its full path, quoted.
#pragma once

#include <QString>

namespace Autostart {

// The entry's file.
QString EntryFile();

// Writes the entry for Program (Enable) or deletes it. The entry is written whole and renamed
// into place. False when it cannot be written or deleted, or Program cannot be named on an
// Exec line (a line break in it).
bool SetAutostart(bool enable, const QString& program);

// Program quoted for an Exec line: in double quotes, with ", `, $ and \ escaped, then every
// \ doubled and % doubled as the entry format asks. Empty when it cannot be quoted.
QString QuoteExec(const QString& program);

}  // namespace Autostart
