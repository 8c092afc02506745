// Painting a gradient button into its off-screen image, as every repaint does.
#include "controls/GradButton.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

static void PaintButton(benchmark::State &state)
{
    TGradButton button;
    button.setGeometry(0, 0, int(state.range(0)), int(state.range(1)));
    button.SetCaption(QStringLiteral("&Suivant"));
    for (auto _ : state)
        benchmark::DoNotOptimize(button.PaintBitmap());
}
BENCHMARK(PaintButton)->Args({89, 25})->Args({300, 200});

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
