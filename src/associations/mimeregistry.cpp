#include "associations/mimeregistry.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>

#include "associations/association.h"
#include "associations/desktopentryexec.h"
#include "associations/desktopentryfile.h"

namespace {

constexpr QStringView EntryGroup = u"Desktop Entry";
constexpr QStringView DefaultsGroup = u"Default Applications";
constexpr QStringView IconName = u"zorvanplayer";
constexpr QStringView BackupKeyPrefix = u"X-Zorvan-Back-";

QString backupKey(const QString &extension)
{
    return BackupKeyPrefix.toString() + extension;
}

// The extension becomes part of a key of the entry ("X-Zorvan-Back-EXT"), and key names
// allow only letters, digits and "-".
bool isPlainExtension(const QString &extension)
{
    return !extension.isEmpty() && std::all_of(extension.begin(), extension.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-';
    });
}

// The MIME types of files with `extension`: the one a file is taken for first, the others
// its name matches, and after each its aliases (audio/wav and audio/vnd.wave for
// audio/x-wav), by which the lists and other programs may name it as well.
QStringList mimeTypesOf(const QString &extension)
{
    const QMimeDatabase database;
    const QString fileName = QStringLiteral("file.") + extension;
    const QMimeType primary = database.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    if (primary.isDefault())
        return {};
    QList<QMimeType> types{primary};
    types.append(database.mimeTypesForFileName(fileName));
    QStringList names;
    for (const QMimeType &type : types) {
        for (const QString &name : QStringList{type.name()} + type.aliases()) {
            if (!names.contains(name))
                names.append(name);
        }
    }
    return names;
}

// Runs `program` with the files to open, each one argument.
QString execValue(const QString &program)
{
    return execArgument(program) + QStringLiteral(" %F");
}

bool isRunnable(const QString &program)
{
    if (!program.contains(u'/'))
        return !QStandardPaths::findExecutable(program).isEmpty();
    const QFileInfo file(program);
    return file.isFile() && file.isExecutable();
}

// A desktop entry ID is one name: never a list, never more than one line.
bool isSingleId(const QString &desktopId)
{
    return std::none_of(desktopId.begin(), desktopId.end(),
                        [](QChar c) { return c == u';' || c.category() == QChar::Other_Control; });
}

enum class KeyKind { Other, Extension, FileClass, ClassIcon, ClassFolder, ClassCommand };

struct MappedKey
{
    KeyKind kind = KeyKind::Other;
    QString extension;
    // The extension's MIME types, the one a file of it is taken for first.
    QStringList mimeTypes;
};

MappedKey mapKey(RootKey root, const QString &subKey)
{
    if (root != RootKey::ClassesRoot)
        return {};
    const QString path = subKey.toLower();
    if (path.startsWith(u'.') && !path.contains(u'\\')) {
        const QString extension = path.mid(1);
        QStringList mimeTypes =
            isPlainExtension(extension) ? mimeTypesOf(extension) : QStringList();
        if (mimeTypes.isEmpty())
            return {};
        return {KeyKind::Extension, extension, mimeTypes};
    }
    if (!path.startsWith(PlayerFileClass))
        return {};
    const QStringView below = QStringView(path).sliced(PlayerFileClass.size());
    KeyKind kind = KeyKind::Other;
    if (below.isEmpty())
        kind = KeyKind::FileClass;
    else if (below == u"\\defaulticon")
        kind = KeyKind::ClassIcon;
    else if (below == u"\\shell" || below == u"\\shell\\open")
        kind = KeyKind::ClassFolder;
    else if (below == u"\\shell\\open\\command")
        kind = KeyKind::ClassCommand;
    return {kind, {}, {}};
}

QString storeKey(RootKey root, const QString &subKey)
{
    return QString::number(quint32(root), 16) + u'\\' + subKey;
}

// The user's mimeapps.list, where defaults are written.
QString userMimeappsList()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/mimeapps.list");
}

QString entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation) + u'/' +
           MimeRegistry::DesktopId.toString();
}

std::optional<QString> entryValue(QStringView key)
{
    const auto entry = DesktopEntryFile::load(entryPath());
    return entry ? entry->value(EntryGroup, key) : std::nullopt;
}

// Installed: the entry is found in an applications folder (an ID "vendor-name.desktop" may
// also be "vendor/name.desktop"), the first one found counts, and its program can be run.
bool isInstalled(const QString &desktopId)
{
    QStringList names{desktopId};
    const qsizetype dash = desktopId.indexOf(u'-');
    if (dash > 0)
        names.append(desktopId.left(dash) + u'/' + desktopId.mid(dash + 1));
    for (const QString &data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        for (const QString &name : names) {
            const QString path = data + QStringLiteral("/applications/") + name;
            if (!QFileInfo(path).isFile())
                continue;
            const auto entry = DesktopEntryFile::load(path);
            const auto exec = entry ? entry->value(EntryGroup, u"Exec") : std::nullopt;
            const auto program = exec ? execProgram(*exec) : std::nullopt;
            return program && isRunnable(*program);
        }
    }
    return false;
}

// The first installed entry of "Default Applications" in the mimeapps.list files, in
// their standard order, for any of `mimeTypes` (one type and its aliases, which a list may
// name instead): an earlier list wins, and within a list the earlier type. The list at
// `skipped`, if given, is left out.
std::optional<QString> defaultApplication(const QStringList &mimeTypes,
                                          const QString &skipped = {})
{
    QStringList prefixes;
    const QString desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    for (const QString &desktop : desktops.split(u':', Qt::SkipEmptyParts))
        prefixes.append(desktop.toLower() + u'-');
    prefixes.append(QString());

    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    for (const QString &data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.append(data + QStringLiteral("/applications"));

    for (const QString &folder : folders) {
        for (const QString &prefix : prefixes) {
            const QString path = folder + u'/' + prefix + QStringLiteral("mimeapps.list");
            const auto list = path == skipped ? std::nullopt : DesktopEntryFile::load(path);
            if (!list)
                continue;
            for (const QString &mimeType : mimeTypes) {
                const auto desktopIds = list->value(DefaultsGroup, mimeType);
                for (const QString &desktopId :
                     desktopIds.value_or(QString()).split(u';', Qt::SkipEmptyParts)) {
                    if (isInstalled(desktopId))
                        return desktopId;
                }
            }
        }
    }
    return std::nullopt;
}

} // namespace

MimeRegistry::MimeRegistry(const QString &programPath, const QString &programFolder)
    : m_programPath(programPath),
      m_store(QDir(programFolder).filePath(QStringLiteral("registry.json")))
{}

bool MimeRegistry::hasKey(RootKey root, const QString &subKey) const
{
    switch (mapKey(root, subKey).kind) {
    case KeyKind::Extension:
        return true;
    case KeyKind::Other:
        return m_store.hasKey(storeKey(root, subKey));
    default:
        return QFileInfo::exists(entryPath());
    }
}

bool MimeRegistry::addKey(RootKey root, const QString &subKey)
{
    switch (mapKey(root, subKey).kind) {
    case KeyKind::Extension:
        return true;
    case KeyKind::Other:
        return m_store.addKey(storeKey(root, subKey));
    default:
        return ensureEntry();
    }
}

std::optional<QString> MimeRegistry::readValue(RootKey root, const QString &subKey,
                                               const QString &valueName) const
{
    const MappedKey key = mapKey(root, subKey);
    const bool isDefault = valueName.isEmpty();
    if (key.kind == KeyKind::Extension && isDefault) {
        const auto desktopId = defaultApplication(key.mimeTypes);
        return desktopId == DesktopId ? PlayerFileClass.toString() : desktopId;
    }
    if (key.kind == KeyKind::Extension &&
        valueName.compare(BackupValueName, Qt::CaseInsensitive) == 0)
        return entryValue(backupKey(key.extension));
    if (key.kind == KeyKind::FileClass && isDefault)
        return entryValue(u"Comment");
    if (key.kind == KeyKind::ClassIcon && isDefault) {
        const auto icon = entryValue(u"Icon");
        return icon == IconName ? m_programPath : icon;
    }
    if (key.kind == KeyKind::ClassCommand && isDefault) {
        const auto exec = entryValue(u"Exec");
        return exec ? execProgram(*exec) : std::nullopt;
    }
    return m_store.value(storeKey(root, subKey), valueName);
}

bool MimeRegistry::writeValue(RootKey root, const QString &subKey, const QString &valueName,
                              const QString &text)
{
    const MappedKey key = mapKey(root, subKey);
    const bool isDefault = valueName.isEmpty();
    const auto textOrNone = text.isEmpty() ? std::nullopt : std::optional(text);
    if (key.kind == KeyKind::Extension && isDefault) {
        return setDefaultApplication(key.mimeTypes,
                                     text == PlayerFileClass ? DesktopId.toString() : text);
    }
    if (key.kind == KeyKind::Extension &&
        valueName.compare(BackupValueName, Qt::CaseInsensitive) == 0)
        return setEntryValue(backupKey(key.extension), text);
    if (key.kind == KeyKind::FileClass && isDefault)
        return setEntryValue(u"Comment", textOrNone);
    if (key.kind == KeyKind::ClassIcon && isDefault)
        return setEntryValue(u"Icon", text == m_programPath ? IconName.toString() : textOrNone);
    if (key.kind == KeyKind::ClassCommand && isDefault)
        return !text.isEmpty() && setEntryValue(u"Exec", execValue(text));
    return m_store.setValue(storeKey(root, subKey), valueName, text);
}

bool MimeRegistry::ensureEntry() const
{
    if (QFileInfo::exists(entryPath()))
        return true;
    DesktopEntryFile entry;
    entry.setValue(EntryGroup, u"Type", QStringLiteral("Application"));
    entry.setValue(EntryGroup, u"Name", ApplicationName.toString());
    entry.setValue(EntryGroup, u"Icon", IconName.toString());
    entry.setValue(EntryGroup, u"Exec", execValue(m_programPath));
    return entry.save(entryPath());
}

bool MimeRegistry::setEntryValue(QStringView key, const std::optional<QString> &value) const
{
    if (!ensureEntry())
        return false;
    auto entry = DesktopEntryFile::load(entryPath());
    if (!entry)
        return false;
    if (value)
        entry->setValue(EntryGroup, key, *value);
    else
        entry->removeValue(EntryGroup, key);
    return entry->save(entryPath());
}

bool MimeRegistry::setEntryMimeTypes(const QStringList &mimeTypes, bool isListed) const
{
    if (!isListed && !QFileInfo::exists(entryPath()))
        return true;
    QStringList listed =
        entryValue(u"MimeType").value_or(QString()).split(u';', Qt::SkipEmptyParts);
    for (const QString &type : mimeTypes) {
        if (!isListed)
            listed.removeAll(type);
        else if (!listed.contains(type))
            listed.append(type);
    }
    if (listed.isEmpty())
        return setEntryValue(u"MimeType", std::nullopt);
    return setEntryValue(u"MimeType", listed.join(u';') + u';');
}

bool MimeRegistry::setDefaultApplication(const QStringList &mimeTypes,
                                         const QString &desktopId) const
{
    if (!isSingleId(desktopId) || !setEntryMimeTypes(mimeTypes, desktopId == DesktopId))
        return false;
    const QString path = userMimeappsList();
    auto list = DesktopEntryFile::load(path);
    if (!list)
        return false;
    // Another program given back that the other lists name already needs no line of the
    // user's: the list is left as it was before the player took the types over.
    const bool isGivenByOthers =
        !desktopId.isEmpty() && desktopId != DesktopId &&
        defaultApplication(mimeTypes, path) == desktopId;
    bool isChanged = false;
    for (const QString &type : mimeTypes) {
        if (desktopId.isEmpty() || isGivenByOthers) {
            isChanged = list->removeValue(DefaultsGroup, type) || isChanged;
        } else {
            list->setValue(DefaultsGroup, type, desktopId);
            isChanged = true;
        }
    }
    return !isChanged || list->save(path);
}
