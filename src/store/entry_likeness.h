// When two entries are alike: they hold the same memo in the same colour, and both repeat each
// year or neither does. Where an entry sits, the date written in it, whether its yearly renewal
// is done, and the entry or event it names are left aside, so the copy a renewal carried to next
// year and an entry the sync received are alike the entries they stand for.
//
// Whoever asks adds what else must agree, and says why where it asks: the sync and the import
// compare entries of one day, the export counts yearly entries alike by the day and month they
// were first written for, the renewal recognises its own copy by its first date and origin.
#pragma once

#include <compare>
#include <string>

#include "store/entry_record.h"

namespace daybrook {

struct Likeness {
    std::string memo;
    bool red = false;
    bool yearly = false;

    friend auto operator<=>(const Likeness&, const Likeness&) = default;
};

inline Likeness likeness_of(const EntryRecord& record) {
    return {record.text, record.red != 0, record.yearly != EntryRecord::not_yearly};
}

}  // namespace daybrook
