#include "LibraryTreeView.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>

#include "Resources.h"

namespace material {

const QString LibraryTreeView::kKeyMimeType = QStringLiteral("application/x-korvex-material-key");

LibraryTreeView::LibraryTreeView(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setItemDelegate(new LabelEditDelegate(
        [this](const QModelIndex& index, const QString& text) {
            // Handled once the editor has gone: a message box shown while it is still
            // open would take its focus and make it commit a second time.
            const QByteArray key = index.data(Qt::UserRole).toByteArray();
            QMetaObject::invokeMethod(
                this, [this, key, text] { emit labelEdited(key, text); }, Qt::QueuedConnection);
        },
        this));
}

QByteArray LibraryTreeView::keyOf(const QTreeWidgetItem* item) {
    return item == nullptr ? QByteArray() : item->data(0, Qt::UserRole).toByteArray();
}

QMimeData* LibraryTreeView::dragData(const QTreeWidgetItem* item) const {
    if (item == nullptr || !item->flags().testFlag(Qt::ItemIsDragEnabled)) {
        return nullptr;
    }
    auto* data = new QMimeData;
    data->setData(kKeyMimeType, keyOf(item));
    return data;
}

QStringList LibraryTreeView::mimeTypes() const {
    return {kKeyMimeType};
}

QMimeData* LibraryTreeView::mimeData(const QList<QTreeWidgetItem*>& items) const {
    return items.size() == 1 ? dragData(items.constFirst()) : nullptr;
}

void LibraryTreeView::startDrag(Qt::DropActions /*supportedActions*/) {
    QTreeWidgetItem* item = currentItem();
    QMimeData* data = dragData(item);
    if (data == nullptr) {
        return;  // categories are not dragged
    }
    emit dragStarted(keyOf(item));
    const QPixmap cursor = resources::iconPixmap(QStringLiteral("DRAG"));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(cursor);
    drag->setDragCursor(cursor, Qt::MoveAction);
    // The tree is rebuilt by the drop handler; the drag itself removes nothing.
    drag->exec(Qt::MoveAction);
}

void LibraryTreeView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(kKeyMimeType)) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void LibraryTreeView::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasFormat(kKeyMimeType)) {
        event->ignore();
        return;
    }
    QTreeWidget::dragMoveEvent(event);  // scrolls and draws the drop highlight
    event->acceptProposedAction();
}

void LibraryTreeView::dropEvent(QDropEvent* event) {
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    stopAutoScroll();
    setState(QAbstractItemView::NoState);
    viewport()->update();
    dropAt(event->mimeData(), event->position().toPoint());
}

void LibraryTreeView::dropAt(const QMimeData* data, const QPoint& at) {
    const QByteArray source = data != nullptr ? data->data(kKeyMimeType) : QByteArray();
    if (!source.isEmpty()) {
        emit dropped(source, keyOf(itemAt(at)));
    }
}

void LibraryTreeView::mousePressEvent(QMouseEvent* event) {
    QTreeWidgetItem* pressed = itemAt(event->position().toPoint());
    const bool again = pressed != nullptr && pressed == currentItem() &&
                       event->button() == Qt::LeftButton && state() != EditingState;
    QTreeWidget::mousePressEvent(event);
    if (again) {
        emit currentClicked(keyOf(pressed));
    }
}

void LibraryTreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier &&
        state() != EditingState) {
        emit deletePressed();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

LabelEditDelegate::LabelEditDelegate(Handler handler, QObject* parent)
    : QStyledItemDelegate(parent), handler_(std::move(handler)) {}

void LabelEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* /*model*/,
                                     const QModelIndex& index) const {
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        handler_(index, line->text());
    }
}

}  // namespace material
