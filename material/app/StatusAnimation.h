// The counter behind the status bar's small animation: which picture each timer tick
// shows. Plain C++ so the sequence can be reasoned about apart from the widgets.
#pragma once

#include <cstdint>

namespace material {

class StatusAnimation {
  public:
    // Picture ids of the animation frames.
    static constexpr int kFirstFrame = 102;
    static constexpr int kLastFrame = 112;

    // One tick: returns the picture to show, or 0 when the previous picture stays.
    // The first tick shows nothing; then a cycle of 13 ticks with pauses at 9 and 11.
    int tick();

    std::int16_t counter() const { return counter_; }

  private:
    static int pictureFor(std::int16_t counter);

    std::int16_t counter_ = 0;
};

}  // namespace material
