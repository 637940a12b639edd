// The pages and the bottom bar of the patient record, built in code.
#include "U_frmPaciente_Manut.h"
#include "core/ComponentTag.h"
#include "core/U_dm.h"
#include "toolkit/DBCheckBox.h"
#include "toolkit/DBComboBox.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBImage.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/DBMemo.h"
#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace {

// Labels sit over their boxes, Delphi style: a caption row, then the box row.
class FormGrid {
public:
    FormGrid(QWidget* page, QGridLayout* grid) : m_page(page), m_grid(grid) {}

    template <typename Box>
    Box* add(Box* box, const QString& labelName, const QString& caption, int row, int column, int span = 1) {
        auto* label = new QLabel(caption, m_page);
        label->setObjectName(labelName);
        label->setBuddy(box);
        m_grid->addWidget(label, row * 2, column, 1, span);
        m_grid->addWidget(box, row * 2 + 1, column, 1, span);
        return box;
    }

private:
    QWidget* m_page;
    QGridLayout* m_grid;
};

dv::DBEdit* edit(QWidget* page, const char* name, dv::DataSource* source, const char* fieldName,
                 dv::CharCase charCase = dv::CharCase::Normal) {
    auto* e = new dv::DBEdit(page);
    e->setObjectName(QLatin1String(name));
    e->bind(source, QLatin1String(fieldName));
    e->setCharCase(charCase);
    return e;
}

dv::DBGrid* grid(QWidget* page, const char* name, dv::DataSource* source) {
    auto* g = new dv::DBGrid(page);
    g->setObjectName(QLatin1String(name));
    g->setDataSource(source);
    return g;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QString& hint = QString()) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setAutoDefault(false);
    return b;
}

QWidget* page(QTabWidget* tabs, const char* name, const QString& caption) {
    auto* w = new QWidget;
    w->setObjectName(QLatin1String(name));
    tabs->addTab(w, caption);
    return w;
}

} // namespace

void TfrmPaciente_Manut::buildDataPage() {
    PageControl1->setTabText(PageControl1->indexOf(TabSheet1), QStringLiteral("Dados do Paciente"));
    QWidget* p = TabSheet1;
    dv::DataSource* s = dsUpdate;
    auto* outer = new QHBoxLayout(p);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->setSpacing(14);
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(2);
    outer->addLayout(fields, 1);
    FormGrid g(p, fields);
    using dv::CharCase;

    // Entry order is creation order; the key box comes first.
    DBEditId =
        g.add(edit(p, "DBEditId", s, "paciente_id"), QStringLiteral("Label1"), QStringLiteral("ID"), 0, 0, 2);
    DBEditId->setReadOnly(true);
    DBEditNome = g.add(edit(p, "DBEditNome", s, "paciente_nome"), QStringLiteral("Label2"),
                       QStringLiteral("Nome"), 0, 2, 10);

    DBEditRg = g.add(edit(p, "DBEditRg", s, "paciente_rg", CharCase::Upper), QStringLiteral("Label3"),
                     QStringLiteral("Rg"), 1, 0, 3);
    DBEditCpf = g.add(edit(p, "DBEditCpf", s, "paciente_cpf", CharCase::Upper), QStringLiteral("Label4"),
                      QStringLiteral("CPF"), 1, 3, 3);
    DBComboSexo = new dv::DBComboBox(p);
    DBComboSexo->setObjectName(QStringLiteral("DBComboSexo"));
    DBComboSexo->addItems({QStringLiteral("M"), QStringLiteral("F")});
    DBComboSexo->bind(s, QStringLiteral("paciente_sexo"));
    g.add(DBComboSexo, QStringLiteral("Label5"), QStringLiteral("Sexo"), 1, 6, 2);
    DBEditProfissao = g.add(edit(p, "DBEditProfissao", s, "paciente_profissao"), QStringLiteral("Label6"),
                            QStringLiteral("Profissao"), 1, 8, 4);

    DBEditEndereco = g.add(edit(p, "DBEditEndereco", s, "paciente_endereco"), QStringLiteral("Label7"),
                           QStringLiteral("Endereço"), 2, 0, 7);
    DBEditNumero = g.add(edit(p, "DBEditNumero", s, "paciente_numero", CharCase::Upper),
                         QStringLiteral("Label8"), QStringLiteral("Número"), 2, 7, 2);
    // Upper case as entered: capitalizing them as names would turn "MG-12" into "Mg-12".
    for (dv::DBEdit* e : {DBEditRg, DBEditNumero})
        dv::setComponentTag(e, 1);
    DBEditComplemento = g.add(edit(p, "DBEditComplemento", s, "paciente_complemento"),
                              QStringLiteral("Label9"), QStringLiteral("Complemento"), 2, 9, 3);

    DBEditBairro = g.add(edit(p, "DBEditBairro", s, "paciente_bairro"), QStringLiteral("Label10"),
                         QStringLiteral("Bairro"), 3, 0, 4);
    DBEditCidade = g.add(edit(p, "DBEditCidade", s, "paciente_cidade"), QStringLiteral("Label11"),
                         QStringLiteral("Cidade"), 3, 4, 4);
    DBEditCep = g.add(edit(p, "DBEditCep", s, "paciente_cep", CharCase::Upper), QStringLiteral("Label12"),
                      QStringLiteral("Cep"), 3, 8, 2);
    DBLookupUF = new dv::DBLookupCombo(p);
    DBLookupUF->setObjectName(QStringLiteral("DBLookupUF"));
    DBLookupUF->bind(s, QStringLiteral("uf_id"));
    DBLookupUF->setLookup(dm().dsUF, QStringLiteral("uf_id"),
                          {QStringLiteral("uf_id"), QStringLiteral("uf_nome")},
                          {QStringLiteral("UF"), QStringLiteral("Nome")});
    DBLookupUF->setDisplayWidths({4, 24});
    g.add(DBLookupUF, QStringLiteral("Label13"), QStringLiteral("Estado"), 3, 10, 2);

    DBEditFone = g.add(edit(p, "DBEditFone", s, "paciente_fone", CharCase::Upper), QStringLiteral("Label14"),
                       QStringLiteral("Fone"), 4, 0, 3);
    DBEditCelular = g.add(edit(p, "DBEditCelular", s, "paciente_celular", CharCase::Upper),
                          QStringLiteral("Label15"), QStringLiteral("Celular"), 4, 3, 3);
    DBEditFoneComercial = g.add(edit(p, "DBEditFoneComercial", s, "paciente_fone_comercial", CharCase::Upper),
                                QStringLiteral("Label16"), QStringLiteral("Fone Comercial"), 4, 6, 3);
    DBDateNascimento = new dv::DBDateEdit(p);
    DBDateNascimento->setObjectName(QStringLiteral("DBDateNascimento"));
    DBDateNascimento->bind(s, QStringLiteral("paciente_data_nascimento"));
    g.add(DBDateNascimento, QStringLiteral("Label17"), QStringLiteral("Data Nascimento"), 4, 9, 3);
    DBDateCadastro = new dv::DBDateEdit(p);
    DBDateCadastro->setObjectName(QStringLiteral("DBDateCadastro"));
    DBDateCadastro->bind(s, QStringLiteral("paciente_data_cadastro"));
    g.add(DBDateCadastro, QStringLiteral("Label18"), QStringLiteral("Data Cadastro"), 5, 0, 3);

    DBEditEmail = g.add(edit(p, "DBEditEmail", s, "paciente_email"), QStringLiteral("Label19"),
                        QStringLiteral("Email"), 5, 3, 6);
    // An address stays as typed.
    dv::setComponentTag(DBEditEmail, 1);
    DBEditRegistro = g.add(edit(p, "DBEditRegistro", s, "paciente_registro"), QStringLiteral("Label20"),
                           QStringLiteral("Registro"), 5, 9, 3);

    DBEditOrgao = g.add(edit(p, "DBEditOrgao", s, "paciente_orgao"), QStringLiteral("Label21"),
                        QStringLiteral("Conv. Orgão"), 6, 0, 5);
    DBEditMatricula = g.add(edit(p, "DBEditMatricula", s, "paciente_matricula"), QStringLiteral("Label22"),
                            QStringLiteral("Matrícula"), 6, 5, 4);
    DBEditDependentes = g.add(edit(p, "DBEditDependentes", s, "paciente_num_dependentes"),
                              QStringLiteral("Label23"), QStringLiteral("Num Dependentes"), 6, 9, 3);

    DBLookupConvenio = new dv::DBLookupCombo(p);
    DBLookupConvenio->setObjectName(QStringLiteral("DBLookupConvenio"));
    DBLookupConvenio->bind(s, QStringLiteral("convenio_id"));
    DBLookupConvenio->setLookup(dm().dsConvenio, QStringLiteral("convenio_id"),
                                {QStringLiteral("convenio_nome"), QStringLiteral("convenio_id")},
                                {QStringLiteral("Convênio"), QStringLiteral("id")});
    DBLookupConvenio->setDisplayWidths({30, 6});
    g.add(DBLookupConvenio, QStringLiteral("Label24"), QStringLiteral("Convênio"), 7, 0, 6);
    DBEditTitular = g.add(edit(p, "DBEditTitular", s, "paciente_titular"), QStringLiteral("Label25"),
                          QStringLiteral("Titular"), 7, 6, 6);

    DBMemoAnotacao = new dv::DBMemo(p);
    DBMemoAnotacao->setObjectName(QStringLiteral("DBMemoAnotacao"));
    DBMemoAnotacao->bind(s, QStringLiteral("paciente_anotacao"));
    DBMemoAnotacao->setMinimumHeight(60);
    DBMemoAnotacao->setMaximumHeight(120);
    g.add(DBMemoAnotacao, QStringLiteral("Label26"), QStringLiteral("Anotaçao"), 8, 0, 12);

    DBCheckAtivo = new dv::DBCheckBox(QStringLiteral("Paciente Ativo"), p);
    DBCheckAtivo->setObjectName(QStringLiteral("DBCheckAtivo"));
    DBCheckAtivo->bind(s, QStringLiteral("paciente_ativo"));
    fields->addWidget(DBCheckAtivo, 18, 0, 1, 4);
    for (int c = 0; c < 12; ++c)
        fields->setColumnStretch(c, 1);
    fields->setRowStretch(17, 1);

    // The main photo beside the fields.
    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    GroupBoxFoto = new QGroupBox(QStringLiteral("Foto: 157px / 197px"), p);
    GroupBoxFoto->setObjectName(QStringLiteral("GroupBoxFoto"));
    auto* photoBox = new QVBoxLayout(GroupBoxFoto);
    photoBox->setContentsMargins(8, 8, 8, 8);
    Image1 = new dv::DBImage(GroupBoxFoto);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(157, 197);
    Image1->setCenter(true);
    Image1->setProportional(true);
    Image1->setStretch(true);
    Image1->setFrameShape(QFrame::StyledPanel);
    photoBox->addWidget(Image1, 0, Qt::AlignCenter);
    side->addWidget(GroupBoxFoto);
    Button4 = button(p, "Button4", QStringLiteral("Foto"), QStringLiteral("Insere foto"));
    side->addWidget(Button4, 0, Qt::AlignRight);
    side->addStretch(1);
    outer->addLayout(side);
    guard(Button4, &TfrmPaciente_Manut::Button4Click);
}

void TfrmPaciente_Manut::buildAnamnesisPage() {
    TabSheet2 = page(PageControl1, "TabSheet2", QStringLiteral("Anamnese do Paciente"));
    auto* v = new QVBoxLayout(TabSheet2);
    v->setContentsMargins(10, 10, 10, 10);
    auto* bar = new QHBoxLayout;
    Button1 = button(TabSheet2, "Button1", QStringLiteral("Refazer anamnese"));
    btnGerar = button(TabSheet2, "btnGerar", QStringLiteral("Gerar"));
    btnGerar->hide();
    bar->addWidget(Button1);
    bar->addStretch(1);
    v->addLayout(bar);
    wwDBGrid2 = grid(TabSheet2, "wwDBGrid2", dsAnamnesePaciente);
    wwDBGrid2->setCheckBoxField(QStringLiteral("anamnese_resposta"));
    wwDBGrid2->setFixedColumns(1);
    // Answers are generated, never typed in as new rows.
    wwDBGrid2->setAllowInsert(false);
    wwDBGrid2->setAllowDelete(false);
    v->addWidget(wwDBGrid2, 1);
    guard(Button1, &TfrmPaciente_Manut::Button1Click);
    guard(btnGerar, &TfrmPaciente_Manut::btnGerarClick);
}

void TfrmPaciente_Manut::buildPhotoPage() {
    TabSheet3 = page(PageControl1, "TabSheet3", QStringLiteral("Fotos do Paciente"));
    auto* h = new QHBoxLayout(TabSheet3);
    h->setContentsMargins(10, 10, 10, 10);
    h->setSpacing(12);
    auto* left = new QVBoxLayout;
    wwDBGrid4 = grid(TabSheet3, "wwDBGrid4", dsFoto);
    wwDBGrid4->setToolTip(QStringLiteral("Clique com o mouse sobre o título da foto para visualizar..."));
    wwDBGrid4->setReadOnly(true);
    wwDBGrid4->setMinimumWidth(300);
    wwDBGrid4->viewport()->installEventFilter(this);
    left->addWidget(wwDBGrid4, 1);
    auto* buttons = new QHBoxLayout;
    Button2 = button(TabSheet3, "Button2", QStringLiteral("Inserir Foto"));
    Button3 = button(TabSheet3, "Button3", QStringLiteral("Remove Foto"));
    btnVerFoto = button(TabSheet3, "btnVerFoto", QStringLiteral("Ver Foto"));
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    buttons->addWidget(btnVerFoto);
    buttons->addStretch(1);
    left->addLayout(buttons);
    h->addLayout(left, 2);

    GroupBox2 = new QGroupBox(QStringLiteral("Foto"), TabSheet3);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* v = new QVBoxLayout(GroupBox2);
    Image2 = new dv::DBImage(GroupBox2);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setCenter(true);
    Image2->setFrameShape(QFrame::StyledPanel);
    Image2->setMinimumSize(320, 300);
    v->addWidget(Image2, 1);
    auto* checks = new QHBoxLayout;
    CheckBox2 = new QCheckBox(QStringLiteral("Proporcional"), GroupBox2);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox1 = new QCheckBox(QStringLiteral("Centralizado"), GroupBox2);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    CheckBox3 = new QCheckBox(QStringLiteral("Ajustar"), GroupBox2);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    checks->addWidget(CheckBox2);
    checks->addWidget(CheckBox1);
    checks->addWidget(CheckBox3);
    checks->addStretch(1);
    v->addLayout(checks);
    h->addWidget(GroupBox2, 3);

    guard(Button2, &TfrmPaciente_Manut::Button2Click);
    guard(Button3, &TfrmPaciente_Manut::Button3Click);
    guard(btnVerFoto, &TfrmPaciente_Manut::btnVerFotoClick);
    guard(CheckBox1, &TfrmPaciente_Manut::CheckBox1Click);
    guard(CheckBox2, &TfrmPaciente_Manut::CheckBox2Click);
    guard(CheckBox3, &TfrmPaciente_Manut::CheckBox3Click);
}

void TfrmPaciente_Manut::buildOpenPages() {
    TabSheet4 = page(PageControl1, "TabSheet4", QStringLiteral("Tratamentos a serem feitos"));
    auto* v4 = new QVBoxLayout(TabSheet4);
    v4->setContentsMargins(10, 10, 10, 10);
    wwDBGrid3 = grid(TabSheet4, "wwDBGrid3", dsServicoFazer);
    wwDBGrid3->setReadOnly(true);
    wwDBGrid3->setCheckBoxField(QStringLiteral("consulta_aprovado"));
    v4->addWidget(wwDBGrid3);

    TabSheet5 = page(PageControl1, "TabSheet5", QStringLiteral("  Parcelas em aberto "));
    auto* v5 = new QVBoxLayout(TabSheet5);
    v5->setContentsMargins(10, 10, 10, 10);
    wwDBGrid5 = grid(TabSheet5, "wwDBGrid5", dsParcelas);
    wwDBGrid5->setReadOnly(true);
    wwDBGrid5->setCheckBoxField(QStringLiteral("parcela_quitada"));
    v5->addWidget(wwDBGrid5);
}

void TfrmPaciente_Manut::buildBottomBar() {
    // Beside the base's buttons, at the left of their bar.
    QBoxLayout* row = nullptr;
    for (QBoxLayout* l : findChildren<QBoxLayout*>())
        if (l->indexOf(BitBtn1) >= 0) row = l;
    QWidget* bar = BitBtn1->parentWidget() ? BitBtn1->parentWidget() : this;
    BitBtn3 = new QPushButton(QStringLiteral("Consultas"), bar);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setToolTip(QStringLiteral("Consultas do Paciente"));
    BitBtn3->setAutoDefault(false);
    BitBtn3->setMinimumSize(BitBtn2->minimumSize());
    lbParcelas = new QLabel(QStringLiteral("Existem parcelas em aberto"), bar);
    lbParcelas->setObjectName(QStringLiteral("lbParcelas"));
    lbParcelas->setStyleSheet(QStringLiteral("color: #ff0000; font-weight: bold;"));
    lbParcelas->hide();
    guard(BitBtn3, &TfrmPaciente_Manut::BitBtn3Click);
    if (row) {
        const int at = row->indexOf(btnAjuda) + 1;
        row->insertWidget(at, BitBtn3);
        row->insertSpacing(at + 1, 12);
        row->insertWidget(at + 2, lbParcelas);
    }
}
