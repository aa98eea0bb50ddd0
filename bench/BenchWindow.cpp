// The window's own commands, on the offscreen platform: File > Open without its dialog (read,
// bars, every view drawn, analysis, controls revealed), and one step of the area-threshold
// bar with the all-phase bull's-eye shown, from the bar's change to the repainted Image1.
#include "BenchSupport.h"
#include "SDIMain.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QApplication &application()
{
    static int argc = 1;
    static char name[] = "corvista-bench";
    static char *argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }();
    return *app;
}

const SampleStudyFiles &sampleFiles()
{
    static const SampleStudyFiles files(RunSampleOptions());
    return files;
}

void BM_OpenStudy(benchmark::State &state)
{
    application();
    ProgramWindows windows;
    windows.main->show();
    QApplication::processEvents();
    const QString path = QString::fromStdString(sampleFiles().first);
    for (auto _ : state) {
        if (!windows.main->OpenStudy(path))
            state.SkipWithError("the sample study did not open");
    }
}
BENCHMARK(BM_OpenStudy)->Unit(benchmark::kMillisecond);

void BM_WindowThresholdStep_BA(benchmark::State &state)
{
    application();
    ProgramWindows windows;
    TSDIAppForm &form = *windows.main;
    form.show();
    QApplication::processEvents();
    if (!form.OpenStudy(QString::fromStdString(sampleFiles().first)))
        state.SkipWithError("the sample study did not open");
    form.control<QAbstractButton>(QStringLiteral("RadioButton35"))->click(); // map display
    form.control<QAbstractButton>(QStringLiteral("RadioButton49"))->click(); // BA
    QApplication::processEvents();
    int position = 40;
    for (auto _ : state) {
        position = position == 40 ? 41 : 40;
        form.ScrollBarA->setValue(position); // the analysis, the panel, Image1 repainted
    }
}
BENCHMARK(BM_WindowThresholdStep_BA)->Unit(benchmark::kMillisecond);

} // namespace
