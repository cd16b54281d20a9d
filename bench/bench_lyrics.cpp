#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "lyrics/lyricdisplay.h"
#include "lyrics/lyriclist.h"
#include "lyrics/lyricparser.h"
#include "persist/textcodec.h"

// The lyric work of a song start (parsing its file into the list) and of one timer tick
// (one display step).

namespace {

constexpr int Lines = 5000;

// A lyric file of `Lines` lines, one every 0.73 s, some with two time tags.
QString lyricText()
{
    QString text = QStringLiteral("[ti:测试歌曲]\r\n[ar:歌手]\r\n[offset:120]\r\n");
    for (int line = 0; line < Lines; ++line) {
        const int hundredths = line * 73;
        QString tag = QStringLiteral("[%1:%2.%3]")
                          .arg(hundredths / 6000, 2, 10, QLatin1Char('0'))
                          .arg(hundredths / 100 % 60, 2, 10, QLatin1Char('0'))
                          .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
        if (line % 10 == 0)
            tag += QStringLiteral("[99:00.00]");
        text += tag + QStringLiteral("这是第%1行歌词 with some words\r\n").arg(line);
    }
    return text;
}

void BM_ParseLyricText(benchmark::State &state)
{
    const QString text = lyricText();
    for (auto _ : state) {
        LyricList list;
        list.insert(parseLyricText(text));
        list.select(0);
        benchmark::DoNotOptimize(list.count());
    }
}
BENCHMARK(BM_ParseLyricText)->Unit(benchmark::kMillisecond);

// The same file from disk in GB18030, as the song start reads it.
void BM_ParseLyricFile(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("song.lrc");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encodeGb18030(lyricText()).value()) < 0) {
        state.SkipWithError("cannot write the lyric file");
        return;
    }
    file.close();
    for (auto _ : state) {
        LyricList list;
        benchmark::DoNotOptimize(ParseLyricFile(path, list));
    }
}
BENCHMARK(BM_ParseLyricFile)->Unit(benchmark::kMillisecond);

// A file of 100,000 lines, one each hundredth of a second from 0:00.00 to 999:00.99, with
// its items checked once.
void BM_ParseHundredThousandLines(benchmark::State &state)
{
    QString text;
    for (int line = 0; line < 100'000; ++line)
        text += QStringLiteral("[%1:00.%2]第%3行\r\n")
                    .arg(line / 100)
                    .arg(line % 100, 2, 10, QLatin1Char('0'))
                    .arg(line);
    for (auto _ : state) {
        LyricList list;
        list.insert(parseLyricText(text));
        if (list.count() != 100'001 || list.items().last() != u"59940.99#第99999行 ##")
            state.SkipWithError("the lines were parsed wrong");
    }
}
BENCHMARK(BM_ParseHundredThousandLines)->Unit(benchmark::kMillisecond);

// Lines that cost more than their length with a careless scan: a megabyte of "]", and a
// line of a quarter million "<" that never close.
void BM_ParseHostileLines(benchmark::State &state)
{
    const QString brackets(1024 * 1024, u']');
    const QString marks = "[00:01.00]" + QStringLiteral("<0:0").repeated(256 * 1024);
    for (auto _ : state) {
        benchmark::DoNotOptimize(parseLyricText(brackets));
        benchmark::DoNotOptimize(parseLyricText(marks));
    }
}
BENCHMARK(BM_ParseHostileLines)->Unit(benchmark::kMillisecond);

// The crafted file of one line of 400,000 "[0:0]" tags before 2 MB of text, parsed into the
// list as the lookup does; the counters are the items kept and their text in megabytes
// (UTF-16), which the parser's bounds hold to a few times the file's size.
void BM_ParseLyricBomb(benchmark::State &state)
{
    const QString bomb = QStringLiteral("[0:0]").repeated(400'000) + QString(2'000'000, u'x');
    qsizetype items = 0;
    qsizetype bytes = 0;
    for (auto _ : state) {
        bool isCut = false;
        LyricList list;
        list.insert(parseLyricText(bomb, &isCut));
        list.select(0);
        if (!isCut)
            state.SkipWithError("the parse was not cut short");
        items = list.count();
        bytes = 0;
        for (const QString &item : list.items())
            bytes += item.size() * qsizetype(sizeof(QChar));
    }
    state.counters["items"] = double(items);
    state.counters["item_mb"] = double(bytes) / 1e6;
}
BENCHMARK(BM_ParseLyricBomb)->Unit(benchmark::kMillisecond);

// One tick each 10 ms of play through the whole song, lines shown and blanked on the way.
void BM_SyncLyric(benchmark::State &state)
{
    LyricList list;
    list.insert(parseLyricText(lyricText()));
    list.select(0);
    const float end = float(list.seconds(list.count() - 1)) + 1;
    float position = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SyncLyric(list, position));
        position += 0.01f;
        if (position > end) {
            position = 0;
            list.select(0);
        }
    }
}
BENCHMARK(BM_SyncLyric);

} // namespace

BENCHMARK_MAIN();
