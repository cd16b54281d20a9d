#pragma once

#include <QStringList>

#include "associations/registrymessages.h"

// Keeps the registry's messages for the test to read.
struct RecordedMessages : RegistryMessages
{
    void show(const QString &text) override { shown.append(text); }
    QStringList shown;
};
