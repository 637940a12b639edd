#include "ScreenRegistry.h"
#include "HelpPages.h"
#include <QWidget>

namespace dv {

namespace {
struct Row {
    const char* formName;
    const char* caption;
    ScreenKind kind;
};

// Every screen the opener can open, in the order it looks them up.
constexpr Row kScreens[] = {
    {"frmUsuario", "Usuários", ScreenKind::List},
    {"frmUsuario_Manut", "Manutenção de Usuário", ScreenKind::Dialog},
    {"frmModulo", "Módulos do Sistema", ScreenKind::List},
    {"frmModulo_Manut", "Manutenção do Módulo", ScreenKind::Dialog},
    {"frmModulo_Menu_Manut", "Manutenção do Menu do Sistema", ScreenKind::Dialog},
    {"frmBackup", "Backup do banco de Dados do Sistema", ScreenKind::Dialog},
    {"frmGrupo", "Grupo", ScreenKind::List},
    {"frmGrupo_Manut", "Manutenção do Grupo", ScreenKind::Dialog},
    {"frmServico", "Serviços", ScreenKind::List},
    {"frmServico_Manut", "Manutenção de Serviço", ScreenKind::Dialog},
    {"frmPaciente", "Pacientes", ScreenKind::List},
    {"frmPaciente_Manut", "Cadastro de Pacientes", ScreenKind::Dialog},
    {"frmContato", "Contato", ScreenKind::List},
    {"frmContato_Manut", "Manutenção de Contato", ScreenKind::Dialog},
    {"frmContasPagar", "Contas a Pagar", ScreenKind::List},
    {"frmContasPagar_Manut", "Contas a Pagar", ScreenKind::Dialog},
    {"frmConsulta", "Consultas do Paciente", ScreenKind::List},
    {"frmConsulta_Manut", "Consultas do Paciente", ScreenKind::Dialog},
    {"frmConvenio", "Convênio", ScreenKind::List},
    {"frmConvenio_Manut", "Manutenção de Convênio", ScreenKind::Dialog},
    {"frmAgenda_Consulta", "Agenda de Horários", ScreenKind::Dialog},
    {"frmAgenda_Manut", "Novo Agendamento", ScreenKind::Dialog},
    {"frmSelecaoContasReceber", "Contas a Receber", ScreenKind::Dialog},
    {"frmSelecaoContasRecebidas", "Contas Recebidas", ScreenKind::Dialog},
    {"frmEstoque", "Estoque de Produtos", ScreenKind::List},
    {"frmEstoque_Manut", "Manutenção de Estoque", ScreenKind::Dialog},
    {"frmIcone", "Icones", ScreenKind::List},
    {"frmIcone_Manut", "Icone Manutenção", ScreenKind::Dialog},
    {"frmDentista", "Dentista", ScreenKind::List},
    {"frmDentista_Manut", "Manutenção de Dentista", ScreenKind::Dialog},
    {"frmEmpresa", "Empresa", ScreenKind::List},
    {"frmEmpresa_Manut", "Manutenção de Empresa", ScreenKind::Dialog},
    {"frmDente", "Dentes", ScreenKind::List},
    {"frmDente_Manut", "Dente Manutenção", ScreenKind::Dialog},
    // Shown by the main window's "Pesquisa Ag." itself, without the opener.
    {"frmAgenda_Paciente", "Pesquisa Agenda", ScreenKind::FixedDialog},
};
} // namespace

ScreenRegistry::ScreenRegistry() {
    for (const Row& r : kScreens) {
        ScreenEntry e;
        e.formName = QString::fromUtf8(r.formName);
        e.className = QLatin1Char('T') + e.formName;
        e.caption = QString::fromUtf8(r.caption);
        e.kind = r.kind;
        m_entries.append(e);
    }
}

const ScreenEntry* ScreenRegistry::find(const QString& formName) const {
    for (const ScreenEntry& e : m_entries)
        if (e.formName == formName) return &e;
    return nullptr;
}

bool ScreenRegistry::setFactory(const QString& formName, ScreenFactory factory) {
    for (ScreenEntry& e : m_entries)
        if (e.formName == formName) {
            e.factory = std::move(factory);
            return true;
        }
    return false;
}

void ScreenRegistry::add(ScreenEntry entry) {
    if (entry.className.isEmpty()) entry.className = QLatin1Char('T') + entry.formName;
    for (ScreenEntry& e : m_entries)
        if (e.formName == entry.formName) {
            e = std::move(entry);
            return;
        }
    m_entries.append(std::move(entry));
}

QWidget* ScreenRegistry::create(const QString& formName, QWidget* parent) const {
    const ScreenEntry* e = find(formName);
    if (!e || !e->factory) return nullptr;
    QWidget* screen = e->factory(parent);
    if (screen && screen->objectName().isEmpty()) screen->setObjectName(e->formName);
    if (screen) setHelpTopic(screen, e->formName);
    installHelpKey();
    return screen;
}

} // namespace dv
