#include "FieldDef.h"

namespace dv {

FieldDef FieldDef::column(const QString& name, const QString& label, int width) {
    FieldDef def;
    def.name = name;
    def.displayLabel = label;
    def.displayWidth = width;
    return def;
}

FieldDef FieldDef::hidden(const QString& name) {
    return column(name).asHidden();
}

FieldDef FieldDef::lookup(const QString& name, const QString& label, int width, Dataset* from,
                          const QString& keys, const QString& lookupKeys, const QString& result) {
    FieldDef def = column(name, label, width);
    def.kind = FieldKind::Lookup;
    def.lookupDataset = from;
    def.keyFields = keys;
    def.lookupKeyFields = lookupKeys;
    def.lookupResultField = result;
    return def;
}

FieldDef FieldDef::calculated(const QString& name, const QString& label, int width, FieldType type) {
    FieldDef def = column(name, label, width);
    def.kind = FieldKind::Calculated;
    def.type = type;
    return def;
}

FieldDef FieldDef::withType(FieldType t) const {
    FieldDef def = *this;
    def.type = t;
    return def;
}

FieldDef FieldDef::withSize(int characters) const {
    FieldDef def = *this;
    def.size = characters;
    return def;
}

FieldDef FieldDef::withTag(int value) const {
    FieldDef def = *this;
    def.tag = value;
    return def;
}

FieldDef FieldDef::withMask(const QString& mask) const {
    FieldDef def = *this;
    def.editMask = mask;
    return def;
}

FieldDef FieldDef::withFormat(const QString& format) const {
    FieldDef def = *this;
    def.displayFormat = format;
    return def;
}

FieldDef FieldDef::asRequired(bool value) const {
    FieldDef def = *this;
    def.required = value;
    return def;
}

FieldDef FieldDef::asReadOnly() const {
    FieldDef def = *this;
    def.readOnly = true;
    return def;
}

FieldDef FieldDef::asHidden() const {
    FieldDef def = *this;
    def.visible = false;
    return def;
}

} // namespace dv
