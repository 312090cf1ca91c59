#include "Model/NaturalOrder.h"

#include <QString>

namespace {

bool isDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// Compares the digit runs a[ia..ea) and b[ib..eb) by value.
int compareNumbers(QStringView a, qsizetype ia, qsizetype ea, QStringView b, qsizetype ib, qsizetype eb) {
    while (ia < ea - 1 && a[ia] == u'0') ++ia;
    while (ib < eb - 1 && b[ib] == u'0') ++ib;
    qsizetype la = ea - ia, lb = eb - ib;
    if (la != lb) return la < lb ? -1 : 1;
    for (; ia < ea; ++ia, ++ib)
        if (a[ia] != b[ib]) return a[ia] < b[ib] ? -1 : 1;
    return 0;
}

int foldedCompare(QChar x, QChar y) {
    char32_t fx = QChar::toCaseFolded(x.unicode()), fy = QChar::toCaseFolded(y.unicode());
    if (fx == fy) return 0;
    return fx < fy ? -1 : 1;
}

} // namespace

int naturalCompare(QStringView a, QStringView b) {
    qsizetype i = 0, j = 0;
    int tie = 0; // first difference ignoring case / leading zeros, used only when all else is equal
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && isDigit(a[ei])) ++ei;
            while (ej < b.size() && isDigit(b[ej])) ++ej;
            if (int c = compareNumbers(a, i, ei, b, j, ej)) return c;
            if (!tie && (ei - i) != (ej - j)) tie = (ei - i) < (ej - j) ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        if (int c = foldedCompare(a[i], b[j])) return c;
        if (!tie && a[i] != b[j]) tie = a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return tie;
}
