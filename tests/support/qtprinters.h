#pragma once

#include <ostream>

#include <QString>

// Lets failure messages show texts as text rather than as bytes.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
