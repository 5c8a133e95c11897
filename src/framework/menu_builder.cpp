#include "framework/menu_builder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>

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
    }
}

QMenu* build_popup(const MenuPopupTemplate& popup, QMenuBar& bar, const CommandHandler& on_command,
                   const CommandEnabler& enabler) {
    QMenu* menu = bar.addMenu(qt_text(popup.title));
    // Two separators in a row are two lines, as the menu lists them.
    menu->setSeparatorsCollapsible(false);
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
    update_states(*menu, enabler);
    return menu;
}

}  // namespace

QMenuBar* build_menu_bar(std::span<const MenuPopupTemplate> popups, QWidget* parent,
                         const CommandHandler& on_command, const CommandEnabler& enabler) {
    auto* bar = new QMenuBar(parent);
    for (const MenuPopupTemplate& popup : popups) build_popup(popup, *bar, on_command, enabler);
    return bar;
}

}  // namespace daybrook
