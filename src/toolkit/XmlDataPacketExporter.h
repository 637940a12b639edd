#pragma once
#include <QString>
#include <functional>

namespace dv {

class Dataset;

// Writes every column of a query (not only the shown ones) as an XML data packet in
// the DataSnap client-dataset format:
//
//   <?xml version="1.0" standalone="yes"?><DATAPACKET Version="2.0"><METADATA><FIELDS>
//   <FIELD attrname="paciente_nome" fieldtype="string" WIDTH="100"/>...</FIELDS><PARAMS/>
//   </METADATA><ROWDATA><ROW paciente_id="1" paciente_nome="Ana"/>...</ROWDATA></DATAPACKET>
//
// Field types: string (WIDTH), i4, i4 with SUBTYPE="Autoinc", i8, r8, r8 with
// SUBTYPE="Money", dateTime (values yyyymmddThh:nn:sszzz), bin.hex with SUBTYPE="Text"
// for memos (the text) and "Binary" for pictures (the bytes in base64). Numbers use a
// decimal point; an empty value leaves its attribute out. Characters XML cannot hold
// are dropped.
//
// The rows are those the dataset shows, in its order; its current row does not move.
// progress(record number, record count) is called after each row is written.
// A file that cannot be written raises dv::PlainError.
class XmlDataPacketExporter {
public:
    using Progress = std::function<void(int recNo, int recordCount)>;
    static void write(const QString& path, const Dataset& dataset, const Progress& progress = {});
};

} // namespace dv
