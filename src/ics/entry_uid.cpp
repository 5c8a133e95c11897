#include "ics/entry_uid.h"

#include <cstdint>

#include "calendar/fingerprint.h"
#include "store/entry_files.h"

namespace daybrook {
namespace {

// FNV-1a over the given fields, each closed by a zero byte.
std::uint64_t fingerprint(std::initializer_list<std::string_view> fields) {
    std::uint64_t hash = fnv1a_start;
    for (std::string_view field : fields) hash = fnv1a(std::string_view("", 1), fnv1a(field, hash));
    return hash;
}

// "dd/mm" of a "dd/mm/yy" date.
std::string_view day_and_month(std::string_view date) { return date.substr(0, 5); }

}  // namespace

std::string entry_uid(std::string_view name, const EntryRecord& record, int alike_before) {
    const std::string red = std::to_string(record.red);
    if (record.yearly == EntryRecord::not_yearly) {
        // The fields in the order the first exports hashed them, so their UIDs stay.
        const std::uint64_t hash = fingerprint({name, record.text, record.date, std::to_string(record.yearly), red});
        return std::string(name) + "-" + hex_text(hash) + "@daybrook";
    }
    const std::uint64_t hash = fingerprint({"yearly", record.text, day_and_month(record.date), red});
    return "yearly-" + hex_text(hash) + "-" + std::to_string(alike_before + 1) + "@daybrook";
}

std::string EntryUids::operator()(std::string_view name, const EntryRecord& record) {
    const DayNumber day = day_of_entry_name(name);
    if (day != m_day) {
        m_day = day;
        m_alike.clear();
    }
    if (record.yearly == EntryRecord::not_yearly) return entry_uid(name, record, 0);
    int& before = m_alike[{likeness_of(record), std::string(day_and_month(record.date))}];
    return entry_uid(name, record, before++);
}

std::string store_entry_uid(const StoreDir& dir, const std::string& name, const EntryRecord& record) {
    // Only a yearly entry's UID counts the entries alike below it on its day: another's day is
    // left unread, which spares a sync sending thousands of entries as many reads of their days.
    if (record.yearly == EntryRecord::not_yearly) return entry_uid(name, record, 0);
    EntryUids uids;
    const DayNumber day = day_of_entry_name(name);
    for (const SlotEntry& lower : slot_entries(dir, day)) {
        const std::string lower_name = entry_file_name(day, lower.slot);
        if (lower_name >= name) break;
        uids(lower_name, lower.record);
    }
    return uids(name, record);
}

}  // namespace daybrook
