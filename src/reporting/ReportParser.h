#pragma once
#include "ReportModel.h"
#include <QByteArray>
#include <QString>

namespace dv::report {

// Reads a report project: the file relatorio/Dentrivale.rav of the application
// folder, XML in UTF-8. A file that is not well formed, or that breaks a rule
// below, raises ReportError naming the file, the line and what is wrong.
//
//   <reportProject version="1" font="Arial">
//     <style name="titulo" size="15" bold="true" color="#1F3B57"/>   reusable text styles
//     <band name="Cabecalho" height="24"> items </band>               bands shared by pages
//     <report name="Relat_Pacientes">                                  full name, unique
//       <description>Shown by the report picker.</description>
//       <page name="Relat_Pacientes.Page1" size="A4" orientation="landscape"
//             margins="12 12 12 12" columns="1" column-gap="0">       margins: top right bottom left
//         <count name="qtd" reset="report"/>                          aggregates of the page:
//         <sum name="total" field="valor" reset="porCidade"/>         reset per group or report
//         <pageHeader use="Cabecalho"/>                               every page, at the top
//         <title height="14"> items </title>                          first page, under the page header
//         <columnHeader height="7"> items </columnHeader>             every page, above the rows
//         <group name="porCidade" field="paciente_cidade">            a new group when the value changes
//           <groupHeader height="7"> items </groupHeader>
//           <groupFooter height="7"> items </groupFooter>
//         </group>
//         <detail connection="RV_Paciente" rows="all" height="6" stripe="#EEF2F6"> items </detail>
//         <noData height="8"> items </noData>                         instead of the rows when there are none
//         <summary height="10"> items </summary>                      after the last row
//         <pageFooter use="Rodape"/>                                  every page, at the bottom
//       </page>
//     </report>
//   </reportProject>
//
// Lengths are millimetres. A report's pages print one after another, each on a new
// sheet; a page without a detail prints its bands once. rows="current" prints only
// the connection's current row. With columns > 1 the detail rows fill the columns
// left to right, then the next line (labels); the other bands span the page.
// Every band may carry fill="#rrggbb" (background).
//
// Items (x/w and the line's x1/x2 may be a share of the band's width: "100%"; an item
// may be anchored with right="..." instead of x; x and right without w stretch it):
//   <text x y w h style size bold italic underline color align="left|center|right"
//         valign="top|middle|bottom" wrap="true" shrink="true" fill="#..">template</text>
//   <line x1 y1 x2 y2 width="0.25" color="#.."/>
//   <box x y w h fill="#.." border="#.." width radius/>
//   <picture name="Bitmap1" x y w h field="RvEmpresa.empresa_logo" | file="Odontograma.bmp"
//            fit="proportional|stretch|center" border="#.."/>
//
// Text templates: literal text with references in braces, "{{" and "}}" for braces.
//   {Connection.field}         the field's value; on the detail connection the row being
//                              printed (in a title the first, in a group footer or summary the
//                              last), on any other connection its current row
//   {Connection.field|format}  date (dd/mm/yyyy), date:MASK (the display-format mask, e.g.
//                              date:dd/mm, date:mmmm), datetime, time, money (R$ 1.234,56),
//                              number (1.234,56), number:MASK (#,##0.0), integer, flag (Sim/Não),
//                              upper, month (the month's name), cpf, cnpj, cep
//   {total}                    an aggregate of the page (formats as above apply)
//   {page} {pages} {printDate} {printTime} {report}
//   [ ... ]                    left out when every reference inside is empty; "[[" "]]" for brackets
// Without a format a field shows as the screens show it: dates dd/mm/yyyy, money 1.234,56.
class ReportParser {
public:
    // sourceName names the file in messages.
    static Project parse(const QByteArray& data, const QString& sourceName);
    static Project parseFile(const QString& fileName);

    // Parses a text template; ReportError with the reason when it is malformed.
    static TextTemplate parseTemplate(const QString& source);
    // Whether a format keyword is known.
    static bool isKnownFormat(const QString& format);
};

} // namespace dv::report
