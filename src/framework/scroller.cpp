#include "framework/scroller.h"

#include <QScrollBar>

namespace daybrook {

Scroller::Scroller(QWidget* page, QWidget* parent) : QScrollArea(parent) {
    setWidget(page);
    setWidgetResizable(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    update_page_size();
}

void Scroller::set_units(int x_unit, int y_unit) {
    m_x_unit = x_unit;
    m_y_unit = y_unit;
    horizontalScrollBar()->setSingleStep(x_unit);
    verticalScrollBar()->setSingleStep(y_unit);
    update_page_size();
}

void Scroller::set_range(int x_range, int y_range) {
    m_x_range = x_range;
    m_y_range = y_range;
    update_page_size();
}

void Scroller::scroll_to(int x, int y) {
    horizontalScrollBar()->setValue(x * m_x_unit);
    verticalScrollBar()->setValue(y * m_y_unit);
}

void Scroller::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    update_page_size();
}

// The page is the visible area plus the scroll range, so the bars reach exactly the range.
void Scroller::update_page_size() {
    const QSize visible = viewport()->size();
    widget()->resize(visible.width() + m_x_range * m_x_unit, visible.height() + m_y_range * m_y_unit);
}

}  // namespace daybrook
