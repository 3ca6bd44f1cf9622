#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace zorvek {

// One record of a server list file: name;host;port;link; (8-bit text, Windows-1250).
struct ListRecord
{
    QByteArray name;
    QByteArray host;
    QByteArray port;
    QByteArray link;
};

// A server list file: one "name;host;port;link;" record per line, each line ended by CR LF.
QByteArray BuildListText(const QList<ListRecord>& records);

// An info file: six fields (width, height, poster URL, link, tooltip, marker), each
// followed by ";" and CR LF. The tooltip is 8-bit text.
QByteArray BuildInfoText(int width, int height, const QByteArray& posterUrl, const QByteArray& link,
                         const QByteArray& toolTip);

// The page a web server sends with an error status, holding "DOCTYPE HTML PUBLIC".
QByteArray ErrorPage(int status);

// The poster named by the info file: a JPEG of width x height pixels.
QByteArray DrawPoster(int width = 400, int height = 300);

// A placeholder levelshot: a JPEG of width x height pixels labelled with the map name.
QByteArray DrawLevelshot(const QString& mapName, int width = 150, int height = 80);

// The levelshot subfolder of game index 1..5 as a path component ("cod4\" gives "cod4").
QString LevelshotSubfolder(int game);

// Writes a placeholder levelshot to <folder>/<subfolder of game>/<map>.jpg, creating
// the folders. False when the file could not be written.
bool WriteLevelshot(const QString& folder, int game, const QString& mapName);

} // namespace zorvek
