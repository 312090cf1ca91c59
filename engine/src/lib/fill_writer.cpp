#include "lib/fill_writer.h"

#include <algorithm>
#include <array>

#include "lib/error.h"
#include "lib/pdf_crypto.h"

namespace bw {

const std::string_view kEmptyFormPacket =
    "<form xmlns=\"http://www.xfa.org/schema/xfa-form/3.6/\"/>";
static_assert(std::string_view("<form xmlns=\"http://www.xfa.org/schema/xfa-form/3.6/\"/>").size() == 55);

namespace {

std::string hex_lower(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 0xf]);
    }
    return out;
}

void append_stream_object(std::string &out, uint64_t number, std::string_view data) {
    out += std::to_string(number);
    out += " 0 obj\n<< /Type /EmbeddedFile /Filter /FlateDecode /Length ";
    out += std::to_string(data.size());
    out += " >>\nstream\n";
    out.append(data);
    out += "\nendstream\nendobj\n";
}

}  // namespace

void check_updatable(const LoadedForm &form) {
    if (form.owner_key.size() < 32)
        throw Error("owner key shorter than 32 bytes (" + std::to_string(form.owner_key.size()) +
                    "): cannot derive the document key");
    if (form.form_object == 0) throw Error("no form packet: cannot empty the form");
    if (form.datasets_object == 0) throw Error("datasets packet is not an indirect object");
    if (form.size == 0 || form.size == form.datasets_object || form.size == form.form_object ||
        form.datasets_object == form.form_object)
        throw Error("object numbers clash: datasets " + std::to_string(form.datasets_object) + ", form " +
                    std::to_string(form.form_object) + ", Size " + std::to_string(form.size));
    if (form.key_bits < 40 || form.key_bits > 128 || form.key_bits % 8 != 0)
        throw Error("unsupported key length " + std::to_string(form.key_bits));
}

UpdateStreams encrypt_streams(const LoadedForm &form, std::string_view datasets_xml) {
    const std::string key = crypto::file_key(form.owner_key, form.permissions, form.id0, form.key_bits,
                                             form.encrypt_metadata);
    UpdateStreams s;
    s.datasets = crypto::aes_encrypt(crypto::object_key(key, form.datasets_object),
                                     crypto::zlib_compress(datasets_xml));
    s.form = crypto::aes_encrypt(crypto::object_key(key, form.form_object),
                                 crypto::zlib_compress(kEmptyFormPacket));
    return s;
}

std::string build_update(const LoadedForm &form, uint64_t input_size, char last_byte,
                         const UpdateStreams &streams) {
    std::string out;
    out.reserve(streams.datasets.size() + streams.form.size() + 512);
    if (last_byte != '\n' && last_byte != '\r') out.push_back('\n');

    const uint64_t d = input_size + out.size();
    append_stream_object(out, form.datasets_object, streams.datasets);
    const uint64_t f = input_size + out.size();
    append_stream_object(out, form.form_object, streams.form);
    const uint64_t x = form.size;
    const uint64_t r = input_size + out.size();
    if (r > UINT32_MAX)
        throw Error("file too large: offset " + std::to_string(r) +
                    " does not fit the cross-reference stream's 4 bytes");

    std::array<std::pair<uint64_t, uint64_t>, 3> entries{
        {{form.datasets_object, d}, {form.form_object, f}, {x, r}}};
    std::sort(entries.begin(), entries.end());

    std::string table;
    for (auto [number, offset] : entries) {
        (void)number;
        table.push_back('\x01');
        for (int shift = 24; shift >= 0; shift -= 8) table.push_back(static_cast<char>((offset >> shift) & 0xff));
        table.append(2, '\0');
    }
    std::string index;
    for (size_t i = 0; i < entries.size();) {
        size_t j = i + 1;
        while (j < entries.size() && entries[j].first == entries[j - 1].first + 1) ++j;
        if (!index.empty()) index += ' ';
        index += std::to_string(entries[i].first) + " " + std::to_string(j - i);
        i = j;
    }

    out += std::to_string(x);
    out += " 0 obj\n<< /Type /XRef /Size " + std::to_string(x + 1);
    out += " /Root " + std::to_string(form.root.number) + " " + std::to_string(form.root.generation) + " R";
    out += " /Encrypt " + std::to_string(form.encrypt.number) + " " + std::to_string(form.encrypt.generation) + " R";
    out += " /ID [<" + hex_lower(form.id0) + "><" + hex_lower(form.id1) + ">]";
    out += " /Prev " + std::to_string(form.prev_xref);
    out += " /W [1 4 2] /Index [" + index + "] /Length " + std::to_string(table.size()) + " >>\nstream\n";
    out += table;
    out += "\nendstream\nendobj\n";
    out += "startxref\n" + std::to_string(r) + "\n%%EOF\n";
    return out;
}

}  // namespace bw
