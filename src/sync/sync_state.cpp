#include "sync/sync_state.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <span>
#include <system_error>

#include "calendar/fingerprint.h"
#include "calendar/text_helpers.h"
#include "store/entry_likeness.h"

namespace daybrook {
namespace {

// Each version of the text by its first line, with the checksum its last line gives. A state an
// earlier Daybrook wrote still reads: taken for damaged, it would cost a pairing by contents.
struct Version {
    std::string_view header;
    std::uint64_t (*checksum)(std::string_view) noexcept;
};
constexpr Version written{"daybrook sync state 3", word_hash};
constexpr std::array<Version, 2> readable{written, Version{"daybrook sync state 2", content_hash}};

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
    if (word.find('%') == std::string_view::npos) return std::string(word);
    std::string out;
    out.reserve(word.size());
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%') {
            out += word[i];
            continue;
        }
        if (i + 2 >= word.size()) return std::nullopt;
        unsigned char value = 0;
        if (!read_hex(ascii_lower(word.substr(i + 1, 2)), std::span(&value, 1))) return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

template <typename Number>
bool read_number(std::string_view word, Number& value) {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc{} && end == word.data() + word.size();
}

constexpr std::size_t nanosecond_digits = 9;

// An etag as one word, "<inode>-<size>-<seconds>.<nanoseconds, nine digits>", or "-" for none
// (a file gone, or one whose etag could not be told).
std::string etag_word(const Etag& etag) {
    if (etag.empty()) return "-";
    const std::string nanoseconds = std::to_string(etag.nanoseconds);
    return std::to_string(etag.inode) + '-' + std::to_string(etag.size) + '-' + std::to_string(etag.seconds) + '.' +
           std::string(nanosecond_digits - std::min(nanoseconds.size(), nanosecond_digits), '0') + nanoseconds;
}

std::optional<Etag> etag_of_word(std::string_view word) {
    if (word == "-") return Etag{};
    const std::size_t size_at = word.find('-') + 1;
    const std::size_t seconds_at = size_at == 0 ? 0 : word.find('-', size_at) + 1;
    const std::size_t fraction_at = seconds_at == 0 ? 0 : word.find('.', seconds_at) + 1;
    Etag etag;
    std::uint32_t nanoseconds = 0;  // digits alone: no sign
    if (fraction_at == 0 || word.size() - fraction_at != nanosecond_digits ||
        !read_number(word.substr(0, size_at - 1), etag.inode) ||
        !read_number(word.substr(size_at, seconds_at - 1 - size_at), etag.size) ||
        !read_number(word.substr(seconds_at, fraction_at - 1 - seconds_at), etag.seconds) ||
        !read_number(word.substr(fraction_at), nanoseconds))
        return std::nullopt;
    etag.nanoseconds = nanoseconds;
    return etag;
}

std::string item_line(const SyncedItem& item) {
    return "item " + encoded(item.vdir_name) + ' ' + etag_word(item.vdir_etag) + ' ' + hex_text(item.vdir_hash) + ' ' +
           std::to_string(item.horizon) + ' ' + (item.repeats ? '1' : '0') + ' ' + (item.retry ? '1' : '0') + '\n';
}

// The words of a line, at most as many as any line of a state has.
struct Words {
    static constexpr std::size_t most = 7;
    std::array<std::string_view, most> word;
    std::size_t count = 0;
};

// The words of a line, split at the single spaces the state writes between them (a name in it
// has its spaces encoded); nothing for a line of more words than any line of a state has, or
// with an empty word.
std::optional<Words> words_of(std::string_view line) {
    Words words;
    for (std::size_t start = 0; start < line.size();) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        if (end == start || words.count == Words::most) return std::nullopt;
        words.word[words.count++] = line.substr(start, end - start);
        start = end + 1;
    }
    return words;
}

// An "item" line (name, etag, hash, horizon, repeats, retry) or an "entry" line (name, etag,
// hash) of the last item, added to the state; false for any other line.
bool read_synced(const Words& words, SyncState& state) {
    const auto& word = words.word;
    if (words.count < 4 || word[2].empty()) return false;
    std::optional<std::string> name = decoded(word[1]);
    const std::optional<Etag> etag = etag_of_word(word[2]);
    const std::optional<std::uint64_t> hash = read_hex64(word[3]);
    if (!name || !etag || !hash) return false;
    if (word[0] == "entry") {
        if (words.count != 4 || state.items.empty() || !is_entry_file_name(*name)) return false;
        state.items.back().entries.push_back({std::move(*name), *etag, *hash});
        return true;
    }
    SyncedItem item{std::move(*name), *etag, *hash};
    int repeats = 0;
    int retry = 0;
    if (word[0] != "item" || words.count != Words::most || !read_number(word[4], item.horizon) ||
        !read_number(word[5], repeats) || !read_number(word[6], retry))
        return false;
    item.repeats = repeats != 0;
    item.retry = retry != 0;
    state.items.push_back(std::move(item));
    return true;
}

// Reads the lines of a state's body (after the header, before the checksum) into it.
bool read_body(std::string_view body, SyncState& state) {
    while (!body.empty()) {
        const std::size_t end = body.find('\n');
        const std::optional<Words> words = words_of(body.substr(0, end));
        body.remove_prefix(end == std::string_view::npos ? body.size() : end + 1);
        if (!words) return false;
        if (words->count >= 1 && words->word[0] == "vdir") {
            const std::optional<std::string> value = decoded(words->word[1]);
            if (!value || words->count > 2) return false;
            state.vdir = *value;
        } else if (!read_synced(*words, state)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::uint64_t entry_key(const EntryRecord& record) {
    const Likeness likeness = likeness_of(record);
    std::string bytes = likeness.memo;
    bytes += '\0';
    bytes += likeness.red ? 'r' : '-';
    bytes += likeness.yearly ? 'y' : '-';
    return content_hash(bytes);
}

std::string event_tag(std::string_view vdir_name) {
    return hex_text(content_hash(vdir_name)).substr(16 - EntryRecord::tail_name_size);
}

std::string state_text(const SyncState& state) {
    std::string text(written.header);
    text += "\nvdir " + encoded(state.vdir) + '\n';
    for (const SyncedItem& item : state.items) {
        text += item_line(item);
        for (const SyncedEntry& entry : item.entries)
            text += "entry " + entry.name + ' ' + etag_word(entry.etag) + ' ' + hex_text(entry.key) + '\n';
    }
    text += std::string(checksum_word) + hex_text(written.checksum(text)) + '\n';
    return text;
}

std::optional<SyncState> parse_sync_state(std::string_view text) {
    if (!text.ends_with('\n')) return std::nullopt;
    const std::size_t last = text.rfind('\n', text.size() - 2);
    if (last == std::string_view::npos) return std::nullopt;
    const std::string_view body = text.substr(0, last + 1);
    const std::string_view check = text.substr(last + 1, text.size() - last - 2);
    const auto version = std::find_if(readable.begin(), readable.end(), [&](const Version& version) {
        return body.size() > version.header.size() && body.starts_with(version.header) &&
               body[version.header.size()] == '\n';
    });
    if (version == readable.end() || !check.starts_with(checksum_word) ||
        read_hex64(check.substr(checksum_word.size())) != version->checksum(body))
        return std::nullopt;
    SyncState state;
    if (!read_body(body.substr(version->header.size() + 1), state)) return std::nullopt;
    return state;
}

}  // namespace daybrook
