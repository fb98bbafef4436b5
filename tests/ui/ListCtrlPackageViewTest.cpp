#include "qt/ListCtrlPackageView.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// The parent of the list: keeps every check-box notification it is sent.
class NotifiedParent : public QWidget {
public:
    bool event(QEvent* event) override
    {
        if (event->type() == ListCtrlPackageCheckboxEvent::registeredType()) {
            const auto* notification = static_cast<ListCtrlPackageCheckboxEvent*>(event);
            received.emplace_back(notification->row(), notification->column());
            return true;
        }
        return QWidget::event(event);
    }

    std::vector<std::pair<int, int>> received;
};

// The package list as the package dialog sets it up: a check box in column 0, the name in 1.
class ListCtrlPackageViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        list.layoutName = "2col";
        list.fullRowSelect = true;
        list.InsertColumn(0, "Select", ColumnAlignment::Centre, 60);
        list.InsertColumn(1, "Package", ColumnAlignment::Left, 162);
        view = new ListCtrlPackageView(list, &parent);
        view->setGeometry(0, 0, 320, 200);
        parent.resize(320, 200);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    void addPackage(const char* name, int checked)
    {
        const int row = list.InsertItem(list.GetItemCount(), "");
        list.SetCheckbox(row, 0, checked);
        list.SetItemText(row, 1, name);
    }

    QPoint boxCentre(int row) const
    {
        const QRect cell = view->cellRect(row, 0);
        const CellRect box = ListCtrlPackage::CheckboxRect(
            {cell.left(), cell.top(), cell.left() + cell.width(), cell.top() + cell.height()}, false);
        return QPoint((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    }

    // Pixels of exactly this colour inside the box of a row, its frame left out.
    int pixelsInBox(int row, const QColor& colour) const
    {
        const QImage image = view->viewport()->grab().toImage();
        const QRect cell = view->cellRect(row, 0);
        const CellRect box = ListCtrlPackage::CheckboxRect(
            {cell.left(), cell.top(), cell.left() + cell.width(), cell.top() + cell.height()}, false);
        int count = 0;
        for (int y = box.top + 2; y < box.bottom - 2; ++y)
            for (int x = box.left + 2; x < box.right - 2; ++x)
                count += image.pixelColor(x, y).rgb() == colour.rgb() ? 1 : 0;
        return count;
    }

    ListCtrlPackage list; // outlives the view
    NotifiedParent parent;
    ListCtrlPackageView* view = nullptr;
};

} // namespace

TEST_F(ListCtrlPackageViewTest, ClickingACheckBoxTogglesItAndNotifiesTheParent)
{
    addPackage("ab", 0);
    addPackage("cab", 0);
    QSignalSpy toggled(view, &ListCtrlPackageView::checkboxToggled);

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, boxCentre(1));
    EXPECT_EQ(list.GetCheckbox(1, 0), 1);
    EXPECT_EQ(list.GetCheckbox(0, 0), 0);
    EXPECT_EQ(parent.received, (std::vector<std::pair<int, int>>{{1, 0}}));
    ASSERT_EQ(toggled.count(), 1);
    EXPECT_EQ(toggled.at(0).at(0).toInt(), 1);
    EXPECT_EQ(toggled.at(0).at(1).toInt(), 0);
    EXPECT_EQ(view->currentIndex().row(), 1);

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, boxCentre(1));
    EXPECT_EQ(list.GetCheckbox(1, 0), 0);
    EXPECT_EQ(parent.received.size(), 2u);

    // The name beside it selects the row and toggles nothing.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cellRect(0, 1).center());
    EXPECT_EQ(view->currentIndex().row(), 0);
    EXPECT_EQ(list.GetCheckbox(0, 0), 0);
    EXPECT_EQ(parent.received.size(), 2u);
}

TEST_F(ListCtrlPackageViewTest, ADisabledRowIgnoresClicks)
{
    addPackage("first", 0);
    addPackage("locked", 1);
    list.SetEnabled(1, false);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cellRect(0, 1).center());
    ASSERT_EQ(view->currentIndex().row(), 0);

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, boxCentre(1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cellRect(1, 1).center());
    EXPECT_EQ(list.GetCheckbox(1, 0), 1);
    EXPECT_TRUE(parent.received.empty());
    EXPECT_EQ(view->currentIndex().row(), 0);
}

TEST_F(ListCtrlPackageViewTest, PaintsTicksBlackForEnabledRowsAndGreyForDisabledOnes)
{
    addPackage("checked", 1);
    addPackage("unchecked", 0);
    addPackage("disabled", 1);
    list.SetEnabled(2, false);
    const QColor black(0, 0, 0);
    const QColor grey = view->palette().color(QPalette::Disabled, QPalette::Text);
    ASSERT_NE(grey.rgb(), black.rgb());

    EXPECT_GT(pixelsInBox(0, black), 0);
    EXPECT_EQ(pixelsInBox(1, black), 0);
    EXPECT_EQ(pixelsInBox(1, grey), 0);
    EXPECT_GT(pixelsInBox(2, grey), 0);
    EXPECT_EQ(pixelsInBox(2, black), 0);
}

TEST_F(ListCtrlPackageViewTest, AnEmptyListPaintsItsTextCentredAndWrappedBelowTheHeader)
{
    const auto textBounds = [this] {
        const QImage image = view->viewport()->grab().toImage();
        QRect bounds;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y).lightness() < 128)
                    bounds |= QRect(x, y, 1, 1);
        return bounds;
    };
    const QFontMetrics metrics(view->font());
    const QString text = QString::fromUtf8(ListCtrlPackage::EmptyListText);

    view->setGeometry(0, 0, metrics.horizontalAdvance(text) + 60, 200);
    QRect bounds = textBounds();
    ASSERT_TRUE(bounds.isValid());
    EXPECT_GE(bounds.top(), 10);
    EXPECT_LE(bounds.height(), metrics.height());
    EXPECT_NEAR(bounds.width(), metrics.horizontalAdvance(text), 4);
    EXPECT_NEAR(bounds.center().x(), view->viewport()->width() / 2, 3);

    // Too narrow for one line: the text wraps, still centred.
    view->setGeometry(0, 0, metrics.horizontalAdvance(text) / 2 + 20, 200);
    bounds = textBounds();
    ASSERT_TRUE(bounds.isValid());
    EXPECT_GT(bounds.height(), metrics.height());
    EXPECT_NEAR(bounds.center().x(), view->viewport()->width() / 2, 3);

    // A row with nothing in it takes the text away.
    list.InsertItem(0, "");
    EXPECT_FALSE(textBounds().isValid());
    list.DeleteAllItems();
    EXPECT_TRUE(textBounds().isValid());
}
