#pragma once

#include <functional>

#include <QString>

// The one road by which the player tells the user something: a message box over the window
// in front in the program, a recorder in tests. Nothing waits for the user: tell() returns at
// once, and `closed` (when given) runs once the user has closed the message.
class UserMessages
{
public:
    enum class Tone { Plain, Information, Warning };

    virtual ~UserMessages() = default;

    virtual void tell(Tone tone, const QString &text, std::function<void()> closed = {}) = 0;
};

// The sentence that the file at `path` could not be saved, for the reason `error`.
QString writeFailureText(const QString &path, const QString &error);
