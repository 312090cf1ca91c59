#pragma once
// The file manager's natural order of names: case-insensitive, runs of digits compared by their
// numeric value ("Case 2" before "case 10").
#include <QStringView>

// Negative, zero or positive as a sorts before, with or after b.
int naturalCompare(QStringView a, QStringView b);
inline bool naturalLess(QStringView a, QStringView b) { return naturalCompare(a, b) < 0; }
