#include "Resources.h"

// Outside any namespace: the macro declares a global function.
static void registerMaterialResources() {
    Q_INIT_RESOURCE(material);
}

namespace material::resources {

void ensureLoaded() {
    static const bool loaded = (registerMaterialResources(), true);
    (void)loaded;
}

QIcon icon(const QString& name) {
    ensureLoaded();
    return QIcon(QStringLiteral(":/icon/") + name);
}

QPixmap iconPixmap(const QString& name) {
    ensureLoaded();
    return QPixmap(QStringLiteral(":/icon/") + name);
}

QPixmap bitmap(const QString& name) {
    ensureLoaded();
    return QPixmap(QStringLiteral(":/bitmap/") + name);
}

QPixmap bitmap(int id) {
    return bitmap(QString::number(id));
}

}  // namespace material::resources
