#include "associations/desktopentryexec.h"

#include <algorithm>

#include <QStringView>

namespace {

bool needsQuotes(QChar character)
{
    return character.category() == QChar::Other_Control ||
           QStringView(u" \t\n\"'\\><~|&;$*?#`()").contains(character);
}

} // namespace

QString execArgument(const QString &argument)
{
    QString doubled = argument;
    doubled.replace(QStringLiteral("%"), QStringLiteral("%%"));
    if (!argument.isEmpty() && std::none_of(argument.begin(), argument.end(), needsQuotes))
        return doubled;
    QString quoted = QStringLiteral("\"");
    for (const QChar character : doubled) {
        if (QStringView(u"\"`$\\").contains(character))
            quoted += u'\\';
        quoted += character;
    }
    return quoted + u'"';
}

std::optional<QString> execProgram(const QString &exec)
{
    QString program;
    if (exec.startsWith(u'"')) {
        qsizetype index = 1;
        for (; index < exec.size() && exec[index] != u'"'; ++index) {
            if (exec[index] == u'\\' && index + 1 < exec.size())
                ++index;
            program += exec[index];
        }
        if (index == exec.size())
            return std::nullopt;
    } else {
        program = exec.section(u' ', 0, 0);
    }
    if (program.isEmpty())
        return std::nullopt;
    return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}
