#pragma once

#include <atomic>
#include <memory>

#include <QMutex>
#include <QObject>
#include <QString>

#include "core/desktoplyricsettings.h"
#include "core/workqueue.h"
#include "persist/keyvaluefile.h"

// The desktop lyric window's settings and their file `zorvan.dsk` beside the settings file:
// the marker line, then one `key=value` line per setting. A key the player does not know, or
// a value that does not convert, is passed over and the setting keeps the value it had.
//
// Every change is written on the store's own worker (see WorkQueue), so a stalled disk never
// holds up the window; only the latest change is written. The shutdown writes synchronously
// what is still unwritten, and a write still waiting on the worker then writes nothing.
class DesktopLyricStore : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *FileName = "zorvan.dsk";

    explicit DesktopLyricStore(const QString &path, QObject *parent = nullptr);

    QString path() const { return m_path; }
    const DesktopLyricSettings &settings() const { return m_settings; }
    // Emits changed() and writes the file when `settings` differ from the current ones.
    void setSettings(const DesktopLyricSettings &settings);
    // Start-up: the settings in the file applied onto the current ones. A file that exists
    // but cannot be read is told on stderr and changes nothing.
    ReadStatus load();
    // Shutdown: writes the settings when they differ from what the file last took or held.
    WriteResult save();

    // The file's lines for `settings`, and `settings` with the values of `values` applied.
    static KeyValues format(const DesktopLyricSettings &settings);
    static DesktopLyricSettings applied(DesktopLyricSettings settings,
                                        const QHash<QString, QString> &values);

signals:
    void changed();

private:
    QString m_path;
    DesktopLyricSettings m_settings;
    // What the file holds as far as the store knows: as read, or as last written.
    DesktopLyricSettings m_written;
    // The serial of the latest write asked for; a write on the worker with an older one is
    // stale and writes nothing.
    std::shared_ptr<std::atomic<int>> m_latestWrite = std::make_shared<std::atomic<int>>(0);
    // Held over the check of the serial and the write, on the worker and at shutdown, so that
    // a stale write under way ends before the shutdown's and cannot replace it.
    std::shared_ptr<QMutex> m_writeLock = std::make_shared<QMutex>();
    WorkQueue m_writer;
};
