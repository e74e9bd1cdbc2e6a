// The library window's tree: categories with their materials. Material nodes can be
// dragged; a drag carries the node's key, and a drop reports the dragged key and the
// key of the node it fell on, for the window to validate.
#pragma once

#include <QByteArray>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <functional>

class QMimeData;

namespace material {

class LibraryTreeView : public QTreeWidget {
    Q_OBJECT

  public:
    // The drag payload: the dragged node's key.
    static const QString kKeyMimeType;

    explicit LibraryTreeView(QWidget* parent = nullptr);

    static QByteArray keyOf(const QTreeWidgetItem* item);
    // What a drag of `item` carries; null for a node that cannot be dragged.
    QMimeData* dragData(const QTreeWidgetItem* item) const;
    // A drag carrying `data` ended at the viewport point `at`.
    void dropAt(const QMimeData* data, const QPoint& at);

  signals:
    void dragStarted(const QByteArray& key);
    // A drag with a node key ended over the node `targetKey` (empty: over no node).
    void dropped(const QByteArray& sourceKey, const QByteArray& targetKey);
    // The user ended a label edit with `text`; the label changes only if the window
    // accepts it.
    void labelEdited(const QByteArray& key, const QString& text);
    // The node that is current already was clicked again.
    void currentClicked(const QByteArray& key);
    // The Delete key was pressed on the tree.
    void deletePressed();

  protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// Hands a finished label edit to the tree's labelEdited instead of storing it.
class LabelEditDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using Handler = std::function<void(const QModelIndex&, const QString&)>;
    LabelEditDelegate(Handler handler, QObject* parent);
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  private:
    Handler handler_;
};

}  // namespace material
