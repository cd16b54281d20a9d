#pragma once

#include "associations/registrymessages.h"

// The registry's message as a message box over the active window.
class QtRegistryMessages : public RegistryMessages
{
public:
    void show(const QString &text) override;
};
