// Records for tests, naming only the fields a test cares about: Memo("Birthday").date("05/12/26").
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>

#include "store/entry_record.h"

namespace daybrook {

class Memo {
public:
    explicit Memo(std::string text = {}) { m_record.text = std::move(text); }
    Memo& date(std::string date) {
        m_record.date = std::move(date);
        return *this;
    }
    Memo& file(std::string file) {
        m_record.file = std::move(file);
        return *this;
    }
    Memo& yearly(std::int32_t yearly) {
        m_record.yearly = yearly;
        return *this;
    }
    Memo& red(std::int32_t red = 1) {
        m_record.red = red;
        return *this;
    }
    Memo& origin(std::string origin) {
        m_record.origin = std::move(origin);
        return *this;
    }
    Memo& event(std::string event) {
        m_record.event = std::move(event);
        return *this;
    }
    operator EntryRecord() const { return m_record; }

private:
    EntryRecord m_record;
};

inline void PrintTo(const EntryRecord& record, std::ostream* out) {
    *out << "{text \"" << record.text << "\", date \"" << record.date << "\", file \""
         << record.file << "\", yearly " << record.yearly << ", red " << record.red << ", origin \""
         << record.origin << "\", event \"" << record.event << "\"}";
}

inline void PrintTo(const Memo& memo, std::ostream* out) {
    PrintTo(EntryRecord(memo), out);
}

}  // namespace daybrook
