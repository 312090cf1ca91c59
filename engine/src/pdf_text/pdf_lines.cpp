#include "pdf_text/pdf_lines.h"

#ifndef POINTERHOLDER_TRANSITION
#define POINTERHOLDER_TRANSITION 4
#endif

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lib/error.h"
#include "pdf_text/content_text.h"
#include "pdf_text/text_lines.h"
#include "pdf_text/to_unicode.h"

namespace bw {

namespace {

// ToUnicode maps already read in this call, by stream object (fonts are shared between pages).
using MapCache = std::map<QPDFObjGen, std::shared_ptr<const ToUnicodeMap>>;

std::shared_ptr<const ToUnicodeMap> read_to_unicode(QPDFObjectHandle font, MapCache &cache) {
    QPDFObjectHandle stream = font.getKey("/ToUnicode");
    if (!stream.isStream()) return nullptr;
    QPDFObjGen og = stream.getObjGen();
    if (auto it = cache.find(og); it != cache.end()) return it->second;
    std::shared_ptr<const ToUnicodeMap> map;
    try {
        std::shared_ptr<Buffer> data = stream.getStreamData(qpdf_dl_generalized);
        auto parsed = std::make_shared<ToUnicodeMap>(ToUnicodeMap::parse(
            std::string_view(reinterpret_cast<const char *>(data->getBuffer()), data->getSize())));
        if (!parsed->empty()) map = std::move(parsed);
    } catch (const std::exception &) {
        // An unreadable map: the font is used without one.
    }
    cache.emplace(og, map);
    return map;
}

FontTable font_table(QPDFPageObjectHelper &page, MapCache &cache) {
    FontTable table;
    try {
        QPDFObjectHandle resources = page.getAttribute("/Resources", false);
        if (!resources.isDictionary()) return table;
        QPDFObjectHandle fonts = resources.getKey("/Font");
        if (!fonts.isDictionary()) return table;
        for (const std::string &name : fonts.getKeys()) {
            try {
                QPDFObjectHandle font = fonts.getKey(name);
                if (!font.isDictionary()) continue;
                table.emplace(name, read_to_unicode(font, cache));
            } catch (const std::exception &) {
                // A font that cannot be loaded is left out.
            }
        }
    } catch (const std::exception &) {
        table.clear();
    }
    return table;
}

class Collector : public QPDFObjectHandle::ParserCallbacks {
public:
    explicit Collector(TextInterpreter &interp) : interp_(interp) {}

    void handleObject(QPDFObjectHandle obj) override {
        if (obj.isOperator()) {
            interp_.apply(obj.getOperatorValue(), operands_);
            operands_.clear();
        } else {
            operands_.push_back(obj);
        }
    }
    void handleEOF() override {}

private:
    TextInterpreter &interp_;
    std::vector<QPDFObjectHandle> operands_;
};

std::vector<TextPiece> page_pieces(QPDFPageObjectHelper &page, const FontTable &fonts) {
    try {
        if (!page.getObjectHandle().hasKey("/Contents")) return {};
        TextInterpreter interp(fonts);
        Collector collector(interp);
        page.parseContents(&collector);
        return interp.take_pieces();
    } catch (const std::exception &) {
        return {};  // content that cannot be decoded into operators yields nothing
    }
}

}  // namespace

std::vector<std::string> pdf_lines(const std::string &pdf_path) {
    std::vector<std::string> lines;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(pdf_path.c_str(), "");
        QPDFPageDocumentHelper doc(pdf);
        std::vector<QPDFPageObjectHelper> pages = doc.getAllPages();
        MapCache cache;
        for (QPDFPageObjectHelper &page : pages) {
            FontTable fonts = font_table(page, cache);
            append_lines(page_pieces(page, fonts), lines);
        }
    } catch (const Error &) {
        throw;
    } catch (const std::exception &e) {
        throw Error(e.what());
    }
    return lines;
}

}  // namespace bw
