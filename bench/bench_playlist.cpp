#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "persist/playlistfile.h"

// Writing and reading a playlist of state.range(0) songs with Chinese paths, the kind a
// large music collection gives. Target: 100,000 songs each way in well under 100 ms.

namespace {

QStringList makeSongs(qsizetype count)
{
    QStringList songs;
    songs.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        songs.append(QStringLiteral("/home/user/音乐/歌手 %1/专辑 %2/%3 一首歌的名字.mp3")
                         .arg(i / 1000)
                         .arg(i / 20)
                         .arg(i));
    }
    return songs;
}

void SavePlaylistSongs(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("zorvan.m3u");
    const QStringList songs = makeSongs(state.range(0));
    for (auto _ : state) {
        if (!SavePlaylist(path, songs).ok)
            state.SkipWithError("the playlist could not be written");
    }
    state.SetItemsProcessed(state.iterations() * songs.size());
}

void LoadPlaylistSongs(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("zorvan.m3u");
    const QStringList songs = makeSongs(state.range(0));
    if (!SavePlaylist(path, songs).ok)
        state.SkipWithError("the playlist could not be written");
    for (auto _ : state) {
        const PlaylistEntries entries = LoadPlaylist(path).value;
        if (entries.songs.size() != songs.size())
            state.SkipWithError("the playlist read back wrong");
        benchmark::DoNotOptimize(entries);
    }
    state.SetItemsProcessed(state.iterations() * songs.size());
}

} // namespace

BENCHMARK(SavePlaylistSongs)->Arg(1000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadPlaylistSongs)->Arg(1000)->Arg(100'000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
