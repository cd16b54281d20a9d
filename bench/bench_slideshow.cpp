#include <time.h>

#include <memory>
#include <random>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "core/session.h"
#include "slideshow/picshow.h"
#include "slideshow/slideshow.h"
#include "ui/transitionpainter.h"

// The slideshow at 1920 x 1080 on Qt's offscreen platform.
// - ComposePicture: a 2400 x 1600 photo centred on the screen. Runs on the decoding thread.
// - PaintTransition/effect: one whole transition carried out by the painter's timer in the
//   event loop; the counter `painting` is the user-interface thread's CPU time over the
//   transition's length. Target: at most 0.2.
// - ShowLargePhoto: a 6000 x 4000 JPEG shown, from the tick to the end of its transition,
//   while a 10 ms timer ticks; `longest_gap_ms` is the longest time between two ticks.
//   Target: under 20 ms.

namespace {

const QSize Screen(1920, 1080);

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// A photo-like picture: smooth colour gradients with fine noise.
QImage photo(QSize size)
{
    std::mt19937 generator(1);
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(generator() % 24);
            line[x] = qRgb((x * 255 / size.width() + noise) % 256,
                           (y * 255 / size.height() + noise) % 256, (x + y + noise) % 256);
        }
    }
    return picture;
}

// The full-screen background with its picture surface, on a session of its own.
struct Stage
{
    Stage()
    {
        panel.resize(Screen);
        painter.setGeometry(panel.rect());
        panel.show();
    }
    QTemporaryDir folder;
    Session session{folder.path()};
    QWidget panel;
    TransitionPainter painter{session, &panel};
};

// Made when first needed and freed by main() while the application object still exists:
// a widget must not outlive it.
std::unique_ptr<Stage> sharedStage;

Stage &stage()
{
    if (!sharedStage)
        sharedStage = std::make_unique<Stage>();
    return *sharedStage;
}

void ComposePicture(benchmark::State &state)
{
    const QImage picture = photo(QSize(2400, 1600));
    for (auto _ : state)
        benchmark::DoNotOptimize(composePicture(picture, Screen, Qt::darkCyan));
}

void PaintTransition(benchmark::State &state)
{
    Stage &on = stage();
    std::mt19937 generator(9);
    const QImage pictures[] = {composePicture(photo(QSize(1600, 1200)), Screen, Qt::darkCyan),
                               composePicture(photo(QSize(2400, 1000)), Screen, Qt::black)};
    const int effect = int(state.range(0));
    double share = 0;
    int round = 0;
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&on.painter, &TransitionPainter::transitionEnded, &loop,
                         &QEventLoop::quit);
        const double cpuBefore = threadCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        on.painter.startTransition(pictures[round++ % 2], planEffect(effect, Screen, generator));
        loop.exec();
        const double cpu = threadCpuSeconds() - cpuBefore;
        share += cpu / (double(wall.nsecsElapsed()) / 1e9);
        state.SetIterationTime(cpu);
    }
    state.counters["painting"] = share / double(state.iterations());
}

void ShowLargePhoto(benchmark::State &state)
{
    Stage &on = stage();
    const QString path = on.folder.filePath(QStringLiteral("large.jpg"));
    if (!photo(QSize(6000, 4000)).save(path, "JPEG", 90))
        state.SkipWithError("the photo could not be written");
    SettingsRecord settings;
    settings.shared.PicShowSeconds = 3600; // only the benchmark's own ticks
    on.session.setSettings(settings);
    on.session.setListPic({path}, 0);
    double timeOfDay = 0;
    Slideshow show(
        on.session, on.painter, [&timeOfDay] { return timeOfDay += 3723.5; }, 3);
    QObject::connect(&on.painter, &TransitionPainter::transitionEnded, &show,
                     &Slideshow::transitionEnded);
    show.setFullScreen(true);
    qint64 longestGap = 0;
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&on.painter, &TransitionPainter::transitionEnded, &loop,
                         &QEventLoop::quit);
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QElapsedTimer sinceTick;
        QObject::connect(&ticker, &QTimer::timeout,
                         [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        ticker.start(10);
        sinceTick.start();
        show.ShowNextPicture();
        loop.exec();
    }
    state.counters["longest_gap_ms"] = double(longestGap);
}

} // namespace

BENCHMARK(ComposePicture)->Unit(benchmark::kMillisecond);
BENCHMARK(PaintTransition)
    ->DenseRange(0, 4)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ShowLargePhoto)->Iterations(5)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sharedStage.reset();
    return 0;
}
