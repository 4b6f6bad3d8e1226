#pragma once
// How fair a map file is to two sides facing each other across its centre: every hex whose
// content differs from its point mirror's, and what each half holds. Reads only: it loads the
// file into MapGrid.

#include <QString>
#include <QStringList>
#include <optional>

struct SymmetryReport {
    // Why the file could not be read as a map; the rest is then empty.
    std::optional<QString> unreadable;
    // "(x,y) and (33-x,33-y) differ: Field a and b, ...", one line per pair, west hex first.
    QStringList differences;
    // The halves side by side: a heading, then one line for each ground, each overlay, the
    // mines and the heights.
    QStringList halves;
};

SymmetryReport CheckSymmetry(const QString& path);
