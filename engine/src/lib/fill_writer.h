#pragma once
// The incremental update a fill appends to a form: the new datasets stream, an emptied form
// packet and a cross-reference stream, encrypted with the document's own key.
#include <cstdint>
#include <string>
#include <string_view>

#include "lib/loaded_form.h"

namespace bw {

// The 55-byte empty form packet (XFA form namespace 3.6).
extern const std::string_view kEmptyFormPacket;

// Fails (bw::Error) for a document that an update cannot be written for: owner key shorter than
// 32 bytes, no form packet or datasets object, clashing object numbers, unsupported key length.
void check_updatable(const LoadedForm &form);

// The encrypted stream data of the two packets.
struct UpdateStreams {
    std::string datasets;  // encrypt(key(datasets_object), zlib(datasets XML))
    std::string form;      // encrypt(key(form_object), zlib(empty form packet))
};
UpdateStreams encrypt_streams(const LoadedForm &form, std::string_view datasets_xml);

// The bytes appended to an input of input_size bytes. last_byte is the input's last byte (or
// '\n' for an empty input): a line feed is put first when the input does not end a line, so the
// first object never joins the input's final "%%EOF" line. Fails when an offset would not fit the
// cross-reference stream's 4-byte field.
std::string build_update(const LoadedForm &form, uint64_t input_size, char last_byte,
                         const UpdateStreams &streams);

}  // namespace bw
