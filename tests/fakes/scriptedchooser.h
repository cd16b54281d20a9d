#pragma once

#include <QString>

#include "lyrics/lyricfilechooser.h"

// Answers the lyric file dialog with a path set by the test ("" for a cancel).
class ScriptedChooser : public LyricFileChooser
{
public:
    explicit ScriptedChooser(QString answer = {}) : m_answer(std::move(answer)) {}
    QString chooseLyricFile() override { return m_answer; }

    QString m_answer;
};
