#pragma once

class QWidget;

namespace dv {

class DataSource;

// Binds the data-aware controls that a form (.ui) declared with a `dataField`
// property and no data source: to the data source whose objectName the control's
// `dataSource` property names (looked up among root's children), or else to
// `fallback`. Controls already bound are left as they are. An unknown data source
// name is a programming error and throws PlainError naming the control.
//
// An edit box (dv::DBEdit) may also declare its letter case with a `charCase`
// property: "upper", "lower" or "normal"; any other value, or the property on another
// kind of widget, throws PlainError naming the widget.
//
//   <widget class="dv::DBEdit" name="DBEdit2">
//     <property name="dataField"><string>paciente_nome</string></property>
//   </widget>
//   <widget class="dv::DBEdit" name="DBEdit9">
//     <property name="dataField"><string>foto_titulo</string></property>
//     <property name="dataSource" stdset="0"><string>dsFoto</string></property>
//   </widget>
//   <widget class="dv::DBEdit" name="DBEditCep">
//     <property name="dataField"><string>paciente_cep</string></property>
//     <property name="charCase" stdset="0"><string>upper</string></property>
//   </widget>
void bindDataFields(QWidget* root, DataSource* fallback);

} // namespace dv
