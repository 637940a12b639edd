#include "MessageTemplate.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "framework/ScreenContext.h"
#include <QPlainTextEdit>
#include <QPushButton>

namespace dv::messages {

namespace {

QString storedText(const QString& name) {
    auto c = dm().ADOConexao()->query(
        QStringLiteral("select mensagem_texto from mensagem_modelo where mensagem_nome = :nome"),
        {Param{QStringLiteral("nome"), ParamType::Text, name}});
    return c->next() && !c->isNull(0) ? QString::fromUtf8(c->utf8(0)) : QString();
}

// Whether the user's group may change the screen's message (its edit right).
bool mayEdit(const QString& formName) {
    Dataset* rights = screenContext().permissionRow();
    if (!rights || !rights->isActive() || !rights->locate(QStringLiteral("form_nome"), formName)) return true;
    return rights->fieldByName(QStringLiteral("form_editar"))->asString().trimmed().toUpper() !=
           QLatin1String("N");
}

} // namespace

MessageTemplate::MessageTemplate(const QString& name, QPlainTextEdit* text, QPushButton* save,
                                 QWidget* screen)
    : QObject(screen), m_name(name), m_text(text), m_save(save), m_screen(screen) {
    connect(m_save, &QPushButton::clicked, this, [this] { guarded([this] { this->save(); }); });
}

void MessageTemplate::load() {
    m_text->setPlainText(storedText(m_name));
    const bool editable = mayEdit(m_screen->objectName());
    m_text->setReadOnly(!editable);
    m_save->setEnabled(editable);
}

bool MessageTemplate::save() {
    const QString body = m_text->toPlainText().trimmed();
    if (body.isEmpty()) {
        services().dialogs().warning(dv::text("Digite o texto da mensagem antes de salvar."));
        return false;
    }
    auto* db = dm().ADOConexao();
    const Params params{Param{QStringLiteral("texto"), ParamType::Text, body},
                        Param{QStringLiteral("nome"), ParamType::Text, m_name}};
    if (db->execute(
            QStringLiteral("update mensagem_modelo set mensagem_texto = :texto where mensagem_nome = :nome"),
            params) == 0)
        db->execute(QStringLiteral(
                        "insert into mensagem_modelo (mensagem_texto, mensagem_nome) values (:texto, :nome)"),
                    params);
    services().dialogs().information(dv::text("Mensagem salva."));
    return true;
}

bool MessageTemplate::mayClose() {
    // A failure while asking must not hold the screen open.
    bool close = true;
    guarded([&] {
        if (m_text->isReadOnly() || m_text->toPlainText().trimmed() == storedText(m_name).trimmed()) return;
        switch (services().dialogs().question(dv::text("A mensagem foi alterada. Deseja salvá-la?"))) {
        case DialogService::Answer::Yes:
            close = save();
            break;
        case DialogService::Answer::No:
            break;
        case DialogService::Answer::Cancel:
            close = false;
            break;
        }
    });
    return close;
}

} // namespace dv::messages
