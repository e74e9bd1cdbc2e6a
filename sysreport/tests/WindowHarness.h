// The main window over scripted services, writing its report into `folder`.
#pragma once

#include <QDir>
#include <QString>
#include <memory>

#include "Fakes.h"
#include "MainWindow.h"
#include "WineRegistry.h"

namespace sysreport::testing {

struct WindowHarness {
    explicit WindowHarness(const QString& folder)
        : backend(WineRegistryFile{}, WineRegistryFile{}),
          ini(makeIniFileReader()),
          registry(backend, *ini),
          window({facts, clock, registry, host, prompts, mail, systemInfo,
                  ReportLocations{QDir::toNativeSeparators(folder).toStdString(), "", ""}}) {}

    FakeSystemFacts facts;
    FakeClock clock;
    FakeCadHost host;
    RecordingPrompts prompts;
    FakeMailClient mail;
    FakeSystemInfoTool systemInfo;
    WineRegistryBackend backend;
    std::unique_ptr<IniFileReader> ini;
    RegistryReader registry;
    MainWindow window;
};

}  // namespace sysreport::testing
