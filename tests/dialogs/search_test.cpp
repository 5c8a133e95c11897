#include "window/search_command.h"

#include <QCheckBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "resources/dialog_templates.h"
#include "support/dialog_input.h"
#include "support/scripted_dialog_services.h"

namespace daybrook {
namespace {

namespace ids = search_ids;
using testing::mark;
using testing::press;
using testing::type;
using Step = testing::ScriptedModalRunner::Step;

class Search : public ::testing::Test, protected testing::ScriptedDialogServices {
protected:
    void run(std::initializer_list<Step> steps) {
        modal.steps.insert(modal.steps.end(), steps);
        run_search(nullptr, state, services);
        EXPECT_TRUE(modal.steps.empty()) << "not every scripted step was used";
    }

    DiaryState state{.today = 20793, .view = {.page_mode = PageMode::week, .start_day = 20793}};
};

// The word and the flags the results page is given; a word is folded unless case counts.
TEST_F(Search, OkShowsTheResultsPageForTheWordAndFlagsTyped) {
    struct Case {
        QString typed;
        bool case_sensitive, show_all;
        std::string word;
    };
    for (const Case& c : {Case{"Party", false, false, "party"}, Case{"Party", true, false, "Party"},
                          Case{"\u00c9t\u00c9", false, false, "\xC9t\xC9"}, Case{"", false, true, ""},
                          Case{"ABCDEFGHIJKLM", false, false, "abcdefghijk"}}) {
        state.view.page_mode = PageMode::week;
        run({[&](TemplateDialog& d) {
            EXPECT_FALSE(d.check_box(ids::case_sensitive)->isChecked()) << "every search starts afresh";
            EXPECT_TRUE(d.edit(ids::word)->text().isEmpty());
            type(d, ids::word, c.typed);
            if (c.case_sensitive) mark(d, ids::case_sensitive);
            if (c.show_all) mark(d, ids::show_all);
            press(d, id_ok);
        }});
        EXPECT_EQ(state.view.page_mode, PageMode::search_results) << c.typed.toStdString();
        EXPECT_EQ(state.view.search_word, c.word);
        EXPECT_EQ(state.view.case_sensitive, c.case_sensitive);
        EXPECT_EQ(state.view.show_all, c.show_all);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Search, NoWordIsRefusedAndCancelLeavesThePageAsItWas) {
    run({[](TemplateDialog& d) {
        press(d, id_ok);
        EXPECT_FALSE(d.has_ended());
        press(d, id_cancel);
    }});
    EXPECT_EQ(messages.shown, (std::vector<Message>{{"You have not entered a word to search for!", "Missing Word",
                                                     MessageIcon::stop}}));
    EXPECT_EQ(state.view.page_mode, PageMode::week);
}

}  // namespace
}  // namespace daybrook
