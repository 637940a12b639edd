#include "ToolkitTexts.h"
#include <array>

namespace dv {

namespace {
struct Row {
    ToolkitText id;
    const char* portuguese;
    const char* english;
    const char* spanish;
};

constexpr int textCount = static_cast<int>(ToolkitText::Count);

// One row per text, in the order of ToolkitText.
// clang-format off
constexpr std::array<Row, textCount> texts = {{
    {ToolkitText::NavFirst, "Primeiro registro", "First record", "Primer registro"},
    {ToolkitText::NavPrior, "Registro anterior", "Prior record", "Registro anterior"},
    {ToolkitText::NavNext, "Próximo registro", "Next record", "Registro siguiente"},
    {ToolkitText::NavLast, "Último registro", "Last record", "Último registro"},
    {ToolkitText::NavInsert, "Inserir registro", "Insert record", "Insertar registro"},
    {ToolkitText::NavDelete, "Excluir registro", "Delete record", "Eliminar registro"},
    {ToolkitText::NavEdit, "Editar registro", "Edit record", "Editar registro"},
    {ToolkitText::NavPost, "Gravar alterações", "Post edit", "Grabar cambios"},
    {ToolkitText::NavCancel, "Cancelar alterações", "Cancel edit", "Cancelar cambios"},
    {ToolkitText::NavRefresh, "Atualizar dados", "Refresh data", "Actualizar datos"},
    {ToolkitText::DeleteRecordQuestion, "Excluir o registro?", "Delete record?", "¿Eliminar el registro?"},
    {ToolkitText::SearchLabel, "Pesquisar:", "Search:", "Buscar:"},
    {ToolkitText::FilterTitle, "Filtro", "Filter", "Filtro"},
    {ToolkitText::FilterFields, "Campos", "Fields", "Campos"},
    {ToolkitText::FilterValue, "Valor do campo", "Field value", "Valor del campo"},
    {ToolkitText::FilterMatchType, "Tipo de pesquisa", "Match type", "Tipo de búsqueda"},
    {ToolkitText::FilterMatchExact, "Valor exato", "Exact match", "Valor exacto"},
    {ToolkitText::FilterMatchStart, "Início do campo", "Start of field", "Inicio del campo"},
    {ToolkitText::FilterMatchAnywhere, "Qualquer parte do campo", "Any part of field", "Cualquier parte del campo"},
    {ToolkitText::FilterCaseSensitive, "Diferenciar maiúsculas e minúsculas", "Case sensitive", "Distinguir mayúsculas y minúsculas"},
    {ToolkitText::FilterByValue, "Por valor", "By value", "Por valor"},
    {ToolkitText::FilterByRange, "Por faixa", "By range", "Por rango"},
    {ToolkitText::FilterRangeFrom, "De", "From", "Desde"},
    {ToolkitText::FilterRangeTo, "Até", "To", "Hasta"},
    {ToolkitText::FilterFieldOrder, "Ordem dos campos", "Field order", "Orden de los campos"},
    {ToolkitText::FilterOrderAlphabetic, "Alfabética", "Alphabetical", "Alfabético"},
    {ToolkitText::FilterOrderDataset, "Da consulta", "Query order", "De la consulta"},
    {ToolkitText::FilterClear, "&Limpar", "&Clear", "&Limpiar"},
    {ToolkitText::FilterClearAll, "Limpar &todos", "Clear &all", "Limpiar &todos"},
    {ToolkitText::FilterCriteriaHelp, "Use \"or\" e \"and\" entre palavras, \"null\" para campos vazios e \"%\" como curinga.", "Use \"or\" and \"and\" between words, \"null\" for empty fields and \"%\" as a wildcard.", "Use \"or\" y \"and\" entre palabras, \"null\" para campos vacíos y \"%\" como comodín."},
    {ToolkitText::FilterNoRows, "Nenhum registro atende ao filtro.", "No record matches the filter.", "Ningún registro cumple el filtro."},
    {ToolkitText::LocateTitle, "Localizar", "Locate", "Localizar"},
    {ToolkitText::LocateField, "Campo", "Field", "Campo"},
    {ToolkitText::LocateValue, "Valor a localizar", "Value to find", "Valor a localizar"},
    {ToolkitText::LocateFirst, "&Primeiro", "&First", "&Primero"},
    {ToolkitText::LocateNext, "Pró&ximo", "&Next", "&Siguiente"},
    {ToolkitText::LocateNotFound, "Registro não encontrado.", "Record not found.", "Registro no encontrado."},
    {ToolkitText::ButtonOk, "OK", "OK", "OK"},
    {ToolkitText::ButtonCancel, "Cancelar", "Cancel", "Cancelar"},
    {ToolkitText::ButtonClose, "&Fechar", "&Close", "&Cerrar"},
    {ToolkitText::CalendarToday, "Hoje", "Today", "Hoy"},
    {ToolkitText::CalendarClear, "Limpar", "Clear", "Limpiar"},
    {ToolkitText::CalendarInvalidDate, "Data inválida.", "Invalid date.", "Fecha inválida."},
}};
// clang-format on

constexpr bool inOrderAndComplete() {
    for (int i = 0; i < textCount; ++i) {
        const Row& r = texts[i];
        if (static_cast<int>(r.id) != i || !r.portuguese || !r.english || !r.spanish)
            return false;
    }
    return true;
}
static_assert(inOrderAndComplete(), "one row per toolkit text, in enum order, with all three languages");

enum class Set { Portuguese, English, Spanish };
Set active = Set::English;
} // namespace

bool selectToolkitTexts(const QString& language) {
    if (language == QLatin1String("pt_BR"))
        active = Set::Portuguese;
    else if (language == QLatin1String("en"))
        active = Set::English;
    else if (language == QLatin1String("es"))
        active = Set::Spanish;
    else
        return false;
    return true;
}

void resetToolkitTexts() {
    active = Set::English;
}

QString toolkitText(ToolkitText id) {
    const int i = static_cast<int>(id);
    if (i < 0 || i >= textCount)
        return QString();
    const Row& r = texts[i];
    switch (active) {
    case Set::Portuguese:
        return QString::fromUtf8(r.portuguese);
    case Set::Spanish:
        return QString::fromUtf8(r.spanish);
    case Set::English:
        break;
    }
    return QString::fromUtf8(r.english);
}

} // namespace dv
