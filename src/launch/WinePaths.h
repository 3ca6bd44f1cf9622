#pragma once

#include <QString>

namespace zorvek {

// Where a Windows path of a program running under Wine lies on the Linux side.
//
// A path with a drive letter ("C:\Games\CoD4", "c:/x") is looked up in the prefix's
// dosdevices folder: "<prefix>/dosdevices/<letter>:" is the link Wine keeps for the
// drive; without that link, drive C is "<prefix>/drive_c". Each further component is
// matched without regard to letter case, as Wine does, when the exact name is missing.
// Gives an empty text for what cannot be mapped: no drive letter (relative paths,
// UNC paths "\\server\share"), a drive-relative path ("C:Games"), a drive without a
// link (other than C), or a link whose target is missing.
QString MapWindowsPath(const QString& winePrefix, const QString& windowsPath);

} // namespace zorvek
