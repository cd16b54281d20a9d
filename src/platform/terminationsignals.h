#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT end the player in order, like its close button, so that a session
// logout or a Ctrl+C loses nothing.
//
// The handler only records the signal: it writes a byte to a socket pair and restores the
// default action of both signals, so a second signal ends the process at once even when
// the orderly shutdown hangs. The byte waits in the socket until a TerminationSignals
// object exists and the event loop runs; it then emits terminationRequested once.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    // Installs the handlers. Call it first thing in main(), before the application object
    // and any thread exist, so that no signal of the start-up is lost. False when the
    // socket pair or a handler could not be set up (the signals then keep their default
    // action).
    static bool install();

    // Watches for a signal caught since install(). Create it just before the event loop
    // starts: the shutdown it asks for then runs inside that loop, whose end it needs.
    explicit TerminationSignals(QObject *parent = nullptr);

signals:
    void terminationRequested();

private:
    void receive();

    QSocketNotifier *m_notifier = nullptr;
};
