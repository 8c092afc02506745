// Printing an A5 booklet to a PDF file: time per job and the process's peak memory.
#include "app/adapters/QtPrintTarget.h"
#include "app/core/print/PrintJob.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

class YesPrompter : public Prompter {
public:
    MessageAnswer show(const QString &, const QString &, MessageIcon,
                       MessageButtons buttons) override
    {
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
};

// A 1200 x 1600 page with some detail, as JPEG bytes: pages are decoded when printed.
QByteArray PageJpeg(int page)
{
    QImage image(1200, 1600, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(page * 23 % 360, 160, 230));
    QPainter painter(&image);
    for (int y = 0; y < 1600; y += 40)
        painter.drawLine(0, y, 1200, 1600 - y);
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return buffer.data();
}

void BM_PrintA5Booklet(benchmark::State &bench)
{
    const auto pages = static_cast<std::int32_t>(bench.range(0));
    std::vector<QByteArray> jpegs;
    PrintState state;
    for (std::int32_t k = 0; k < pages; ++k) {
        jpegs.push_back(PageJpeg(k));
        state.PageList.push_back({QString::number(k + 1), k});
    }
    state.PageCountCache = pages;
    state.PrintLayout = QStringLiteral("A5");

    QTemporaryDir dir;
    QtPrintTarget target;
    target.printer().setOutputFormat(QPrinter::PdfFormat);
    target.printer().setOutputFileName(dir.filePath(QStringLiteral("livre.pdf")));
    target.setOrientation(PaperOrientation::Landscape);
    const PrinterGeometry printer = target.geometry();
    const DotsPerMm dpm = PrinterDotsPerMm(printer);
    const MarginsMm margins{20, 20, 40};
    std::tie(state.PrintRect1, state.PrintRect2) =
        A5PrintRects(printer, dpm, margins, ToDots(margins, dpm), QSize(1200, 1600));

    YesPrompter prompter;
    PrintJobEnv env{prompter, target, [&jpegs](std::int32_t image) -> std::optional<QImage> {
                        return QImage::fromData(jpegs[image], "JPEG");
                    }};
    for (auto _ : bench)
        RunPrintJob(state, env);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    bench.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024;
    bench.counters["pages_per_s"] = benchmark::Counter(
        static_cast<double>(pages), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PrintA5Booklet)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
