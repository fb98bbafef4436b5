// The Qt view of a ListCtrlPackage: a report-view list that paints each cell by the list's
// rules (check boxes with their ticks, colours, bold text), the empty-list text under the
// header, and tells its parent of every check-box click.
#pragma once

#include "ListCtrlPackage.h"

#include <QEvent>
#include <QPixmap>
#include <QTreeView>

#include <memory>
#include <vector>

class ListCtrlPackageItemModel;

// Sent synchronously to the parent of the list (the owner's window) when a check box was
// clicked, after it has toggled.
class ListCtrlPackageCheckboxEvent : public QEvent {
public:
    ListCtrlPackageCheckboxEvent(int row, int column);

    // The event type of the notification, registered once per process.
    static QEvent::Type registeredType();
    // The registered message of the notification, by its name.
    static unsigned registeredMessage();

    int row() const { return m_row; }
    int column() const { return m_column; }

private:
    int m_row;
    int m_column;
};

// The list must outlive its view.
class ListCtrlPackageView : public QTreeView, private ListCtrlPackage::Observer {
    Q_OBJECT

public:
    explicit ListCtrlPackageView(ListCtrlPackage& list, QWidget* parent = nullptr);
    ~ListCtrlPackageView() override;

    ListCtrlPackage& list() const { return m_list; }

    // The images a cell's image index points into.
    void setImages(std::vector<QPixmap> images);
    const QPixmap* image(int index) const;

    // The rectangle of a cell in viewport coordinates; empty when there is no such cell.
    QRect cellRect(int row, int column) const;

signals:
    // The same notification as a signal, after the parent has had it.
    void checkboxToggled(int row, int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void cellChanged(int row, int column) override;
    void tableChanged() override;
    void checkboxClicked(int row, int column) override;

    void takeSystemColours();
    void applyColumns();
    int rowAt(int y) const;

    ListCtrlPackage& m_list;
    std::unique_ptr<ListCtrlPackageItemModel> m_model;
    std::vector<QPixmap> m_images;
    int m_appliedColumns = 0;
};
