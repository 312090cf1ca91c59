#pragma once
// The floor the engine's operations are measured against: opening a form with qpdf and decoding
// its template and datasets streams, nothing more.
#ifndef POINTERHOLDER_TRANSITION
#define POINTERHOLDER_TRANSITION 4
#endif
#include <stdexcept>
#include <string>

#include <benchmark/benchmark.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

inline void bw_bench_floor(const std::string &pdf) {
    QPDF doc;
    doc.setSuppressWarnings(true);
    doc.processFile(pdf.c_str(), "");
    QPDFObjectHandle xfa = doc.getRoot().getKey("/AcroForm").getKey("/XFA");
    int decoded = 0;
    for (int i = 0; i + 1 < xfa.getArrayNItems(); ++i) {
        QPDFObjectHandle name = xfa.getArrayItem(i);
        if (!name.isString()) continue;
        const std::string s = name.getStringValue();
        if (s == "template" || s == "datasets") {
            auto data = xfa.getArrayItem(i + 1).getStreamData(qpdf_dl_all);
            benchmark::DoNotOptimize(data->getBuffer());
            ++decoded;
        }
    }
    if (decoded != 2) throw std::runtime_error("floor: template or datasets missing in " + pdf);
}
