#pragma once

class QObject;

namespace dv {

// A component's integer Tag: the "tag" property, set in .ui files as a dynamic
// property or declared by a class as a Q_PROPERTY; 0 when absent. 0 lets the
// base screens treat a component automatically; 9 keeps it out of language
// captures.
int componentTag(const QObject* component);
void setComponentTag(QObject* component, int tag);

} // namespace dv
