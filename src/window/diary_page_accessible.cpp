#include "window/diary_page_accessible.h"

#include <QAccessibleWidget>
#include <QFontMetrics>

#include <mutex>

#include "framework/code_page.h"
#include "window/diary_page.h"

namespace daybrook {
namespace {

const std::vector<SpokenLine>& lines_of(const DiaryPage& page) { return page.shown_page().spoken; }

// One spoken line. It reads the page's line of its index afresh each time, so it follows the
// page as it is composed again; past the page's last line it is no longer valid.
class PageLineAccessible final : public QAccessibleInterface {
public:
    PageLineAccessible(DiaryPage* page, int index) : m_page(page), m_index(index) {}

    int index() const { return m_index; }
    const DiaryPage* page() const { return m_page; }

    bool isValid() const override { return m_index < int(lines_of(*m_page).size()); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent()->window(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_page); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name && isValid() ? from_code_page(lines_of(*m_page)[m_index].text) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !m_page->isVisible();
        return state;
    }
    // From the line's top to the next line's, where a screen magnifier or flat review shows it.
    QRect rect() const override {
        if (!isValid()) return {};
        const std::vector<SpokenLine>& lines = lines_of(*m_page);
        const int top = lines[m_index].y;
        const int step = m_page->layout_geometry().font_height * 3 / 2;
        const bool next_below = m_index + 1 < int(lines.size()) && lines[m_index + 1].y > top;
        const int bottom = next_below ? lines[m_index + 1].y : top + step;
        return QRect(m_page->mapToGlobal(QPoint(0, top)), QSize(m_page->width(), bottom - top));
    }

private:
    DiaryPage* m_page;
    int m_index;
};

// The page: its lines first, then the buttons on it. Line interfaces are made when first asked
// for and live as long as the page's own, which Qt drops with the page.
class PageAccessible final : public QAccessibleWidget {
public:
    explicit PageAccessible(DiaryPage* page) : QAccessibleWidget(page, QAccessible::List) {}
    ~PageAccessible() override {
        for (QAccessible::Id id : m_line_ids) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return line_count() + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0) return nullptr;
        if (index >= line_count()) return QAccessibleWidget::child(index - line_count());
        while (int(m_line_ids.size()) <= index)
            m_line_ids.push_back(QAccessible::registerAccessibleInterface(
                new PageLineAccessible(page(), int(m_line_ids.size()))));
        return QAccessible::accessibleInterface(m_line_ids[index]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (const auto* line = dynamic_cast<const PageLineAccessible*>(child))
            return line->page() == page() && line->isValid() ? line->index() : -1;
        const int widget_index = QAccessibleWidget::indexOfChild(child);
        return widget_index < 0 ? -1 : line_count() + widget_index;
    }
    // The page is named by its heading and described by all its lines.
    QString text(QAccessible::Text kind) const override {
        const std::vector<SpokenLine>& lines = lines_of(*page());
        if (kind == QAccessible::Name) return lines.empty() ? QString() : from_code_page(lines.front().text);
        if (kind != QAccessible::Description) return QAccessibleWidget::text(kind);
        QStringList all;
        for (const SpokenLine& line : lines) all << from_code_page(line.text);
        return all.join(QLatin1Char('\n'));
    }

    // Each line made so far whose words changed is announced, then the page itself.
    void lines_changed(const std::vector<SpokenLine>& before) {
        const std::vector<SpokenLine>& now = lines_of(*page());
        for (std::size_t i = 0; i < m_line_ids.size(); ++i) {
            const bool same = i < before.size() && i < now.size() && before[i].text == now[i].text;
            if (same) continue;
            QAccessibleEvent changed(QAccessible::accessibleInterface(m_line_ids[i]), QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
        }
        for (QAccessible::Event kind : {QAccessible::NameChanged, QAccessible::DescriptionChanged}) {
            QAccessibleEvent changed(page(), kind);
            QAccessible::updateAccessibility(&changed);
        }
        if (before.size() != now.size()) {
            QAccessibleEvent reordered(page(), QAccessible::ObjectReorder);
            QAccessible::updateAccessibility(&reordered);
        }
    }

private:
    DiaryPage* page() const { return static_cast<DiaryPage*>(widget()); }
    int line_count() const { return int(lines_of(*page()).size()); }

    mutable std::vector<QAccessible::Id> m_line_ids;
};

QAccessibleInterface* page_interface_factory(const QString& class_name, QObject* object) {
    if (class_name != QLatin1String(DiaryPage::staticMetaObject.className())) return nullptr;
    return new PageAccessible(static_cast<DiaryPage*>(object));
}

}  // namespace

void install_diary_page_accessibility() {
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(page_interface_factory); });
}

void announce_page_change(DiaryPage& page, const std::vector<SpokenLine>& before) {
    if (!QAccessible::isActive() || before == lines_of(page)) return;
    if (auto* described = dynamic_cast<PageAccessible*>(QAccessible::queryAccessibleInterface(&page)))
        described->lines_changed(before);
}

}  // namespace daybrook
