#pragma once

#include <QString>

// The song line the player shows for a track: "artist - title" from its tags. A track with
// neither tag shows the name of its file without the extension instead of a lone " - ".
QString songLine(const QString &author, const QString &title, const QString &path);
