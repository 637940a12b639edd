#pragma once
#include <QString>

namespace dv {

// A file can be made there (a real try: permissions alone say little to root, a
// read-only mount or a folder that went away).
bool canWriteIn(const QString& folder);

// The user's documents folder with a trailing "/", made when missing; empty when it
// cannot be written either.
QString writableDocuments();

// Where a file the program writes under a fixed name goes: beside the executable,
// as always; an installed program's read-only folder sends it to the documents folder.
QString fixedFilePath(const QString& fileName);

// folder (made when missing) when it can be written, else the documents folder (or
// folder when neither can): where a save dialog starts.
QString writableFolderOr(const QString& folder);

} // namespace dv
