// Draws the browser's pictures (toolbar, tree, cursor, icons, status animation) as PNG
// files into the folder given as the first argument. Run by make_art.sh; the results are
// checked in, so this only runs again when the artwork changes.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

QString outputFolder;

void save(const QString& name, int size, const std::function<void(QPainter&)>& draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);  // every picture is drawn on a 32 by 32 grid
    draw(p);
    p.end();
    const QString path = QDir(outputFolder).filePath(name + ".png");
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
}

QPen outline(const QColor& c, qreal w = 1.6) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(20, 3);
    page.lineTo(26, 9);
    page.lineTo(26, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    QLinearGradient g(7, 3, 26, 29);
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(1, QColor(214, 222, 232));
    p.setPen(outline(QColor(70, 80, 100)));
    p.setBrush(g);
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(20, 3);
    fold.lineTo(20, 9);
    fold.lineTo(26, 9);
    p.setBrush(QColor(190, 200, 215));
    p.drawPath(fold);
    p.setPen(outline(QColor(150, 165, 185), 1.2));
    for (int y = 14; y <= 24; y += 4) {
        p.drawLine(QPointF(11, y), QPointF(22, y));
    }
}

void drawSparkle(QPainter& p, QPointF c, qreal r) {
    QPainterPath star;
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * M_PI / 4;
        const qreal len = (i % 2 == 0) ? r : r * 0.35;
        const QPointF pt = c + QPointF(std::cos(a) * len, std::sin(a) * len);
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(outline(QColor(170, 110, 0), 1.0));
    p.setBrush(QColor(255, 205, 40));
    p.drawPath(star);
}

void drawFolder(QPainter& p) {
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(11, 8);
    back.lineTo(14, 11);
    back.lineTo(26, 11);
    back.lineTo(26, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.setPen(outline(QColor(150, 100, 20)));
    p.setBrush(QColor(230, 180, 70));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(8, 15);
    front.lineTo(30, 15);
    front.lineTo(25, 27);
    front.lineTo(3, 27);
    front.closeSubpath();
    QLinearGradient g(0, 15, 0, 27);
    g.setColorAt(0, QColor(255, 225, 120));
    g.setColorAt(1, QColor(240, 190, 70));
    p.setBrush(g);
    p.drawPath(front);
}

void drawDisk(QPainter& p) {
    QPainterPath body;
    body.moveTo(4, 4);
    body.lineTo(25, 4);
    body.lineTo(28, 7);
    body.lineTo(28, 28);
    body.lineTo(4, 28);
    body.closeSubpath();
    QLinearGradient g(4, 4, 28, 28);
    g.setColorAt(0, QColor(70, 120, 200));
    g.setColorAt(1, QColor(30, 70, 150));
    p.setPen(outline(QColor(20, 40, 90)));
    p.setBrush(g);
    p.drawPath(body);
    p.setPen(outline(QColor(120, 130, 150), 1.0));
    p.setBrush(QColor(245, 245, 245));
    p.drawRect(QRectF(8, 4.8, 15, 10));
    p.setBrush(QColor(40, 50, 70));
    p.drawRect(QRectF(18, 6.5, 3, 6.5));
    p.setBrush(QColor(205, 210, 220));
    p.drawRoundedRect(QRectF(8, 18, 16, 9), 1.5, 1.5);
}

void drawCross(QPainter& p) {
    QPainterPath cross;
    const qreal a = 5, b = 27, t = 4.2;
    cross.moveTo(a, a + t);
    cross.lineTo(a + t, a);
    cross.lineTo(16, 16 - t);
    cross.lineTo(b - t, a);
    cross.lineTo(b, a + t);
    cross.lineTo(16 + t, 16);
    cross.lineTo(b, b - t);
    cross.lineTo(b - t, b);
    cross.lineTo(16, 16 + t);
    cross.lineTo(a + t, b);
    cross.lineTo(a, b - t);
    cross.lineTo(16 - t, 16);
    cross.closeSubpath();
    QLinearGradient g(a, a, b, b);
    g.setColorAt(0, QColor(245, 90, 80));
    g.setColorAt(1, QColor(190, 20, 20));
    p.setPen(outline(QColor(120, 10, 10), 1.4));
    p.setBrush(g);
    p.drawPath(cross);
}

void drawHelp(QPainter& p) {
    QRadialGradient g(QPointF(12, 10), 18);
    g.setColorAt(0, QColor(110, 170, 255));
    g.setColorAt(1, QColor(25, 80, 180));
    p.setPen(outline(QColor(15, 45, 110)));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    QPainterPath mark;  // the question mark: a hook and a dot
    mark.moveTo(11.5, 12.5);
    mark.cubicTo(11.5, 6.5, 21, 6.5, 21, 12);
    mark.cubicTo(21, 15.5, 16, 15.5, 16, 19.5);
    p.setPen(QPen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 24.5), 2.1, 2.1);
}

void drawClosedBook(QPainter& p) {
    p.setPen(outline(QColor(90, 80, 60), 1.4));
    p.setBrush(QColor(250, 245, 225));
    p.drawRoundedRect(QRectF(8, 5, 19, 24), 2, 2);  // page block
    QLinearGradient g(5, 0, 25, 0);
    g.setColorAt(0, QColor(120, 25, 30));
    g.setColorAt(1, QColor(185, 50, 50));
    p.setPen(outline(QColor(80, 15, 20), 1.6));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(5, 3, 20, 24), 2, 2);  // cover
    p.setPen(outline(QColor(90, 15, 20), 1.4));
    p.drawLine(QPointF(9, 3.5), QPointF(9, 26.5));  // spine
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(QRectF(12, 8, 10, 4));  // title plate
}

void drawOpenBook(QPainter& p) {
    p.setPen(outline(QColor(80, 15, 20), 1.4));
    p.setBrush(QColor(160, 40, 45));
    QPainterPath cover;
    cover.moveTo(2, 9);
    cover.lineTo(16, 11);
    cover.lineTo(30, 9);
    cover.lineTo(30, 27);
    cover.lineTo(16, 29);
    cover.lineTo(2, 27);
    cover.closeSubpath();
    p.drawPath(cover);
    p.setPen(outline(QColor(110, 100, 80), 1.2));
    p.setBrush(QColor(252, 248, 232));
    QPainterPath left;
    left.moveTo(4, 6);
    left.cubicTo(9, 5, 13, 6, 16, 8.5);
    left.lineTo(16, 26.5);
    left.cubicTo(13, 24.5, 9, 24, 4, 25);
    left.closeSubpath();
    p.drawPath(left);
    p.drawPath(QTransform(-1, 0, 0, 1, 32, 0).map(left));
    p.setPen(outline(QColor(170, 160, 140), 1.0));
    for (qreal y = 11; y <= 21; y += 3.3) {
        p.drawLine(QPointF(6.5, y), QPointF(13.5, y + 0.8));
        p.drawLine(QPointF(18.5, y + 0.8), QPointF(25.5, y));
    }
}

void drawLeaf(QPainter& p, const QColor& light, const QColor& dark, const QColor& edge) {
    QPainterPath leaf;
    leaf.moveTo(5, 27);
    leaf.cubicTo(3, 13, 14, 4, 28, 4);
    leaf.cubicTo(28, 18, 19, 29, 5, 27);
    QLinearGradient g(5, 27, 28, 4);
    g.setColorAt(0, dark);
    g.setColorAt(1, light);
    p.setPen(outline(edge, 1.6));
    p.setBrush(g);
    p.drawPath(leaf);
    p.setPen(outline(edge.lighter(130), 1.2));
    p.drawLine(QPointF(6, 26), QPointF(22, 10));
    p.drawLine(QPointF(12, 20), QPointF(12, 13));
    p.drawLine(QPointF(12, 20), QPointF(19, 20));
    p.drawLine(QPointF(17, 15), QPointF(17, 9.5));
    p.drawLine(QPointF(17, 15), QPointF(23, 15));
}

void drawDragCursor(QPainter& p) {
    p.save();
    p.translate(12, 12);
    p.scale(0.6, 0.6);
    drawLeaf(p, QColor(150, 215, 90), QColor(50, 140, 40), QColor(25, 80, 20));
    p.restore();
    QPainterPath arrow;  // pointer with its hot spot at the top left
    arrow.moveTo(1, 1);
    arrow.lineTo(1, 17);
    arrow.lineTo(5, 13);
    arrow.lineTo(8, 19.5);
    arrow.lineTo(10.5, 18.5);
    arrow.lineTo(7.5, 12);
    arrow.lineTo(13, 12);
    arrow.closeSubpath();
    p.setPen(outline(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(arrow);
}

// An isometric block cut into layers: the material sample of the about box.
void drawAboutIcon(QPainter& p) {
    const QPointF top(16, 3), left(3, 10), right(29, 10), centre(16, 17);
    const QPointF down(0, 12);
    QPainterPath topFace;
    topFace.moveTo(top);
    topFace.lineTo(right);
    topFace.lineTo(centre);
    topFace.lineTo(left);
    topFace.closeSubpath();
    QPainterPath leftFace;
    leftFace.moveTo(left);
    leftFace.lineTo(centre);
    leftFace.lineTo(centre + down);
    leftFace.lineTo(left + down);
    leftFace.closeSubpath();
    QPainterPath rightFace;
    rightFace.moveTo(centre);
    rightFace.lineTo(right);
    rightFace.lineTo(right + down);
    rightFace.lineTo(centre + down);
    rightFace.closeSubpath();
    p.setPen(outline(QColor(30, 40, 70), 1.3));
    p.setBrush(QColor(120, 190, 240));
    p.drawPath(topFace);
    QLinearGradient lg(left, centre + down);
    lg.setColorAt(0, QColor(60, 110, 190));
    lg.setColorAt(1, QColor(30, 60, 130));
    p.setBrush(lg);
    p.drawPath(leftFace);
    QLinearGradient rg(centre, right + down);
    rg.setColorAt(0, QColor(230, 120, 50));
    rg.setColorAt(1, QColor(170, 60, 30));
    p.setBrush(rg);
    p.drawPath(rightFace);
    p.setPen(outline(QColor(255, 255, 255, 150), 1.0));
    for (int i = 1; i <= 2; ++i) {  // layer lines
        const QPointF d(0, 4.0 * i);
        p.drawLine(left + d, centre + d);
        p.drawLine(centre + d, right + d);
    }
}

QColor contourColour(qreal t) {  // blue (low) through green to red (high)
    return QColor::fromHsvF(std::clamp(0.66 * (1.0 - t), 0.0, 0.66), 0.85, 0.95);
}

// Frame k of the status animation: a four-element mesh turning a quarter turn over the
// eleven frames while its contour colours pulse.
void drawAnimationFrame(QPainter& p, int k) {
    const qreal angle = 90.0 * k / 11.0;
    const qreal phase = std::sin(2 * M_PI * k / 11.0);
    p.translate(16, 16);
    p.rotate(angle);
    const qreal h = 9.5;
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 2; ++col) {
            const QRectF cell(-h + col * h, -h + row * h, h, h);
            const qreal t = 0.5 + 0.45 * phase * ((row + col) % 2 == 0 ? 1 : -1);
            QLinearGradient g(cell.topLeft(), cell.bottomRight());
            g.setColorAt(0, contourColour(t));
            g.setColorAt(1, contourColour(t * 0.6));
            p.setPen(outline(QColor(25, 25, 40), 1.3));
            p.setBrush(g);
            p.drawRect(cell);
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(25, 25, 40));
    for (int i = -1; i <= 1; ++i) {
        for (int j = -1; j <= 1; ++j) {
            p.drawEllipse(QPointF(i * h, j * h), 1.5, 1.5);  // nodes
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_art <output folder>\n");
        return 2;
    }
    outputFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outputFolder);

    const int tool = 24, tree = 16, icon = 32;
    save("new", tool, [](QPainter& p) {
        drawPage(p);
        drawSparkle(p, QPointF(8, 8), 7);
    });
    save("open", tool, drawFolder);
    save("save", tool, drawDisk);
    save("delete", tool, drawCross);
    save("help", tool, drawHelp);

    save("closedbook_icon", icon, drawClosedBook);
    save("closedbook", tree, drawClosedBook);
    save("openbook", tree, drawOpenBook);
    save("leaf", tree, [](QPainter& p) {
        drawLeaf(p, QColor(150, 215, 90), QColor(50, 140, 40), QColor(25, 80, 20));
    });
    save("leaf1", tree, [](QPainter& p) {
        drawLeaf(p, QColor(255, 235, 110), QColor(230, 140, 20), QColor(130, 60, 0));
    });
    save("drag", icon, drawDragCursor);
    save("about", icon, drawAboutIcon);
    for (int k = 0; k < 11; ++k) {
        save(QString::number(102 + k), icon, [k](QPainter& p) { drawAnimationFrame(p, k); });
    }
    return 0;
}
