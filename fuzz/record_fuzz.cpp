// Entry records: the input is the bytes of an entry file, and also makes a record of its own
// whose texts may be of any length and hold zero bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "fuzz_check.h"
#include "store/entry_record.h"

namespace {

using namespace daybrook;

struct Field {
    std::size_t offset, size;
};
constexpr Field text_field{0, EntryRecord::text_field};
constexpr Field date_field{81, EntryRecord::date_field};
constexpr Field file_field{90, EntryRecord::file_field};

// A decoded text: no zero byte, and short enough to be stored with its terminating zero.
void check_decoded(const std::string& text, Field field) {
    FUZZ_CHECK(text.find('\0') == std::string::npos);
    FUZZ_CHECK(text.size() < field.size);
}

// Every stored text field ends with a zero byte.
void check_terminated(const RecordBytes& bytes) {
    for (const Field field : {text_field, date_field, file_field}) FUZZ_CHECK(bytes[field.offset + field.size - 1] == 0);
}

// What a record keeps of a text: up to its first zero byte, at most the field less one byte.
std::string kept(const std::string& text, Field field) {
    return text.substr(0, std::min({text.find('\0'), text.size(), field.size - 1}));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const unsigned char> bytes(data, size);
    const EntryRecord record = decode(bytes);
    check_decoded(record.text, text_field);
    check_decoded(record.date, date_field);
    check_decoded(record.file, file_field);

    // Only the first 111 bytes count, and missing ones count as zeros.
    RecordBytes padded{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), padded.size()), padded.begin());
    FUZZ_CHECK(decode(padded) == record);

    // A record read and written back is the same record.
    const RecordBytes encoded = encode(record);
    check_terminated(encoded);
    FUZZ_CHECK(decode(encoded) == record);

    FuzzedDataProvider input(data, size);
    EntryRecord made;
    made.yearly = input.ConsumeIntegral<std::int32_t>();
    made.red = input.ConsumeIntegral<std::int32_t>();
    made.text = input.ConsumeRandomLengthString(200);
    made.date = input.ConsumeRandomLengthString(30);
    made.file = input.ConsumeRemainingBytesAsString();
    const RecordBytes made_bytes = encode(made);
    check_terminated(made_bytes);
    const EntryRecord back = decode(made_bytes);
    FUZZ_CHECK(back.text == kept(made.text, text_field));
    FUZZ_CHECK(back.date == kept(made.date, date_field));
    FUZZ_CHECK(back.file == kept(made.file, file_field));
    FUZZ_CHECK(back.yearly == made.yearly && back.red == made.red);
    return 0;
}
