// DiaryPage: the page of the main window on which the diary is drawn and the buttons stand.
// It is given composed pages and only draws the last one; it tells when its client area
// changes size, so that the window composes a page that fits. A screen reader hears the page's
// spoken lines (see diary_page_accessible.h).
#pragma once

#include <QFont>
#include <QWidget>

#include "window/page_items.h"

namespace daybrook {

class DiaryPage : public QWidget {
    Q_OBJECT
public:
    explicit DiaryPage(QWidget* parent = nullptr);

    // The widget whose size is the client area (the scrolled viewport); the page itself when unset.
    void set_client_area(QWidget* client);

    // What a page composed now must fit: the client area and the page font for its height.
    PageGeometry layout_geometry() const;

    // Shows a page composed for the geometry; every painting draws exactly it until the next.
    void show_page(ComposedPage page, const PageGeometry& geometry);
    const ComposedPage& shown_page() const { return m_shown; }

    // The page font for a client area of this height: the desktop's sans face at the heaviest
    // weight, a twenty-fifth of the height tall, or less where the page's columns could not
    // hold that size.
    static QFont page_font(int client_height);

signals:
    void client_resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QWidget& client() const { return m_client ? *m_client : static_cast<const QWidget&>(*this); }
    const QFont& font_for(int client_height) const;

    QWidget* m_client = nullptr;
    ComposedPage m_shown;
    // The page font and the client height it was worked out for: measuring the columns shapes
    // some twenty texts, and every composing and painting needs the font.
    mutable QFont m_page_font;
    mutable int m_font_client_height = -1;
};

}  // namespace daybrook
