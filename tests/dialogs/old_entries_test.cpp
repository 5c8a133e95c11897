#include "window/old_entries_command.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "resources/dialog_templates.h"
#include "support/dialog_input.h"
#include "support/scripted_dialog_services.h"

namespace daybrook {
namespace {

namespace ids = keep_time_ids;
using testing::mark;
using testing::press;
using Step = testing::ScriptedModalRunner::Step;

constexpr DayNumber today = 20793;        // Sunday 6 December 2026
constexpr DayNumber untouched = 12345;    // an oldest day that only a recomputation changes

int choice_of(KeepCode code) { return ids::first_choice + static_cast<int>(code); }

// The choice marked when the dialog opens, or 0 for none.
int marked(TemplateDialog& d) {
    for (int id = ids::first_choice; id <= ids::last_choice; ++id)
        if (d.radio_button(id)->isChecked()) return id;
    return 0;
}

class OldEntries : public ::testing::Test, protected testing::ScriptedDialogServices {
protected:
    void run(KeepCode from, std::initializer_list<Step> steps) {
        state.retention = {.keep_code = from, .last_set = 20000, .oldest_day = untouched};
        modal.steps.insert(modal.steps.end(), steps);
        modal.captions.clear();
        run_old_entries(nullptr, state, services);
        EXPECT_TRUE(modal.steps.empty()) << "not every scripted step was used";
    }

    DiaryState state{.today = today};
};

// A shorter time asks first ("No" keeps the dialog and the old choice), a longer one does not;
// the oldest day held moves only when the choice changed.
TEST_F(OldEntries, ShorteningTheTimeAsksFirstAndTheOldestDayFollowsAChange) {
    struct Case {
        KeepCode from, to;
        bool warned, yes;
        KeepCode result;
        DayNumber oldest;
    };
    const Case cases[] = {
        {KeepCode::year, KeepCode::week, true, true, KeepCode::week, today - 7},
        {KeepCode::year, KeepCode::week, true, false, KeepCode::year, untouched},
        {KeepCode::month, KeepCode::none, true, true, KeepCode::none, today},
        {KeepCode::week, KeepCode::year, false, false, KeepCode::year, today - 365},
        {KeepCode::year, KeepCode::year, false, false, KeepCode::year, untouched},
        {KeepCode{7}, KeepCode::for_ever, false, false, KeepCode::for_ever, 20000},  // both keep everything
        {KeepCode{7}, KeepCode::month, true, true, KeepCode::month, today - 31},
    };
    for (const Case& c : cases) {
        std::vector<Step> steps = {[&](TemplateDialog& d) {
            EXPECT_EQ(marked(d), is_known(c.from) ? choice_of(c.from) : 0) << "the present choice, or none";
            mark(d, choice_of(c.to));
            press(d, id_ok);
            if (c.warned && !c.yes) {
                EXPECT_FALSE(d.has_ended());
                EXPECT_EQ(marked(d), choice_of(c.from)) << "the old choice is back";
                EXPECT_EQ(d.focusWidget(), is_known(c.from) ? d.radio_button(choice_of(c.from)) : d.radio_button(ids::first_choice))
                    << "and has the keyboard again";
                press(d, id_cancel);
            }
        }};
        // The warning opens with the keyboard on "No", which Enter then presses; "Yes" is clicked.
        if (c.warned)
            steps.push_back([&](TemplateDialog& warning) {
                EXPECT_EQ(warning.focusWidget(), warning.button(id_cancel));
                if (c.yes) press(warning, id_ok);
                else QTest::keyClick(warning.focusWidget(), Qt::Key_Return);
            });
        state.retention = {.keep_code = c.from, .last_set = 20000, .oldest_day = untouched};
        modal.steps.assign(steps.begin(), steps.end());
        modal.captions.clear();
        run_old_entries(nullptr, state, services);
        const std::vector<QString> shown = c.warned ? std::vector<QString>{"Keep old Entries", "Warning!"}
                                                    : std::vector<QString>{"Keep old Entries"};
        EXPECT_EQ(modal.captions, shown) << static_cast<int>(c.from) << " to " << static_cast<int>(c.to);
        EXPECT_EQ(state.retention.keep_code, c.result) << static_cast<int>(c.from) << " to " << static_cast<int>(c.to);
        EXPECT_EQ(state.retention.oldest_day, c.oldest) << static_cast<int>(c.from) << " to " << static_cast<int>(c.to);
    }
}

// A code from an edited file shows no choice; OK without one keeps the code as it was read.
TEST_F(OldEntries, OkWithNoChoiceKeepsAnUnknownCodeAsItWas) {
    run(KeepCode{9}, {[](TemplateDialog& d) {
            EXPECT_EQ(marked(d), 0);
            press(d, id_ok);
        }});
    EXPECT_EQ(state.retention.keep_code, KeepCode{9});
    EXPECT_EQ(state.retention.oldest_day, untouched);
}

}  // namespace
}  // namespace daybrook
