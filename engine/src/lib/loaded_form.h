#pragma once
// Opening an official XFA form: its data and template packets and the facts about the file
// that an incremental update needs.
#include <cstdint>
#include <optional>
#include <string>

namespace bw {

struct ObjectRef {
    uint64_t number = 0;
    uint16_t generation = 0;
};

struct LoadedForm {
    std::string datasets;                 // decoded XML of the datasets packet
    std::optional<std::string> template_; // decoded XML of the template packet
    uint32_t datasets_object = 0;
    uint32_t form_object = 0;
    ObjectRef root;
    ObjectRef encrypt;
    uint32_t size = 0;
    std::string id0, id1;
    uint64_t prev_xref = 0;
    std::string owner_key;
    int32_t permissions = 0;
    uint32_t key_bits = 128;
    bool encrypt_metadata = true;
};

// Throws bw::Error with the message of the first check that fails.
LoadedForm load_form(const std::string &path);

}  // namespace bw
