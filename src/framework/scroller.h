// A scrolled client area: the page widget inside can be moved by whole scroll units up to a
// fixed range beyond the visible area, as the diary page always could.
#pragma once

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

    int x_unit() const { return m_x_unit; }
    int y_unit() const { return m_y_unit; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void update_page_size();

    int m_x_unit = 1;
    int m_y_unit = 1;
    int m_x_range = 0;
    int m_y_range = 0;
};

}  // namespace daybrook
