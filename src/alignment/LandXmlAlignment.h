#pragma once

#include "Alignment.h"
#include "shell/Bilingual.h"
#include "shell/InputFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A road's centreline read from a LandXML 1.2 file: the alignment asked for by name, or the
// only one; its chain of lines, arcs and clothoids and its station equations.
struct AlignmentFile {
    QString Path;
    Alignment Chosen;
    QStringList Names; // every alignment of the file, in its order
    // The EPSG code of the file's <CoordinateSystem>, empty when it names none: the caller
    // holds it against the lot's reference system.
    QString EpsgCode;
    // Set when no alignment could be taken: unreadable, not LandXML, a DTD, units other than
    // metres, no alignment or none by that name, a chain that does not hold together.
    Bilingual Problem;

    bool Refused() const { return !Problem.En.isEmpty(); }
};

// A design file of a whole motorway with its surfaces is some 20 MB.
InputLimit AlignmentFileLimit();

AlignmentFile ReadAlignmentFile(const QString& path, const QString& name = {});
// The same of a file already read (ReadInputFile within AlignmentFileLimit).
AlignmentFile AlignmentOfInput(const QString& path, const InputRead& read,
                               const QString& name = {});
AlignmentFile ParseLandXmlAlignment(const QString& path, const QByteArray& bytes,
                                    const QString& name = {});
