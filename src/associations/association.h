#pragma once

#include <array>

#include <QString>
#include <QStringView>

class Regist;

// The player's file associations in the registry. A file type belongs to the player while
// the default value of its key "HKEY_CLASSES_ROOT\.EXT" names the player's file class; the
// value BackupValueName of that key keeps the class the type had before, so that it can be
// given back.

inline constexpr QStringView PlayerFileClass = u"zorvanplayer.file";
inline constexpr QStringView PlayerFileDescription = u"岚铃播放器 文件";
inline constexpr QStringView BackupValueName = u"zorvan.back";

// The extensions of the options dialog's association list, in its order.
inline constexpr std::array<QStringView, 4> AssociationExtensions{u"m3u", u"mp3", u"wma", u"wav"};
// One tick per entry of AssociationExtensions: true when the type belongs to the player.
using AssociationTicks = std::array<bool, AssociationExtensions.size()>;

// Takes the type of `extension` over (`isTicked`) or gives it back. Taking over keeps the
// previous class as the backup, unless the type already belongs to the player. Giving back
// touches only a type that still belongs to the player: it gets its backup back, or no class
// at all when there was none.
void ApplyAssociation(Regist &regist, QStringView extension, bool isTicked);

// The ticks the options dialog shows when it opens.
AssociationTicks readAssociationTicks(Regist &regist);

// The registry part of confirming the options dialog: registers the player's file class,
// opened by `programPath`, then applies each tick in the list's order.
void confirmAssociations(Regist &regist, const QString &programPath, const AssociationTicks &ticks);
