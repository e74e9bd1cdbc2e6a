// Windows: the work runs in the calling process for now, so that a reader crash or hang
// there still ends or blocks the program; the size limit and a thrown exception are
// reported as the child's would be.
#include <exception>

#include "ReaderProcess.h"

namespace material {
namespace {

using Outcome = ChildReport::Outcome;

class LimitedOutput final : public ChildOutput {
  public:
    explicit LimitedOutput(std::size_t maxBytes) : maxBytes_(maxBytes) {}

    bool send(std::string_view bytes) override {
        if (tooLarge_ || bytes.size() > maxBytes_ - bytes_.size()) {
            tooLarge_ = true;
            return false;
        }
        bytes_.append(bytes);
        return true;
    }
    bool tooLarge() const { return tooLarge_; }
    std::string take() { return std::move(bytes_); }

  private:
    std::size_t maxBytes_;
    std::string bytes_;
    bool tooLarge_ = false;
};

}  // namespace

ChildReport runInChildProcess(const ChildWork& work, const ChildLimits& limits) {
    LimitedOutput output(limits.maxBytes);
    try {
        work(output);
    } catch (...) {
        return {output.tooLarge() ? Outcome::TooLarge : Outcome::Failed, {}};
    }
    if (output.tooLarge()) {
        return {Outcome::TooLarge, {}};
    }
    return {Outcome::Finished, output.take()};
}

}  // namespace material
