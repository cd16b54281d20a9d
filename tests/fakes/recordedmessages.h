#pragma once

#include <functional>
#include <vector>

#include <QStringList>

#include "core/usermessages.h"

// Keeps the messages for the test to read; close() closes the oldest open one.
struct RecordedMessages : UserMessages
{
    void tell(Tone, const QString &text, std::function<void()> closed) override
    {
        shown.append(text);
        open.push_back(std::move(closed));
    }
    void close()
    {
        std::function<void()> closed = std::move(open.front());
        open.erase(open.begin());
        if (closed)
            closed();
    }
    QStringList shown;
    std::vector<std::function<void()>> open;
};
