#include "ClinicalScreens.h"
#include "OdontogramaWidget.h"
#include "U_frmAgenda_Consulta.h"
#include "U_frmAgenda_Manut.h"
#include "U_frmAgenda_Paciente.h"
#include "U_frmAniversario.h"
#include "U_frmAnonimizacao.h"
#include "U_frmConfirmacao.h"
#include "U_frmConsulta.h"
#include "U_frmConsulta_Manut.h"
#include "U_frmDocumentoModelo.h"
#include "U_frmDocumentoModelo_Manut.h"
#include "U_frmMedicamento.h"
#include "U_frmMedicamento_Manut.h"
#include "U_frmPaciente.h"
#include "U_frmPaciente_Documentos.h"
#include "U_frmPaciente_Manut.h"
#include "U_frmRetorno.h"
#include "framework/ScreenRegistry.h"

namespace dv {
void registerClinicalScreens(ScreenRegistry& r) {
    OdontogramaPlace::registerTexts();
    r.setFactory(QStringLiteral("frmPaciente"), [](QWidget* p) { return new TfrmPaciente(p); });
    r.setFactory(QStringLiteral("frmPaciente_Manut"), [](QWidget* p) { return new TfrmPaciente_Manut(p); });
    r.setFactory(QStringLiteral("frmConsulta"), [](QWidget* p) { return new TfrmConsulta(p); });
    r.setFactory(QStringLiteral("frmConsulta_Manut"), [](QWidget* p) { return new TfrmConsulta_Manut(p); });
    r.setFactory(QStringLiteral("frmAgenda_Consulta"), [](QWidget* p) { return new TfrmAgenda_Consulta(p); });
    r.setFactory(QStringLiteral("frmAgenda_Manut"), [](QWidget* p) { return new TfrmAgenda_Manut(p); });
    r.setFactory(QStringLiteral("frmAgenda_Paciente"), [](QWidget* p) { return new TfrmAgenda_Paciente(p); });
    r.add({QStringLiteral("frmConfirmacao"), QString(), QStringLiteral("Confirmação de Consultas"),
           ScreenKind::Dialog, [](QWidget* p) { return new TfrmConfirmacao(p); }});
    r.add({QStringLiteral("frmRetorno"), QString(), QStringLiteral("Retorno de Pacientes"),
           ScreenKind::Dialog, [](QWidget* p) { return new TfrmRetorno(p); }});
    r.add({QStringLiteral("frmAniversario"), QString(), QStringLiteral("Aniversariantes"), ScreenKind::Dialog,
           [](QWidget* p) { return new TfrmAniversario(p); }});
    r.add({QStringLiteral("frmDocumentoModelo"), QStringLiteral("TfrmDocumentoModelo"),
           QStringLiteral("Modelos de Documentos"), ScreenKind::List,
           [](QWidget* p) { return new TfrmDocumentoModelo(p); }});
    r.add({QStringLiteral("frmDocumentoModelo_Manut"), QStringLiteral("TfrmDocumentoModelo_Manut"),
           QStringLiteral("Cadastro de Modelo de Documento"), ScreenKind::Dialog,
           [](QWidget* p) { return new TfrmDocumentoModelo_Manut(p); }});
    r.add({QStringLiteral("frmMedicamento"), QStringLiteral("TfrmMedicamento"),
           QStringLiteral("Medicamentos"), ScreenKind::List,
           [](QWidget* p) { return new TfrmMedicamento(p); }});
    r.add({QStringLiteral("frmMedicamento_Manut"), QStringLiteral("TfrmMedicamento_Manut"),
           QStringLiteral("Cadastro de Medicamento"), ScreenKind::Dialog,
           [](QWidget* p) { return new TfrmMedicamento_Manut(p); }});
    r.add({QStringLiteral("frmPaciente_Documentos"), QStringLiteral("TfrmPaciente_Documentos"),
           QStringLiteral("Documentos do Paciente"), ScreenKind::Dialog,
           [](QWidget* p) { return new TfrmPaciente_Documentos(p); }});
    r.add({QStringLiteral("frmAnonimizacao"), QString(), QStringLiteral("Anonimização de Pacientes"),
           ScreenKind::Dialog, [](QWidget* p) { return new TfrmAnonimizacao(p); }});
}
} // namespace dv
