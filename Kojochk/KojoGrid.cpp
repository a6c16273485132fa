#include "Kojochk/KojoGrid.h"

#include "Kojochk/KojoTables.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include <cstdlib>

namespace mivrel {
namespace {

// Cell texts computed on request; nothing is editable.
class ReferenceTableModel : public QAbstractTableModel {
public:
    ReferenceTableModel(int rows, CellTextFunction cellText, QObject *parent)
        : QAbstractTableModel(parent), Rows(rows), CellText(cellText) {}

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : Rows; }
    int columnCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : ReferenceTableColumns;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return CellText(index.row(), index.column());
        if (role == Qt::AccessibleTextRole)
            return SpokenText(index.row(), index.column());
        return {};
    }
    // A column's heading for assistive technology: the words of the two
    // heading rows joined ("配偶者特" and "別控除額": "配偶者特別控除額").
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        QString heading;
        for (int row = 0; row < ReferenceTableHeaderRows; ++row)
            heading += CellText(row, section).trimmed();
        return heading;
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

private:
    // A row that goes on with the sentence of the row above has no bounds.
    bool ContinuesAbove(int row) const
    {
        return row > ReferenceTableHeaderRows && CellText(row, 0).isEmpty() && CellText(row, 1).isEmpty()
            && !CellText(row, ReferenceTableColumns - 1).isEmpty();
    }
    // A sentence stacked down a column over several rows is read once, whole,
    // in its first row; the rows that go on with it read as blank.
    QString SpokenText(int row, int column) const
    {
        const QString shown = CellText(row, column);
        if (column != ReferenceTableColumns - 1 || shown.isEmpty() || row < ReferenceTableHeaderRows)
            return shown;
        if (ContinuesAbove(row))
            return QStringLiteral(" ");
        QString sentence = shown.trimmed();
        for (int next = row + 1; next < Rows && ContinuesAbove(next); ++next)
            sentence += CellText(next, column).trimmed();
        return sentence;
    }

    int Rows;
    CellTextFunction CellText;
};

// The horizontal header of the grid: each column's section shows model rows
// 0 and 1 stacked, each as high as a body row. The body hides those two rows.
class TwoRowHeader : public QHeaderView {
public:
    explicit TwoRowHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

    void SetRowHeight(int height) { RowHeight = height; updateGeometry(); }

    QSize sizeHint() const override
    {
        QSize size = QHeaderView::sizeHint();
        size.setHeight(ReferenceTableHeaderRows * RowHeight);
        return size;
    }

protected:
    // The section background as the style draws it, the text left-aligned
    // with the same margin as the body cells so that the columns line up.
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
        painter->setPen(palette().color(QPalette::ButtonText));
        for (int row = 0; row < ReferenceTableHeaderRows; ++row) {
            QStyleOptionHeader option;
            initStyleOption(&option);
            option.rect = QRect(rect.x(), rect.y() + row * RowHeight, rect.width(), RowHeight);
            option.section = logicalIndex;
            style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
            painter->drawText(option.rect.adjusted(margin, 0, -margin, 0), Qt::AlignLeft | Qt::AlignVCenter,
                              model()->index(row, logicalIndex).data().toString());
        }
    }

private:
    int RowHeight = 14;
};

// The application's style with the text of a cell set two pixels in from its
// left line, as a string grid sets it, which leaves the narrow columns room
// for their longest texts.
class GridStyle : public QProxyStyle {
public:
    GridStyle() : QProxyStyle(QApplication::style()->name()) {}

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_FocusFrameHMargin)
            return 1;  // item views add one to this for the text margin
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

ReferenceGrid::ReferenceGrid(QWidget *parent) : QTableView(parent)
{
    auto *gridStyle = new GridStyle;
    gridStyle->setParent(this);
    setStyle(gridStyle);
    setHorizontalHeader(new TwoRowHeader(this));
    horizontalHeader()->setStyle(gridStyle);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab and Ctrl+Tab leave the grid (to the next control, to the next page)
    // as from every other control of a dialog; the arrow keys move in it.
    setTabKeyNavigation(false);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);  // a long text is cut at the cell's edge
    setShowGrid(true);
}

void ReferenceGrid::SetTable(int rows, CellTextFunction cellText)
{
    const int rowHeight = std::abs(font().pixelSize()) + 1;
    static_cast<TwoRowHeader *>(horizontalHeader())->SetRowHeight(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);

    // The client width is what lies inside the frame beside the scroll bar,
    // which is always shown.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    const int clientWidth = width() - 2 * frameWidth() - scrollBar;
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(clientWidth / ReferenceTableColumns);

    setModel(new ReferenceTableModel(rows, cellText, this));
    for (int row = 0; row < ReferenceTableHeaderRows; ++row)
        setRowHidden(row, true);
}

} // namespace mivrel
