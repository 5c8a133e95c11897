#include "framework/scroller.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimerEvent>

#include <algorithm>

namespace daybrook {

Scroller::Scroller(QWidget* page, QWidget* parent) : QScrollArea(parent) {
    setWidget(page);
    setWidgetResizable(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    page->installEventFilter(this);
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

bool Scroller::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget() || !m_auto_scroll) return QScrollArea::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) m_drag_timer.start(50, this);
        break;
    case QEvent::MouseMove:
        if (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton) auto_scroll_step();
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) m_drag_timer.stop();
        break;
    default: break;
    }
    return QScrollArea::eventFilter(watched, event);
}

void Scroller::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_drag_timer.timerId()) return QScrollArea::timerEvent(event);
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) return m_drag_timer.stop();
    auto_scroll_step();
}

void Scroller::auto_scroll_step() {
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    const QSize visible = viewport()->size();
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    horizontal->setValue(horizontal->value() + auto_scroll_units(pointer.x(), visible.width(), m_x_unit) * m_x_unit);
    vertical->setValue(vertical->value() + auto_scroll_units(pointer.y(), visible.height(), m_y_unit) * m_y_unit);
}

int auto_scroll_units(int position, int extent, int unit) noexcept {
    const int beyond = position < 0 ? -position : position > extent ? position - extent : 0;
    if (beyond == 0 || unit <= 0) return 0;
    const int page = std::max(1, extent / unit);
    const int units = std::clamp(beyond / 10, 1, page);
    return position < 0 ? -units : units;
}

}  // namespace daybrook
