// A scrolled client area: the page widget inside can be moved by whole scroll units up to a
// fixed range beyond the visible area. With automatic scrolling on, dragging with the left
// button held beyond an edge of the visible area scrolls the page that way.
#pragma once

#include <QBasicTimer>
#include <QScrollArea>

namespace daybrook {

class Scroller : public QScrollArea {
    Q_OBJECT
public:
    // Takes ownership of the page. Units of 1 x 1 pixel and a range of 0 x 0 until set.
    Scroller(QWidget* page, QWidget* parent);

    void set_units(int x_unit, int y_unit);
    // How far the page may scroll, in units, beyond the visible area.
    void set_range(int x_range, int y_range);
    void scroll_to(int x, int y);  // in units
    void set_auto_scroll(bool on) { m_auto_scroll = on; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void update_page_size();
    void auto_scroll_step();

    int m_x_unit = 1;
    int m_y_unit = 1;
    int m_x_range = 0;
    int m_y_range = 0;
    bool m_auto_scroll = false;
    // Repeats the steps while the button is held, also when the pointer rests beyond an edge.
    QBasicTimer m_drag_timer;
};

// How many units one automatic scrolling step moves along one axis, for a pointer at the given
// position in a visible extent of that many pixels: a tenth of the distance beyond the edge in
// pixels, counted in units, at least one and at most one visible page; negative towards the
// start, 0 inside.
int auto_scroll_units(int position, int extent, int unit) noexcept;

}  // namespace daybrook
