#include "core/usermessages.h"

QString writeFailureText(const QString &path, const QString &error)
{
    return QStringLiteral("无法保存文件“%1”：%2").arg(path, error);
}
