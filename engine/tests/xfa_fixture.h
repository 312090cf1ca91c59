#pragma once
// Tiny XFA PDFs built with qpdf for the engine's tests.
#ifndef POINTERHOLDER_TRANSITION
#define POINTERHOLDER_TRANSITION 4
#endif
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

namespace bwtest {

// One element pair of the XFA array: a packet name and what follows it.
struct Packet {
    std::string name;
    std::string xml;
    enum Kind { stream, string, none } kind = stream;  // none: the name stands alone
};

enum class Crypt { none, aes128, aes256 };

struct XfaPdf {
    std::vector<Packet> packets;
    bool acroform = true;
    bool xfa = true;
    Crypt crypt = Crypt::aes128;
    bool encrypt_metadata = true;
};

// The PDF's bytes, with streams uncompressed objects in the clear (no object streams).
inline std::string build_pdf(const XfaPdf &spec) {
    QPDF pdf;
    pdf.emptyPDF();
    QPDFObjectHandle root = pdf.getRoot();
    if (spec.acroform) {
        QPDFObjectHandle acro = QPDFObjectHandle::newDictionary();
        if (spec.xfa) {
            QPDFObjectHandle xfa = QPDFObjectHandle::newArray();
            for (const auto &p : spec.packets) {
                xfa.appendItem(QPDFObjectHandle::newString(p.name));
                if (p.kind == Packet::stream)
                    xfa.appendItem(pdf.newStream(p.xml));
                else if (p.kind == Packet::string)
                    xfa.appendItem(QPDFObjectHandle::newString(p.xml));
            }
            acro.replaceKey("/XFA", xfa);
        }
        root.replaceKey("/AcroForm", pdf.makeIndirectObject(acro));
    }
    QPDFWriter w(pdf);
    w.setOutputMemory();
    w.setObjectStreamMode(qpdf_o_disable);
    w.setStaticID(true);
    if (spec.crypt == Crypt::aes128)
        w.setR4EncryptionParametersInsecure("", "owner", true, true, true, true, true, true, qpdf_r3p_full,
                                            spec.encrypt_metadata, true);
    else if (spec.crypt == Crypt::aes256)
        w.setR6EncryptionParameters("", "owner", true, true, true, true, true, true, qpdf_r3p_full,
                                    spec.encrypt_metadata);
    w.write();
    auto buffer = w.getBufferSharedPointer();
    return std::string(reinterpret_cast<const char *>(buffer->getBuffer()), buffer->getSize());
}

// A temporary folder removed at the end of the test.
struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "bwtest-XXXXXX").string();
        path = mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string write(const std::string &name, const std::string &bytes) const {
        std::string p = (path / name).string();
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
};

inline std::string read_bytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A copy of an encrypted form whose datasets packet is replaced by edit(old datasets XML),
// written with the form's own encryption.
template <class Edit>
void rewrite_datasets(const std::string &in, const std::string &out, Edit &&edit) {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(in.c_str(), "");
    QPDFObjectHandle xfa = pdf.getRoot().getKey("/AcroForm").getKey("/XFA");
    for (int i = 0; i + 1 < xfa.getArrayNItems(); ++i) {
        QPDFObjectHandle name = xfa.getArrayItem(i);
        if (name.isString() && name.getStringValue() == "datasets") {
            QPDFObjectHandle stream = xfa.getArrayItem(i + 1);
            auto data = stream.getStreamData(qpdf_dl_all);
            std::string xml(reinterpret_cast<const char *>(data->getBuffer()), data->getSize());
            stream.replaceStreamData(edit(xml), QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
        }
    }
    QPDFWriter w(pdf, out.c_str());
    w.write();
}

inline std::string form_path(const char *name) { return std::string(BW_FORMS_DIR) + "/" + name; }

// Typical packets of a small form.
inline const char *kDatasets =
    "<xfa:datasets xmlns:xfa=\"http://www.xfa.org/schema/xfa-data/1.0/\"><xfa:data><form1>"
    "<Name>Li</Name></form1></xfa:data></xfa:datasets>";
inline const char *kTemplate = "<template xmlns=\"http://www.xfa.org/schema/xfa-template/3.3/\"/>";

}  // namespace bwtest
