#pragma once

#include <array>

#include <QObject>
#include <QString>

// The texts of the four labels the player writes: the time `LTime`, the song line `LInfo`
// and the two lyric lines `LTxtMin` (normal window) and `LTxtMax` (full screen). The window
// shows them through `changed`, which fires on real changes only.
class DisplayLabels : public QObject
{
    Q_OBJECT

public:
    enum class Label { LTime, LInfo, LTxtMin, LTxtMax };

    using QObject::QObject;

    QString text(Label label) const { return m_texts[std::size_t(label)]; }
    void setText(Label label, const QString &text);

signals:
    void changed(DisplayLabels::Label label, const QString &text);

private:
    // The design captions.
    std::array<QString, 4> m_texts{QStringLiteral("00:00"), QString(),
                                   QStringLiteral("ZorvanPlayer"), QStringLiteral("岚铃播放器")};
};
