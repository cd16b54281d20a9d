#pragma once

#include <QString>

// Where the registry procedures show their one message to the user: a message box in the
// program, a recorder in tests.
class RegistryMessages
{
public:
    virtual ~RegistryMessages() = default;

    // Shows `text` and returns once the user has seen it.
    virtual void show(const QString &text) = 0;
};
