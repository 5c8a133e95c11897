#include "window/start_date_command.h"

#include <gtest/gtest.h>

#include "resources/dialog_templates.h"
#include "support/dialog_input.h"
#include "support/scripted_dialog_services.h"

namespace daybrook {
namespace {

using testing::press;
using testing::type;

constexpr DayNumber today = 20793;  // Sunday 6 December 2026

// What a typed start date gives, by how long old entries are kept: the day, or the message.
TEST(StartDate, TheWeekStartsAtAnyDayTheKeepingTimeAllows) {
    struct Case {
        QString typed;
        KeepCode keep_code;
        DayNumber last_set;
        DayNumber start_day;  // 0: refused with the message
        QString message;
    };
    const Case cases[] = {
        {"06/12/26", KeepCode::none, today, today, ""},
        {"1/8/50", KeepCode::none, today, 29432, ""},
        {"1/1/51", KeepCode::none, today, 0, "The year given is invalid"},
        {"05/12/26", KeepCode::none, today, 0, "The date given has already past!"},
        {"29/11/26", KeepCode::week, 20000, today - 7, ""},
        {"28/11/26", KeepCode::week, 20000, 0, "You hold no entries so old!"},
        {"29/11/26", KeepCode::week, today - 3, 0, "You hold no entries so old!"},
        {"1.8.12", KeepCode::for_ever, 20000, 0, "Invalid Date - '/' missing"},
        {"", KeepCode::none, today, 0, "Invalid Date - '/' missing"},
    };
    for (const Case& c : cases) {
        testing::ScriptedDialogServices dialogs;
        DiaryState state{.today = today, .view = {.page_mode = PageMode::search_results, .start_day = today + 70}};
        state.retention.last_set = c.last_set;
        set_keep_code(state.retention, c.keep_code, today);
        dialogs.modal.steps.push_back([&](TemplateDialog& d) {
            type(d, start_date_ids::date, c.typed);
            press(d, id_ok);
        });
        run_start_date(nullptr, state, dialogs.services);
        EXPECT_EQ(state.view.page_mode, PageMode::week) << "the week page, also after a refusal and Cancel";
        EXPECT_EQ(state.view.start_day, c.start_day ? c.start_day : today + 70) << c.typed.toStdString();
        const std::vector<Message> expected =
            c.message.isEmpty() ? std::vector<Message>{} : std::vector<Message>{{c.message, "Date Format Error"}};
        EXPECT_EQ(dialogs.messages.shown, expected) << c.typed.toStdString();
    }
}

}  // namespace
}  // namespace daybrook
