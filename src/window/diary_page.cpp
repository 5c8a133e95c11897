#include "window/diary_page.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>

#include "calendar/day_names.h"
#include "framework/code_page.h"
#include "framework/qt_text.h"
#include "window/diary_page_accessible.h"
#include "window/page_items.h"

namespace daybrook {
namespace {

QColor qt_colour(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

// Draws the text with its top-left corner at the item's place. The painter's opaque mode gives
// it its grey ground, as wide as its advance and as tall as its line, from the one shaping of
// the text that drawing needs anyway.
void draw_item(QPainter& painter, const PageItem& item) {
    painter.setPen(qt_colour(item.colour));
    painter.drawText(item.x, item.y + painter.fontMetrics().ascent(), from_code_page(item.text));
}

// The week page's columns stand at fixed distances. A taller window asks for a bigger font; it
// grows only as far as the texts still fit their columns, so an enlarged page stays readable.
// The month names go first, since the short ones have the least room a letter ("May" is the
// first to overflow): a size that is too big is then found out after a text or two.
bool fits_columns(const QFontMetrics& metrics) {
    constexpr int gap = 4;
    const auto width = [&](std::string_view text) {
        return metrics.horizontalAdvance(qt_text(text));
    };
    for (std::string_view month : month_names)
        if (width(month) + gap > month_letter_width * int(month.size())) return false;
    for (std::string_view day : day_abbrevs)
        if (width(day) + gap > day_name_column) return false;
    return width("31") + gap <= day_number_column;
}

}  // namespace

DiaryPage::DiaryPage(QWidget* parent) : QWidget(parent) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, qt_colour(colours::background));
    setPalette(palette);
    setAutoFillBackground(true);
    install_diary_page_accessibility();
}

void DiaryPage::set_client_area(QWidget* client) {
    m_client = client;
    client->installEventFilter(this);
}

QFont DiaryPage::page_font(int client_height) {
    // The desktop's own face, which is its sans one. A style hint would not change the face that
    // Qt finds, only make it ask fontconfig for a second list of fallback faces.
    QFont font = QApplication::font();
    font.setWeight(QFont::Black);
    int height = std::max(1, page_font_height(client_height));
    do {
        font.setPixelSize(height);
    } while (!fits_columns(QFontMetrics(font)) && --height > 1);
    return font;
}

const QFont& DiaryPage::font_for(int client_height) const {
    if (client_height != m_font_client_height) {
        m_page_font = page_font(client_height);
        m_font_client_height = client_height;
    }
    return m_page_font;
}

PageGeometry DiaryPage::layout_geometry() const {
    const QSize size = client().size();
    const QFont& font = font_for(size.height());
    return {size.width(), size.height(), font.pixelSize(), QFontMetrics(font).horizontalAdvance("XXX")};
}

void DiaryPage::show_page(ComposedPage page, const PageGeometry& geometry) {
    std::vector<SpokenLine> before = std::move(m_shown.spoken);
    m_shown = std::move(page);
    font_for(geometry.client_height);
    update();
    announce_page_change(*this, before);
}

void DiaryPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(qt_colour(colours::background));
    for (const PageItem& item : m_shown.items) {
        painter.setFont(item.font == FontRole::page ? m_page_font : font());
        draw_item(painter, item);
    }
}

void DiaryPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!m_client) emit client_resized();
}

bool DiaryPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize) emit client_resized();
    return QWidget::eventFilter(watched, event);
}

}  // namespace daybrook
