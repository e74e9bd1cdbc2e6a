// The registry of a test case folder (Wine prefix files system.reg and user.reg)
// as this platform reads it: from the files on Linux, and on Windows from the
// real registry after writing the same keys into it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Registry.h"

namespace sysreport::testing {

// The back end reading the keys of `folder` on this platform; it owns whatever
// it set up for that. `leftovers`: the topmost keys the fixtures create, which a
// run cut short may have left in a real registry.
std::unique_ptr<RegistryBackend> makeCaseBackend(const std::string& folder,
                                                 const std::vector<std::string>& leftovers);

// A back end that names a fixed source, so that reports of both legs agree.
class FixedSourceRegistry : public RegistryBackend {
  public:
    explicit FixedSourceRegistry(RegistryBackend& inner) : inner_(inner) {}
    std::int32_t openKey(RegistryRoot root, std::string_view key) override {
        return inner_.openKey(root, key);
    }
    RawRegistryValue readValue(RegistryRoot root, std::string_view key,
                               std::string_view valueName) override {
        return inner_.readValue(root, key, valueName);
    }
    void refresh() override { inner_.refresh(); }
    std::string sourceDescription() const override { return "Wine prefix /home/engineer/.wine"; }

  private:
    RegistryBackend& inner_;
};

// The registry of one case folder, as this platform reads it.
class CaseRegistry {
  public:
    CaseRegistry(const std::string& folder, const std::vector<std::string>& leftovers)
        : backend_(makeCaseBackend(folder, leftovers)) {}
    RegistryBackend& backend() { return fixedSource_; }

  private:
    std::unique_ptr<RegistryBackend> backend_;
    FixedSourceRegistry fixedSource_{*backend_};
};

}  // namespace sysreport::testing
