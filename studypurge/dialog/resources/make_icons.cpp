// Draws the program's icons into PNG files for the Qt program and, given a second
// folder, into .ico files with 16, 32 and 48 pixel images for the Win32 program
// (run once; the files are kept in the tree):
//   cmake --build <build> --target studypurge_make_icons
//   <build>/bin/studypurge_make_icons studypurge/dialog/resources studypurge/win32/res
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <functional>

namespace {

using Drawing = std::function<void(QPainter&)>;

// Every drawing uses a 32 x 32 canvas and is scaled to the wanted size.
QImage render(int size, const Drawing& draw) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    draw(painter);
    painter.end();
    return image;
}

void save(const QString& folder, const QString& name, int size, const Drawing& draw) {
    render(size, draw).save(QDir(folder).filePath(name));
}

// One icon image as the icon file stores it: a 32-bit bottom-up DIB of twice the
// height (colour rows, then the 1-bit AND mask, which alpha makes redundant).
QByteArray iconImage(const QImage& image) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const int size = image.width();
    const int maskStride = ((size + 31) / 32) * 4;
    out << quint32(40) << qint32(size) << qint32(size * 2) << quint16(1) << quint16(32)
        << quint32(0) << quint32(size * size * 4 + maskStride * size) << qint32(0) << qint32(0)
        << quint32(0) << quint32(0);
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) {
            out << quint8(qBlue(row[x])) << quint8(qGreen(row[x])) << quint8(qRed(row[x]))
                << quint8(qAlpha(row[x]));
        }
    }
    for (int i = 0; i < maskStride * size; ++i) {
        out << quint8(0);
    }
    return bytes;
}

// An .ico file holding the drawing at 16, 32 and 48 pixels.
void saveIcon(const QString& folder, const QString& name, const Drawing& draw) {
    const int sizes[] = {16, 32, 48};
    QByteArray images[3];
    for (int i = 0; i < 3; ++i) {
        images[i] = iconImage(render(sizes[i], draw));
    }
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly)) {
        return;
    }
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(3);
    quint32 offset = 6 + 16 * 3;
    for (int i = 0; i < 3; ++i) {
        out << quint8(sizes[i]) << quint8(sizes[i]) << quint8(0) << quint8(0) << quint16(1)
            << quint16(32) << quint32(images[i].size()) << offset;
        offset += images[i].size();
    }
    for (const QByteArray& image : images) {
        out.writeRawData(image.constData(), int(image.size()));
    }
}

// A page with a folded corner and an eraser wiping its lower half.
void drawApplication(QPainter& p) {
    QPainterPath page;
    page.moveTo(5, 2);
    page.lineTo(20, 2);
    page.lineTo(27, 9);
    page.lineTo(27, 30);
    page.lineTo(5, 30);
    page.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(20, 2), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(27, 9));
    p.setPen(QPen(QColor(40, 90, 170), 1.6));
    for (int y = 13; y <= 19; y += 3) {
        p.drawLine(9, y, 23, y);
    }
    p.save();
    p.translate(19, 24);
    p.rotate(-35);
    p.setPen(QPen(QColor(120, 20, 20), 1));
    p.setBrush(QColor(220, 60, 60));
    p.drawRoundedRect(QRectF(-9, -4, 12, 8), 1.5, 1.5);
    p.setBrush(QColor(240, 230, 210));
    p.drawRoundedRect(QRectF(3, -4, 6, 8), 1.5, 1.5);
    p.restore();
}

// A meshed triangle, as a finite-element model.
void drawSimulation(QPainter& p) {
    const QPointF a(3, 28), b(29, 28), c(16, 4);
    p.setPen(QPen(QColor(20, 60, 140), 1.4));
    p.setBrush(QColor(90, 150, 230));
    p.drawPolygon(QPolygonF{a, b, c});
    p.setPen(QPen(Qt::white, 1.1));
    const QPointF ab = (a + b) / 2, bc = (b + c) / 2, ca = (c + a) / 2;
    p.drawPolygon(QPolygonF{ab, bc, ca});
}

// A lightning bolt for the quick study.
void drawQuiklet(QPainter& p) {
    p.setPen(QPen(QColor(150, 80, 0), 1.2));
    p.setBrush(QColor(250, 170, 30));
    p.drawPolygon(QPolygonF{{19, 2}, {7, 18}, {15, 18}, {11, 30}, {25, 12}, {17, 12}, {22, 2}});
}

// A gear for motion.
void drawMotion(QPainter& p) {
    QPolygonF gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const double angle = i * M_PI * 2 / (teeth * 4);
        const double radius = (i % 4 < 2) ? 14 : 10.5;
        gear << QPointF(16 + radius * qCos(angle), 16 + radius * qSin(angle));
    }
    p.setPen(QPen(QColor(70, 70, 90), 1.2));
    p.setBrush(QColor(150, 150, 175));
    p.drawPolygon(gear);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 4.5, 4.5);
}

// Three stream lines for flow.
void drawFlow(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    const QColor colours[] = {QColor(0, 150, 200), QColor(0, 110, 180), QColor(0, 70, 150)};
    for (int i = 0; i < 3; ++i) {
        const double y = 9 + i * 7;
        QPainterPath wave(QPointF(3, y));
        wave.cubicTo(QPointF(10, y - 6), QPointF(16, y + 6), QPointF(22, y));
        wave.quadTo(QPointF(26, y - 3), QPointF(29, y));
        p.setPen(QPen(colours[i], 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wave);
    }
}

// A leaf for sustainability.
void drawSustainability(QPainter& p) {
    QPainterPath leaf(QPointF(5, 27));
    leaf.cubicTo(QPointF(3, 12), QPointF(14, 3), QPointF(29, 3));
    leaf.cubicTo(QPointF(29, 18), QPointF(20, 29), QPointF(5, 27));
    p.setPen(QPen(QColor(20, 100, 30), 1.2));
    p.setBrush(QColor(70, 170, 60));
    p.drawPath(leaf);
    p.setPen(QPen(QColor(220, 240, 200), 1.3));
    p.drawLine(QPointF(5, 27), QPointF(22, 10));
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    for (int size : {16, 32, 48}) {
        save(folder, QStringLiteral("icon128_%1.png").arg(size), size, drawApplication);
    }
    save(folder, QStringLiteral("icon138.png"), 32, drawSimulation);
    save(folder, QStringLiteral("icon134.png"), 32, drawQuiklet);
    save(folder, QStringLiteral("icon132.png"), 32, drawMotion);
    save(folder, QStringLiteral("icon141.png"), 32, drawFlow);
    save(folder, QStringLiteral("icon140.png"), 32, drawSustainability);
    if (argc > 2) {
        const QString icoFolder = QString::fromLocal8Bit(argv[2]);
        const std::pair<int, Drawing> icons[] = {{128, drawApplication}, {138, drawSimulation},
                                                 {134, drawQuiklet},     {132, drawMotion},
                                                 {141, drawFlow},        {140, drawSustainability}};
        for (const auto& [id, draw] : icons) {
            saveIcon(icoFolder, QStringLiteral("icon%1.ico").arg(id), draw);
        }
    }
    return 0;
}
