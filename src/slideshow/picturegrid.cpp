#include "slideshow/picturegrid.h"

#include <algorithm>

PictureGrid::PictureGrid(QSize picture, int columns, int rows)
    : m_picture(picture.expandedTo(QSize(0, 0))), m_columns(std::max(columns, 1)),
      m_rows(std::max(rows, 1))
{}

QRect PictureGrid::cell(int k) const
{
    const int column = k % m_columns;
    const int row = k / m_columns;
    const int left = cellWidth() * column;
    const int top = cellHeight() * row;
    const int right = column == m_columns - 1 ? m_picture.width() : left + cellWidth();
    const int bottom = row == m_rows - 1 ? m_picture.height() : top + cellHeight();
    return QRect(left, top, right - left, bottom - top);
}
