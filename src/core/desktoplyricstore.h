#pragma once

#include <QObject>
#include <QString>

#include "core/desktoplyricsettings.h"
#include "core/latestwriter.h"
#include "persist/keyvaluefile.h"

// The desktop lyric window's settings and their file `zorvan.dsk` beside the settings file:
// the marker line, then one `key=value` line per setting. A key the player does not know, or
// a value that does not convert, is passed over and the setting keeps the value it had.
//
// Every change is written on the store's own worker (see LatestWriter), so a stalled disk
// never holds up the window; only the latest change counts. The shutdown writes
// synchronously what is still unwritten.
class DesktopLyricStore : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *FileName = "zorvan.dsk";

    explicit DesktopLyricStore(const QString &path, QObject *parent = nullptr);

    const QString &path() const { return m_writer.path(); }
    const DesktopLyricSettings &settings() const { return m_settings; }
    // Emits changed() and writes the file when `settings` differ from the current ones.
    void setSettings(const DesktopLyricSettings &settings);
    // Start-up: the settings in the file applied onto the current ones. A file that exists
    // but cannot be read is told on stderr, changes nothing and is not written in this run.
    ReadStatus load();
    // Shutdown: writes the latest change unless it is written already.
    WriteResult flush() { return m_writer.flush(); }

    // The file's lines for `settings`, and `settings` with the values of `values` applied.
    static KeyValues format(const DesktopLyricSettings &settings);
    static DesktopLyricSettings applied(DesktopLyricSettings settings,
                                        const QHash<QString, QString> &values);

signals:
    void changed();

private:
    DesktopLyricSettings m_settings;
    LatestWriter m_writer;
};
