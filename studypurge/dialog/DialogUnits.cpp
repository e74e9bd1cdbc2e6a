#include "DialogUnits.h"

#include <QFont>
#include <QFontMetrics>

namespace spdialog {

DialogUnits DialogUnits::forFont(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // Average width of the 52 letters, rounded.
    return DialogUnits((alphabetWidth / 26 + 1) / 2, metrics.height());
}

int DialogUnits::scaled(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace spdialog
