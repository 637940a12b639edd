#include "DialogTexts.h"

namespace dv {

namespace {
DialogTexts portuguese() {
    return {QStringLiteral("Atenção"),      QStringLiteral("Erro"),
            QStringLiteral("Informação"),   QStringLiteral("Confirmar"),
            QStringLiteral("&Sim"),         QStringLiteral("&Não"),
            QStringLiteral("OK"),           QStringLiteral("Cancelar"),
            QStringLiteral("&Ajuda"),       QStringLiteral("Ajuda não disponível"),
            QStringLiteral("Ajuda"),        QStringLiteral("&Abortar"),
            QStringLiteral("&Repetir"),     QStringLiteral("&Ignorar"),
            QStringLiteral("&Todos"),       QStringLiteral("Nã&o a Todos"),
            QStringLiteral("Sim a &Todos"), QStringLiteral("&Fechar")};
}

DialogTexts english() {
    return {QStringLiteral("Warning"),     QStringLiteral("Error"),
            QStringLiteral("Information"), QStringLiteral("Confirm"),
            QStringLiteral("&Yes"),        QStringLiteral("&No"),
            QStringLiteral("OK"),          QStringLiteral("Cancel"),
            QStringLiteral("&Help"),       QStringLiteral("No help available"),
            QStringLiteral("Help"),        QStringLiteral("&Abort"),
            QStringLiteral("&Retry"),      QStringLiteral("&Ignore"),
            QStringLiteral("&All"),        QStringLiteral("N&o to All"),
            QStringLiteral("Yes to &All"), QStringLiteral("&Close")};
}

DialogTexts spanish() {
    return {QStringLiteral("Advertencia"), QStringLiteral("Error"),
            QStringLiteral("Información"), QStringLiteral("Confirmar"),
            QStringLiteral("&Sí"),         QStringLiteral("&No"),
            QStringLiteral("OK"),          QStringLiteral("Cancelar"),
            QStringLiteral("&Ayuda"),      QStringLiteral("No hay ayuda disponible"),
            QStringLiteral("Ayuda"),       QStringLiteral("&Abortar"),
            QStringLiteral("&Rever"),      QStringLiteral("&Ignorar"),
            QStringLiteral("&Todas"),      QStringLiteral("N&o a todo"),
            QStringLiteral("Sí a &todo"),  QStringLiteral("&Cerrar")};
}
} // namespace

std::optional<DialogTexts> DialogTexts::forLanguage(const QString& code) {
    if (code == QLatin1String("pt_BR")) return portuguese();
    if (code == QLatin1String("en")) return english();
    if (code == QLatin1String("es")) return spanish();
    return std::nullopt;
}

// The toolkit's defaults are the English texts.
DialogTexts DialogTexts::builtIn() {
    return english();
}

} // namespace dv
