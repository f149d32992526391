// Drive and folder utilities around the pronunciation folders. A "drive" is a mounted file
// system; the system folder is the program's own folder. None of them throws.
#pragma once

#include <cstdint>
#include <string>

// True when Drive (a drive root such as the CD setting, e.g. "/media/cdrom/") is a mounted
// file system with a readable medium. Nothing is shown to the user either way.
bool IsDriveReady(const std::string& Drive);

// The number of entries of Folder that are not folders; 0 when it is missing or unreadable.
int32_t CountFilesInFolder(const std::string& Folder);

// Deletes every non-folder entry of Folder, then Folder itself; sub-folders are left in place.
// Refuses (False, nothing deleted) an empty name, a drive name such as "C:" or "c:\", and the
// root of any mounted file system. True when Folder no longer exists afterwards.
bool DeleteFolder(const std::string& Folder);

// The program's own folder, ending in exactly one "/".
std::string WindowsFolderPath();
