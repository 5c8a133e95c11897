// DiaryPage: the page of the main window on which the diary is drawn and the buttons stand.
// Each painting asks its composer for the page's items, then only draws them.
#pragma once

#include <QWidget>

#include <functional>

#include "window/page_items.h"

namespace daybrook {

class DiaryPage : public QWidget {
    Q_OBJECT
public:
    using Composer = std::function<ComposedPage(const PageGeometry&)>;

    explicit DiaryPage(QWidget* parent = nullptr);

    void set_composer(Composer composer) { m_composer = std::move(composer); }
    // The widget whose size is the client area (the scrolled viewport); the page itself when unset.
    void set_client_area(const QWidget* client) { m_client = client; }

    // The page font for a client area of this height: the desktop's sans face at the heaviest
    // weight, a twenty-fifth of the height tall, or less where the page's columns could not
    // hold that size.
    static QFont page_font(int client_height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Composer m_composer;
    const QWidget* m_client = nullptr;
};

}  // namespace daybrook
