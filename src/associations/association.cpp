#include "associations/association.h"

#include "associations/regist.h"

namespace {

QString extensionKey(QStringView extension)
{
    QString key = QStringLiteral("HKEY_CLASSES_ROOT\\.");
    key += extension;
    return key;
}

QString classKey(QStringView subKey = {})
{
    QString key = QStringLiteral("HKEY_CLASSES_ROOT\\");
    key += PlayerFileClass;
    if (!subKey.isEmpty()) {
        key += u'\\';
        key += subKey;
    }
    return key;
}

// A class read back from the registry; "" when the read failed or there was none, so that
// a failed read is never kept or restored as if it were a class.
QString classOrNone(const QString &value)
{
    return value == Regist::ReadError ? QString() : value;
}

} // namespace

void ApplyAssociation(Regist &regist, QStringView extension, bool isTicked)
{
    const QString key = extensionKey(extension);
    const QString current = regist.ReadRegValue(key, QString());
    const QString backup = regist.ReadRegValue(key, BackupValueName.toString());
    const bool isOurs = current == PlayerFileClass;
    if (isTicked && !isOurs) {
        regist.CreateRegKey(key);
        regist.WriteRegValue(key, BackupValueName.toString(), classOrNone(current));
        regist.WriteRegValue(key, QString(), PlayerFileClass.toString());
    } else if (!isTicked && isOurs) {
        regist.WriteRegValue(key, QString(), classOrNone(backup));
    }
}

AssociationTicks readAssociationTicks(Regist &regist)
{
    AssociationTicks ticks{};
    for (std::size_t index = 0; index < ticks.size(); ++index) {
        ticks[index] = regist.ReadRegValue(extensionKey(AssociationExtensions[index]), QString()) ==
                       PlayerFileClass;
    }
    return ticks;
}

void confirmAssociations(Regist &regist, const QString &programPath, const AssociationTicks &ticks)
{
    const QString iconKey = classKey(u"DefaultIcon");
    const QString commandKey = classKey(u"shell\\open\\command");
    regist.CreateRegKey(iconKey);
    regist.WriteRegValue(iconKey, QString(), programPath);
    regist.CreateRegKey(commandKey);
    regist.WriteRegValue(classKey(), QString(), PlayerFileDescription.toString());
    regist.WriteRegValue(commandKey, QString(), programPath);
    for (std::size_t index = 0; index < ticks.size(); ++index)
        ApplyAssociation(regist, AssociationExtensions[index], ticks[index]);
}
