#include "app/StatusAnimation.h"

namespace material {

int StatusAnimation::pictureFor(std::int16_t counter) {
    if (counter >= 1 && counter <= 8) {
        return 101 + counter;
    }
    switch (counter) {
        case 10:
            return 110;
        case 12:
            return 111;
        case 13:
            return 112;
        default:
            return 0;  // 9 and 11 pause on the previous picture; 0 is the start
    }
}

int StatusAnimation::tick() {
    const int picture = pictureFor(counter_);
    counter_ = counter_ == 13 ? std::int16_t{1} : static_cast<std::int16_t>(counter_ + 1);
    return picture;
}

}  // namespace material
