#include "MainBehaviour.h"

#include "ReportWriter.h"
#include "Version.h"

namespace sysreport {

MainBehaviour::MainBehaviour(AppServices services, MainView& view)
    : services_(std::move(services)),
      view_(view),
      supportAddress_(kDefaultSupportAddress),
      startUptime_(uptimeFromMilliseconds(services_.clock.uptimeMilliseconds())),
      commands_([this] { return buildReport(); }, services_.prompts, services_.locations),
      mailer_(commands_, services_.prompts, services_.mail) {}

std::string MainBehaviour::caption() const {
    return versionCaption();
}

std::string MainBehaviour::defaultAddress() {
    return kDefaultSupportAddress;
}

std::string MainBehaviour::buildReport() {
    ReportWriter writer({services_.facts, services_.clock, services_.registry, services_.cadHost,
                         services_.prompts},
                        services_.locations.programFolder, view_.screenFacts());
    writer.setOpenGl(view_.openGlFacts());
    return writer.build();
}

void MainBehaviour::emailReport() {
    supportAddress_ = view_.emailField();  // setEmailAddress
    mailer_.emailReport(supportAddress_);
}

void MainBehaviour::useAddress(const std::string& address) {
    supportAddress_ = address;
    view_.setEmailField(address);
}

void MainBehaviour::changeDefaultOk(const std::string& typed) {
    useAddress(typed);
}

void MainBehaviour::changeDefaultCancel() {
    useAddress(kDefaultSupportAddress);
}

}  // namespace sysreport
