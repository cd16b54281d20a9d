#pragma once

#include <QStringList>

#include "core/usermessages.h"

// Keeps the messages for the test to read.
struct RecordedMessages : UserMessages
{
    void tell(Tone, const QString &text, std::function<void()>) override { shown.append(text); }
    QStringList shown;
};
