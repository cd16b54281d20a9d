#pragma once

#include <QRect>
#include <QSize>

// A picture cut into a grid of equal cells, numbered from 0 row by row, left to right
// within a row. Cells measure whole pixels: the picture's width divided by the column
// count, rounded down, and its height divided by the row count likewise. What the
// divisions leave over at the right and bottom edges belongs to the last column and the
// last row, so the cells together cover the picture exactly once.
class PictureGrid
{
public:
    // Counts below 1 count as 1.
    PictureGrid(QSize picture, int columns, int rows);

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    int count() const { return m_columns * m_rows; }
    // The cell size of every column but the last and every row but the last, in pixels.
    int cellWidth() const { return m_picture.width() / m_columns; }
    int cellHeight() const { return m_picture.height() / m_rows; }

    // Cell `k` (0 <= k < count()) in the picture's pixels.
    QRect cell(int k) const;

private:
    QSize m_picture;
    int m_columns = 1;
    int m_rows = 1;
};
