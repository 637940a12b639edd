#pragma once
#include "db/CodeTextLookup.h"
#include <QString>

// Marks a literal to be translated where it is used through dv::text(QString):
// texts kept in tables and chosen at run time. The literal itself is the value.
#define DV_TEXT(portuguese) portuguese

namespace dv {

// A Portuguese text written in code, in the interface language. The text is its
// own key: section [Textos] of language/Default_<language>.lpu holds, under
// codeTextKey(text), the translation. Without a language, a file or the key the
// Portuguese text is the answer. Placeholders (%1, %2...) pass through as written.
//
//   dv::services().dialogs().warning(dv::text("Selecione o Paciente antes de criar uma nova consulta!"));
//   label->setText(dv::text("Parcela %1 de %2").arg(n).arg(total));
//
// Pass a literal: the shipped-files test reads the calls in the sources and
// requires an English and a Spanish text for each.
//
// text(), codeTextKey() and decodeCodeText() are declared in db/CodeTextLookup.h,
// with the dataset layer, whose messages are translated the same way; the session
// installs the lookup below the first time it is used.

// The [Textos] lookup of language/Default_<language>.lpu for the session's language.
QString sessionCodeText(const QString& key);

} // namespace dv
