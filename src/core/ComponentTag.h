#pragma once

class QObject;

namespace dv {

// A component's integer Tag: a dataset field's own tag, otherwise the "tag"
// property (a dynamic property set in .ui files, or a class's Q_PROPERTY); 0
// when absent. 0 lets the
// base screens treat a component automatically; 9 keeps it out of language
// captures.
int componentTag(const QObject* component);
void setComponentTag(QObject* component, int tag);

} // namespace dv
