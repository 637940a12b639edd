#include "ToolkitTexts.h"
#include <array>

namespace dv {

namespace {
constexpr int textCount = static_cast<int>(ToolkitText::Count);
using TextSet = std::array<const char*, textCount>;

// In the order of ToolkitText.
constexpr TextSet portuguese = {
    "Primeiro registro", "Registro anterior", "Próximo registro", "Último registro",
    "Inserir registro", "Excluir registro", "Editar registro", "Gravar alterações",
    "Cancelar alterações", "Atualizar dados", "Excluir o registro?",
    "Pesquisar:",
    "Filtro", "Campos", "Valor do campo", "Tipo de pesquisa", "Valor exato", "Início do campo",
    "Qualquer parte do campo", "Diferenciar maiúsculas e minúsculas", "Por valor", "Por faixa", "De",
    "Até", "Ordem dos campos", "Alfabética", "Da consulta", "&Limpar", "Limpar &todos",
    "Use \"or\" e \"and\" entre palavras, \"null\" para campos vazios e \"%\" como curinga.",
    "Nenhum registro atende ao filtro.",
    "Localizar", "Campo", "Valor a localizar", "&Primeiro", "Pró&ximo", "Registro não encontrado.",
    "OK", "Cancelar", "&Fechar",
    "Hoje", "Limpar", "Data inválida.",
};

constexpr TextSet english = {
    "First record", "Prior record", "Next record", "Last record",
    "Insert record", "Delete record", "Edit record", "Post edit",
    "Cancel edit", "Refresh data", "Delete record?",
    "Search:",
    "Filter", "Fields", "Field value", "Match type", "Exact match", "Start of field",
    "Any part of field", "Case sensitive", "By value", "By range", "From",
    "To", "Field order", "Alphabetical", "Query order", "&Clear", "Clear &all",
    "Use \"or\" and \"and\" between words, \"null\" for empty fields and \"%\" as a wildcard.",
    "No record matches the filter.",
    "Locate", "Field", "Value to find", "&First", "&Next", "Record not found.",
    "OK", "Cancel", "&Close",
    "Today", "Clear", "Invalid date.",
};

constexpr TextSet spanish = {
    "Primer registro", "Registro anterior", "Registro siguiente", "Último registro",
    "Insertar registro", "Eliminar registro", "Editar registro", "Grabar cambios",
    "Cancelar cambios", "Actualizar datos", "¿Eliminar el registro?",
    "Buscar:",
    "Filtro", "Campos", "Valor del campo", "Tipo de búsqueda", "Valor exacto", "Inicio del campo",
    "Cualquier parte del campo", "Distinguir mayúsculas y minúsculas", "Por valor", "Por rango", "Desde",
    "Hasta", "Orden de los campos", "Alfabético", "De la consulta", "&Limpiar", "Limpiar &todos",
    "Use \"or\" y \"and\" entre palabras, \"null\" para campos vacíos y \"%\" como comodín.",
    "Ningún registro cumple el filtro.",
    "Localizar", "Campo", "Valor a localizar", "&Primero", "&Siguiente", "Registro no encontrado.",
    "OK", "Cancelar", "&Cerrar",
    "Hoy", "Limpiar", "Fecha inválida.",
};

constexpr bool complete(const TextSet& set) {
    for (const char* text : set)
        if (!text)
            return false;
    return true;
}
static_assert(complete(portuguese) && complete(english) && complete(spanish),
              "every toolkit text needs its translation in each set");

const TextSet* active = &english;
} // namespace

bool selectToolkitTexts(const QString& language) {
    if (language == QLatin1String("pt_BR"))
        active = &portuguese;
    else if (language == QLatin1String("en"))
        active = &english;
    else if (language == QLatin1String("es"))
        active = &spanish;
    else
        return false;
    return true;
}

void resetToolkitTexts() {
    active = &english;
}

QString toolkitText(ToolkitText id) {
    const int i = static_cast<int>(id);
    if (i < 0 || i >= textCount)
        return QString();
    return QString::fromUtf8((*active)[i]);
}

} // namespace dv
