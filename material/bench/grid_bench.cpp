// Rebuilding the property grid through the real widget on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableWidget>

#include "PropertyGrid.h"
#include "data/Material.h"
#include "data/ModelCatalogue.h"
#include "data/NumberParser.h"

namespace {

class BenchHost final : public material::FlexGridHost {
  public:
    const material::clsMaterial* CurrentMaterial() const override { return &material; }
    int UnitListPosition() const override { return position; }
    const material::NumberParser& Numbers() const override { return numbers; }

    material::clsMaterial material;
    int position = 1;
    material::NumberParser numbers{","};
};

// A viscoelastic material with a value in every one of its 39 rows.
void FillEveryRow(material::clsMaterial& material) {
    for (const material::PropertySlot slot : material::ModelRows(12)) {
        material.CopyProperty(material::clsMaterial::GetNthProperty(slot), 1.2345e6 + slot);
    }
}

// Each iteration switches the unit system and rebuilds the grid as the window does;
// with `paint` the widget then lays itself out and paints, as the user would see it.
void RefreshLoop(benchmark::State& state, bool paint) {
    BenchHost host;
    FillEveryRow(host.material);
    QTableWidget table;
    table.resize(640, 800);
    table.show();
    int i = 0;
    for (auto _ : state) {
        host.position = i++ % 3;
        material::PropertyGrid grid(host, material::WindowUnitCaptions(host.position));
        grid.UpdateProperty(table, 12);
        if (paint) {
            // Runs the deferred layout and the one paint the rebuild asked for.
            QApplication::processEvents();
        }
    }
    state.SetLabel("type 12, 39 rows, unit switch");
}

void BM_GridRefresh(benchmark::State& state) {
    RefreshLoop(state, true);
}
BENCHMARK(BM_GridRefresh)->Unit(benchmark::kMillisecond);

// The rebuild alone, without layout and painting.
void BM_GridRebuildOnly(benchmark::State& state) {
    RefreshLoop(state, false);
}
BENCHMARK(BM_GridRebuildOnly)->Unit(benchmark::kMillisecond);

}  // namespace

// The widgets need an application, which has to go before the toolkit's own cleanup at
// exit; so this program has its own main.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
