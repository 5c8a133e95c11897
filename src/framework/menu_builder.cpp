#include "framework/menu_builder.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

#include "framework/qt_text.h"

namespace daybrook {
namespace {

void update_states(QMenu& menu, const CommandEnabler& enabler) {
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        const CommandState state = enabler(action->data().toInt());
        action->setEnabled(state.enabled);
        action->setCheckable(state.checked.has_value());
        action->setChecked(state.checked.value_or(false));
        action->setToolTip(state.tooltip);
    }
}

QMenu* build_popup(const MenuPopupTemplate& popup, QMenuBar& bar, const CommandHandler& on_command,
                   const CommandEnabler& enabler) {
    QMenu* menu = bar.addMenu(qt_text(popup.title));
    // Two separators in a row are two lines, as the menu lists them.
    menu->setSeparatorsCollapsible(false);
    menu->setToolTipsVisible(true);
    for (const MenuItemTemplate& item : popup.items) {
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(qt_text(item.text));
        action->setData(item.id);
        QObject::connect(action, &QAction::triggered, menu, [on_command, id = item.id] { on_command(id); });
    }
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, enabler] { update_states(*menu, enabler); });
    return menu;
}

// The room stands where the bar's margin would, so the first title starts where it would with
// the spaces in front of it. An empty widget in the bar's corner keeps it: the bar's titles are
// what a screen reader lists, and the corner is none of them.
void add_lead(QMenuBar& bar, int spaces) {
    if (spaces <= 0) return;
    auto* lead = new QWidget(&bar);
    auto* room = new QHBoxLayout(lead);
    room->setContentsMargins(0, 0, 0, 0);
    room->addSpacing(bar.style()->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, &bar) +
                     bar.fontMetrics().horizontalAdvance(QString(spaces, QLatin1Char(' '))));
    bar.setCornerWidget(lead, Qt::TopLeftCorner);
}

}  // namespace

QMenuBar* build_menu_bar(const MenuBarTemplate& layout, QWidget* parent, const CommandHandler& on_command,
                         const CommandEnabler& enabler) {
    auto* bar = new QMenuBar(parent);
    add_lead(*bar, layout.lead_spaces);
    for (const MenuPopupTemplate& popup : layout.popups) build_popup(popup, *bar, on_command, enabler);
    return bar;
}

}  // namespace daybrook
