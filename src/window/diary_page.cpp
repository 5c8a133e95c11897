#include "window/diary_page.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

#include "calendar/day_names.h"
#include "framework/code_page.h"
#include "framework/qt_text.h"

namespace daybrook {
namespace {

QColor qt_colour(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

// Draws the text with its top-left corner at the item's place, on an opaque grey ground.
void draw_item(QPainter& painter, const PageItem& item) {
    const QString text = from_code_page(item.text);
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect box(item.x, item.y, metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(box, qt_colour(colours::background));
    painter.setPen(qt_colour(item.colour));
    painter.drawText(item.x, item.y + metrics.ascent(), text);
}

// The week page's columns stand at fixed distances: the day names get 54 pixels, a month name
// 15 pixels a letter, the day of the month 40. A taller window asks for a bigger font; it grows
// only as far as the texts still fit their columns, so an enlarged page stays readable.
bool fits_columns(const QFontMetrics& metrics) {
    constexpr int gap = 4;
    const auto width = [&](std::string_view text) {
        return metrics.horizontalAdvance(qt_text(text));
    };
    for (std::string_view day : day_abbrevs)
        if (width(day) + gap > 54) return false;
    for (std::string_view month : month_names)
        if (width(month) + gap > 15 * int(month.size())) return false;
    return width("31") + gap <= 40;
}

}  // namespace

DiaryPage::DiaryPage(QWidget* parent) : QWidget(parent) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, qt_colour(colours::background));
    setPalette(palette);
    setAutoFillBackground(true);
}

QFont DiaryPage::page_font(int client_height) {
    QFont font = QApplication::font();
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Black);
    int height = std::max(1, page_font_height(client_height));
    do {
        font.setPixelSize(height);
    } while (!fits_columns(QFontMetrics(font)) && --height > 1);
    return font;
}

void DiaryPage::paintEvent(QPaintEvent*) {
    if (!m_composer) return;
    const QSize client = (m_client ? m_client : this)->size();
    const QFont page = page_font(client.height());
    const PageGeometry geometry{client.width(), client.height(), page.pixelSize(),
                                QFontMetrics(page).horizontalAdvance("XXX")};
    const ComposedPage composed = m_composer(geometry);

    QPainter painter(this);
    for (const PageItem& item : composed.items) {
        painter.setFont(item.font == FontRole::page ? page : font());
        draw_item(painter, item);
    }
}

}  // namespace daybrook
