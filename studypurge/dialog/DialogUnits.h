#pragma once
// Dialog units: layout positions relative to the dialog font. One horizontal unit
// is a quarter of the font's average character width, one vertical unit an eighth
// of its height.

#include <QRect>
#include <QSize>

class QFont;

namespace spdialog {

class DialogUnits {
  public:
    DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}
    static DialogUnits forFont(const QFont& font);

    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }
    int x(int units) const { return scaled(units, baseX_, 4); }
    int y(int units) const { return scaled(units, baseY_, 8); }
    QRect rect(int left, int top, int width, int height) const {
        return QRect(x(left), y(top), x(width), y(height));
    }
    QSize size(int width, int height) const { return QSize(x(width), y(height)); }

  private:
    // value * numerator / denominator, rounded half away from zero.
    static int scaled(int value, int numerator, int denominator);

    int baseX_;
    int baseY_;
};

}  // namespace spdialog
