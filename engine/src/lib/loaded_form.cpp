#include "lib/loaded_form.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string_view>

#ifndef POINTERHOLDER_TRANSITION
#define POINTERHOLDER_TRANSITION 4
#endif
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include "lib/error.h"

namespace bw {

namespace {

std::string read_file(const std::string &path) {
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) throw Error(path + ": " + std::strerror(errno));
    std::string bytes;
    char buf[1 << 16];
    for (;;) {
        size_t n = std::fread(buf, 1, sizeof buf, f);
        bytes.append(buf, n);
        if (n < sizeof buf) break;
    }
    bool failed = std::ferror(f) != 0;
    int err = errno;
    std::fclose(f);
    if (failed) throw Error(path + ": " + std::strerror(err));
    return bytes;
}

// The number after the last "startxref" of the file.
uint64_t last_startxref(std::string_view bytes) {
    size_t at = bytes.rfind("startxref");
    if (at == std::string_view::npos) throw Error("no startxref");
    size_t i = at + 9;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\n' ||
                                bytes[i] == '\r' || bytes[i] == '\f'))
        ++i;
    size_t j = i;
    while (j < bytes.size() && bytes[j] >= '0' && bytes[j] <= '9') ++j;
    uint64_t value = 0;
    auto r = std::from_chars(bytes.data() + i, bytes.data() + j, value);
    if (i == j || r.ec == std::errc::invalid_argument) throw Error("startxref: no number");
    if (r.ec == std::errc::result_out_of_range) throw Error("startxref: number out of range");
    return value;
}

std::string stream_bytes(QPDFObjectHandle stream) {
    auto buffer = stream.getStreamData(qpdf_dl_all);
    return std::string(reinterpret_cast<const char *>(buffer->getBuffer()), buffer->getSize());
}

QPDFObjectHandle dictionary(QPDFObjectHandle h, const char *what) {
    if (!h.isDictionary()) throw Error(std::string(what) + " is not a dictionary");
    return h;
}

LoadedForm load(const std::string &path) {
    const std::string bytes = read_file(path);

    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processMemoryFile(path.c_str(), bytes.data(), bytes.size(), "");

    QPDFObjectHandle trailer = pdf.getTrailer();
    QPDFObjectHandle root_ref = trailer.getKey("/Root");
    QPDFObjectHandle root = dictionary(root_ref, "Root");

    if (!root.hasKey("/AcroForm")) throw Error("no AcroForm");
    QPDFObjectHandle acroform = dictionary(root.getKey("/AcroForm"), "AcroForm");

    if (!acroform.hasKey("/XFA")) throw Error("no XFA");
    QPDFObjectHandle xfa = acroform.getKey("/XFA");
    if (!xfa.isArray()) throw Error("XFA is not an array");

    LoadedForm form;
    QPDFObjectHandle datasets, templ;
    bool have_datasets = false, have_template = false;
    const int n = xfa.getArrayNItems();
    // Every index is looked at; a name in the last place has no packet and is ignored.
    for (int i = 0; i + 1 < n; ++i) {
        QPDFObjectHandle name = xfa.getArrayItem(i);
        if (!name.isString()) continue;
        const std::string s = name.getStringValue();
        QPDFObjectHandle next = xfa.getArrayItem(i + 1);
        if (s == "datasets") {
            datasets = next;
            have_datasets = true;
            form.datasets_object = next.isIndirect() ? static_cast<uint32_t>(next.getObjectID()) : 0;
        } else if (s == "form") {
            form.form_object = next.isIndirect() ? static_cast<uint32_t>(next.getObjectID()) : 0;
        } else if (s == "template") {
            templ = next;
            have_template = true;
        }
    }

    if (!have_datasets) throw Error("no datasets");
    if (!datasets.isStream()) throw Error("not stream");
    form.datasets = stream_bytes(datasets);

    if (have_template) {
        try {
            if (templ.isStream()) form.template_ = stream_bytes(templ);
        } catch (const std::exception &) {
            form.template_.reset();
        }
    }

    if (!trailer.hasKey("/Encrypt")) throw Error("not encrypted");
    QPDFObjectHandle encrypt_ref = trailer.getKey("/Encrypt");
    QPDFObjectHandle encrypt = dictionary(encrypt_ref, "Encrypt");

    form.prev_xref = last_startxref(bytes);

    QPDFObjectHandle o = encrypt.getKey("/O");
    if (o.isString()) form.owner_key = o.getStringValue();
    QPDFObjectHandle p = encrypt.getKey("/P");
    if (!p.isInteger()) throw Error("no P");
    form.permissions = static_cast<int32_t>(p.getIntValue());
    QPDFObjectHandle length = encrypt.getKey("/Length");
    if (length.isInteger()) form.key_bits = static_cast<uint32_t>(length.getIntValue());
    QPDFObjectHandle em = encrypt.getKey("/EncryptMetadata");
    if (em.isBool()) form.encrypt_metadata = em.getBoolValue();

    QPDFObjectHandle id = trailer.getKey("/ID");
    if (id.isArray()) {
        if (id.getArrayNItems() > 0 && id.getArrayItem(0).isString())
            form.id0 = id.getArrayItem(0).getStringValue();
        if (id.getArrayNItems() > 1 && id.getArrayItem(1).isString())
            form.id1 = id.getArrayItem(1).getStringValue();
    }
    form.root = {static_cast<uint64_t>(root_ref.getObjectID()),
                 static_cast<uint16_t>(root_ref.getGeneration())};
    form.encrypt = {static_cast<uint64_t>(encrypt_ref.getObjectID()),
                    static_cast<uint16_t>(encrypt_ref.getGeneration())};
    QPDFObjectHandle size = trailer.getKey("/Size");
    if (size.isInteger()) form.size = static_cast<uint32_t>(size.getIntValue());
    return form;
}

}  // namespace

LoadedForm load_form(const std::string &path) {
    try {
        return load(path);
    } catch (const Error &) {
        throw;
    } catch (const std::bad_alloc &) {
        throw;
    } catch (const std::exception &e) {
        throw Error(e.what());
    }
}

}  // namespace bw
