#include "sync/sync_state.h"


#include <cstdio>
#include <sstream>

#include "calendar/fingerprint.h"

namespace daybrook {
namespace {

constexpr std::string_view header = "daybrook sync state 2";
constexpr std::string_view checksum_word = "check ";

// Names and paths as one word: spaces, control characters and '%' as "%XX".
std::string encoded(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || c == '%') {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> decoded(std::string_view word) {
    std::string out;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%') {
            out += word[i];
            continue;
        }
        if (i + 2 >= word.size()) return std::nullopt;
        unsigned value = 0;
        if (std::sscanf(std::string(word.substr(i + 1, 2)).c_str(), "%2x", &value) != 1) return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

// An etag as one word: "-" for none (a file gone, or one whose etag could not be told).
std::string etag_word(const Etag& etag) { return etag.empty() ? "-" : etag; }
Etag etag_of_word(const std::string& word) { return word == "-" ? Etag() : word; }

std::string item_line(const SyncedItem& item) {
    return "item " + encoded(item.vdir_name) + ' ' + etag_word(item.vdir_etag) + ' ' + hex_text(item.vdir_hash) + ' ' +
           std::to_string(item.horizon) + ' ' + (item.repeats ? '1' : '0') + ' ' + (item.retry ? '1' : '0') + '\n';
}

// Reads the lines of a state's body (after the header, before the checksum) into it.
bool read_body(std::istringstream& lines, SyncState& state) {
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string kind, name, etag, hash, extra;
        words >> kind >> name;
        if (kind == "vdir") {
            const std::optional<std::string> value = decoded(name);
            if (!value || (words >> extra)) return false;
            state.vdir = *value;
            continue;
        }
        words >> etag >> hash;
        const std::optional<std::string> bare = decoded(name);
        const std::optional<std::uint64_t> value = read_hex64(hash);
        if (!bare || !value || etag.empty()) return false;
        if (kind == "item") {
            SyncedItem item{*bare, etag_of_word(etag), *value};
            int repeats = 0;
            int retry = 0;
            if (!(words >> item.horizon >> repeats >> retry) || (words >> extra)) return false;
            item.repeats = repeats != 0;
            item.retry = retry != 0;
            state.items.push_back(std::move(item));
        } else if (kind == "entry" && !state.items.empty() && !(words >> extra) && is_entry_file_name(*bare)) {
            state.items.back().entries.push_back({*bare, etag_of_word(etag), *value});
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

std::uint64_t entry_key(const EntryRecord& record) {
    std::string bytes = record.text;
    bytes += '\0';
    bytes += record.red != 0 ? 'r' : '-';
    bytes += record.yearly != EntryRecord::not_yearly ? 'y' : '-';
    return content_hash(bytes);
}

std::string event_tag(std::string_view vdir_name) {
    return hex_text(content_hash(vdir_name)).substr(16 - EntryRecord::tail_name_size);
}

std::string state_text(const SyncState& state) {
    std::string text(header);
    text += "\nvdir " + encoded(state.vdir) + '\n';
    for (const SyncedItem& item : state.items) {
        text += item_line(item);
        for (const SyncedEntry& entry : item.entries)
            text += "entry " + entry.name + ' ' + etag_word(entry.etag) + ' ' + hex_text(entry.key) + '\n';
    }
    text += std::string(checksum_word) + hex_text(content_hash(text)) + '\n';
    return text;
}

std::optional<SyncState> parse_sync_state(std::string_view text) {
    if (!text.ends_with('\n')) return std::nullopt;
    const std::size_t last = text.rfind('\n', text.size() - 2);
    if (last == std::string_view::npos) return std::nullopt;
    const std::string_view body = text.substr(0, last + 1);
    const std::string_view check = text.substr(last + 1, text.size() - last - 2);
    if (!check.starts_with(checksum_word) || read_hex64(check.substr(checksum_word.size())) != content_hash(body))
        return std::nullopt;
    if (!body.starts_with(header) || body.size() <= header.size() || body[header.size()] != '\n') return std::nullopt;
    std::istringstream lines(std::string(body.substr(header.size() + 1)));
    SyncState state;
    if (!read_body(lines, state)) return std::nullopt;
    return state;
}

}  // namespace daybrook
