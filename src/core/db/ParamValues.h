#pragma once
#include "Engine.h"

namespace dv {

// The parameter type a column of this field type is written with.
ParamType paramTypeOf(FieldType t);

// A parameter's value read as its type says, for both engines; a value that is
// not of that type raises EngineError naming the parameter.
qint64 integerValue(const Param& p);
Currency currencyValue(const Param& p);
QDateTime dateTimeValue(const Param& p);
// The value of a result column read as a field of this type; invalid for NULL.
QVariant cursorValue(const Cursor& c, int column, FieldType t);

// The storage text of a String/Text parameter: verbatim, dates as ISO text.
QString textValue(const Param& p);

} // namespace dv
