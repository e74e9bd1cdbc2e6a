// One keystroke in the filter field narrowing the tree of a full library (1001
// materials), through the real library window on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>

#include "BenchLibrary.h"
#include "MaterialBrowser.h"

namespace material {
namespace {

class NoHelp final : public HelpViewer {
  public:
    void displayHelpFile(const std::string&) override {}
};

int ShownMaterials(const QTreeWidget& tree) {
    int shown = 0;
    for (int c = 0; c < tree.topLevelItemCount(); ++c) {
        const QTreeWidgetItem* category = tree.topLevelItem(c);
        for (int m = 0; m < category->childCount(); ++m) {
            shown += category->child(m)->isHidden() ? 0 : 1;
        }
    }
    return shown;
}

void BM_FilterTree(benchmark::State& state) {
    bench::QuietPrompts prompts;
    bench::OneFile files{bench::FullLibraryText()};
    bench::PointSeparator separator;
    clsRegistry settings{std::make_unique<bench::NoSettings>()};
    MaterialBrowser browser(
        BrowserServices{prompts, files, separator, settings, nullptr, std::make_unique<NoHelp>()});
    browser.frame().resize(1024, 768);
    browser.frame().show();
    browser.openLibrary();
    QApplication::processEvents();
    auto* filter = browser.form()->findChild<QLineEdit*>(QStringLiteral("filterText"));
    auto* tree = browser.form()->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
    filter->setFocus();
    for (auto _ : state) {
        state.PauseTiming();
        filter->setText(QStringLiteral("number 1"));  // 1, 10-19, 100-199 and 1000 shown
        QApplication::processEvents();
        state.ResumeTiming();
        // The keystroke "2", the filter it runs, then the layout and paint it asks for.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
        QApplication::sendEvent(filter, &press);
        QApplication::processEvents();
    }
    if (ShownMaterials(*tree) != 11) {  // 12 and 120-129
        state.SkipWithError("the tree was not narrowed");
    }
    state.SetLabel("1001 materials, 112 -> 11 shown");
}
BENCHMARK(BM_FilterTree)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace material

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
