#pragma once
// A read-only string grid of three columns whose first two rows are a header
// that stays in view while the rest scrolls. The rows come from a function
// that gives each cell's text on request, so a long table costs nothing until
// its rows are shown. The model holds every row, header rows included.

#include <QTableView>

namespace mivrel {

using CellTextFunction = QString (*)(int row, int column);

class ReferenceGrid : public QTableView {
public:
    explicit ReferenceGrid(QWidget *parent);

    // Shows `rows` rows of `cellText` (rows 0 and 1 in the header). Columns
    // take a third of the client width each; rows are the font's pixel
    // height plus one.
    void SetTable(int rows, CellTextFunction cellText);
};

} // namespace mivrel
