#pragma once

#include "platform/Result.h"
#include "platform/data/FileRead.h"

#include <QByteArray>
#include <QString>

namespace velmora {

class RecordSet;

// The four list tables of an application, as the sidecar file stores them.
struct ApplicationLists {
    RecordSet& vacancies;
    RecordSet& resultas;
    RecordSet& courses;
    RecordSet& documents;
};

// The sidecar text: declaration, then <Plazas> with <Vacantes>, <Resultas>, <Cursos> and
// <Documentos>, no line breaks. Rows follow each table's current view order; each cursor
// is back on its row afterwards (at the end when it had none).
//
// Every value is escaped ("&", "<", ">"), so no typed text can make the file malformed.
// The course's `Curso` and `Centro` and the document's `Documento` keep their old rule of
// an "&" turned into a blank. The text is all Latin-1: a character beyond it, and a C1
// control, becomes a character reference (the euro sign is "&#8364;"), a carriage return
// "&#13;" so that it survives line-end handling; characters XML cannot carry at all
// (other control characters, unpaired surrogates) become "?".
//
// A save gives `documentDigest` (documentDigestOf the document saved with the lists): the
// root then carries it as its attribute "documento", so that a lists file and a document
// from two different saves are told apart when they are read.
QString buildApplicationXml(ApplicationLists lists, const QString& documentDigest = QString());

// The digest that ties a lists file to its document: SHA-256 of the document's bytes, in
// upper-case hexadecimal.
QString documentDigestOf(const QByteArray& documentBytes);

// The document digest the lists file at `path` names; empty when it names none or cannot
// be read.
QString listsFileDigest(const QString& path);

// The bytes of a sidecar text, in the declared iso-8859-1.
QByteArray encodeApplicationXml(const QString& text);

// Whether the sidecar bytes parse. When they do not, the text goes to
// `programFolder`/traza.txt and the failure is "Formato erróneo de XML" (ErrorCode::BadXml,
// told under "Error de XML").
Status checkApplicationXml(const QByteArray& bytes, const QString& programFolder);

// Writes the sidecar `folder`/`fileName`, replacing any previous file atomically. When
// the text does not parse, it fails as checkApplicationXml; when the file cannot be written
// (no folder, no permission, a full disk), the failure names the file and the cause. Either
// way the previous file stays.
Status writeApplicationLists(const QString& fileName, const QString& folder, ApplicationLists lists,
                             const QString& programFolder);

// A lists file holds a few thousand rows at most (some 2 MB); a larger one is refused
// before it is read, and a save never writes one.
inline constexpr qint64 kMaxListsFileBytes = 10 * kMegabyte;

enum class SidecarRead {
    Loaded,         // the rows were appended
    Missing,        // no file at all: the tables are unchanged
    Unreadable,     // a file that cannot be read (no permission, a folder, too large): unchanged
    Malformed,      // not XML, or its root is not <Plazas>: the tables are unchanged
    FromAnotherSave // written with another document than the one beside it: unchanged
};

// Appends the rows of the sidecar `folder`/`fileName` to the tables (expected open and
// empty). Every table column must have its element in each entry; integer columns take
// decimal text (an empty element leaves 0). A missing element or a value that is not
// an integer is returned as an error, and then no table has been changed either.
// Files declared iso-8859-1 are read with the Windows-1252 meaning of the bytes 0x80 to
// 0x9F, as the program's earlier files wrote them; other declared encodings and
// byte-order marks are honoured.
Result<SidecarRead> readApplicationLists(const QString& folder, const QString& fileName,
                                         ApplicationLists lists);

// What reading a lists file found, for a caller that keeps and reports a damaged file.
struct ListsFileRead {
    SidecarRead state = SidecarRead::Missing;
    // Why the file is Unreadable or Malformed, in the user's words ("no es un fichero XML:
    // ...", "no tiene permiso para leerlo").
    QString problem;
    // The "documento" attribute of the root; empty in files written without it.
    QString documentDigest;
    // The bytes did not match the declared encoding and were read as Windows-1252.
    bool encodingGuessed = false;
    // The file as it was read.
    QByteArray bytes;
};

// readApplicationLists for the file at `path`, where a missing element or a value that is
// not a number makes the file Malformed (the tables stay unchanged).
// A file naming another document digest than `expectedDigest` (when both are known) is
// FromAnotherSave and leaves the tables unchanged.
ListsFileRead readListsFile(const QString& path, ApplicationLists lists,
                            const QString& expectedDigest = QString());

} // namespace velmora
