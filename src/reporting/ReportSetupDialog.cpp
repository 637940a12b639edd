#include "ReportSetupDialog.h"
#include "core/CodeTexts.h"
#include "core/Localization.h"
#include "core/Services.h"
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace dv {

ReportSetupDialog::ReportSetupDialog(QPrinter& printer, const QString& reportName, QWidget* parent)
    : QDialog(parent), m_printer(printer), m_reportName(reportName) {
    setObjectName(QStringLiteral("ReportSetupDialog"));
    setWindowTitle(dv::text("Opções de Impressão"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* destino = new QGroupBox(dv::text("Destino do relatório"), this);
    rbImpressora = new QRadioButton(dv::text("&Impressora"), destino);
    rbVisualizar = new QRadioButton(dv::text("&Visualizar na tela"), destino);
    rbArquivo = new QRadioButton(dv::text("&Arquivo PDF"), destino);
    rbImpressora->setObjectName(QStringLiteral("rbImpressora"));
    rbVisualizar->setObjectName(QStringLiteral("rbVisualizar"));
    rbArquivo->setObjectName(QStringLiteral("rbArquivo"));
    m_destination = new QButtonGroup(this);
    m_destination->addButton(rbImpressora, Printer);
    m_destination->addButton(rbVisualizar, Preview);
    m_destination->addButton(rbArquivo, PdfFile);
    auto* destinoLayout = new QVBoxLayout(destino);
    destinoLayout->addWidget(rbImpressora);
    destinoLayout->addWidget(rbVisualizar);
    destinoLayout->addWidget(rbArquivo);

    auto* impressora = new QGroupBox(dv::text("Impressora"), this);
    lbImpressora = new QLabel(impressora);
    lbImpressora->setObjectName(QStringLiteral("lbImpressora"));
    auto* btnSetup = new QPushButton(dv::text("&Configurar impressora..."), impressora);
    btnSetup->setObjectName(QStringLiteral("btnConfigurar"));
    edCopias = new QSpinBox(impressora);
    edCopias->setObjectName(QStringLiteral("edCopias"));
    edCopias->setRange(1, 999);
    edCopias->setValue(qMax(1, printer.copyCount()));
    cbIntercalar = new QCheckBox(dv::text("Intercalar cópias"), impressora);
    cbIntercalar->setObjectName(QStringLiteral("cbIntercalar"));
    cbIntercalar->setChecked(printer.collateCopies());
    cbFrenteVerso = new QComboBox(impressora);
    cbFrenteVerso->setObjectName(QStringLiteral("cbFrenteVerso"));
    cbFrenteVerso->addItem(dv::text("Não"), int(QPrinter::DuplexNone));
    cbFrenteVerso->addItem(dv::text("Virar na borda longa"), int(QPrinter::DuplexLongSide));
    cbFrenteVerso->addItem(dv::text("Virar na borda curta"), int(QPrinter::DuplexShortSide));
    cbFrenteVerso->setCurrentIndex(qMax(0, cbFrenteVerso->findData(int(printer.duplex()))));
    auto* impressoraLayout = new QFormLayout(impressora);
    auto* nome = new QHBoxLayout;
    nome->addWidget(lbImpressora, 1);
    nome->addWidget(btnSetup);
    impressoraLayout->addRow(dv::text("Nome:"), nome);
    impressoraLayout->addRow(dv::text("Cópias:"), edCopias);
    impressoraLayout->addRow(QString(), cbIntercalar);
    impressoraLayout->addRow(dv::text("Frente e verso:"), cbFrenteVerso);
    m_printerOnly = {btnSetup, edCopias, cbIntercalar, cbFrenteVerso};

    auto* arquivo = new QGroupBox(dv::text("Arquivo"), this);
    edArquivo = new QLineEdit(arquivo);
    edArquivo->setObjectName(QStringLiteral("edArquivo"));
    auto* btnArquivo = new QToolButton(arquivo);
    btnArquivo->setText(QStringLiteral("..."));
    btnArquivo->setToolTip(dv::text("Escolher o arquivo"));
    auto* arquivoLayout = new QHBoxLayout(arquivo);
    arquivoLayout->addWidget(edArquivo, 1);
    arquivoLayout->addWidget(btnArquivo);
    m_fileOnly = {edArquivo, btnArquivo};

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(dialogTexts().ok, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(dialogTexts().cancel, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(destino);
    layout->addWidget(impressora);
    layout->addWidget(arquivo);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    connect(buttons, &QDialogButtonBox::accepted, this, &ReportSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ReportSetupDialog::reject);
    connect(btnSetup, &QPushButton::clicked, this, &ReportSetupDialog::printerSetup);
    connect(btnArquivo, &QToolButton::clicked, this, &ReportSetupDialog::chooseFile);
    connect(m_destination, &QButtonGroup::idClicked, this, &ReportSetupDialog::updateEnabled);

    QString safe = reportName;
    safe.replace(QRegularExpression(QStringLiteral("[^\\w\\-]")), QStringLiteral("_"));
    edArquivo->setText(QDir::home().filePath(safe + QStringLiteral(".pdf")));
    rbVisualizar->setChecked(true);
    showPrinter();
    updateEnabled();
}

ReportSetupDialog::Destination ReportSetupDialog::destination() const {
    return Destination(m_destination->checkedId());
}

void ReportSetupDialog::setDestination(Destination d) {
    m_destination->button(d)->setChecked(true);
    updateEnabled();
}

QString ReportSetupDialog::fileName() const {
    return edArquivo->text().trimmed();
}
void ReportSetupDialog::setFileName(const QString& fileName) {
    edArquivo->setText(fileName);
}

void ReportSetupDialog::showPrinter() {
    const QString name =
        m_printer.outputFormat() == QPrinter::PdfFormat ? QString() : m_printer.printerName();
    lbImpressora->setText(name.isEmpty() ? dv::text("(nenhuma impressora instalada)") : name);
}

void ReportSetupDialog::updateEnabled() {
    for (QWidget* w : m_printerOnly)
        w->setEnabled(destination() != PdfFile);
    for (QWidget* w : m_fileOnly)
        w->setEnabled(destination() == PdfFile);
}

void ReportSetupDialog::printerSetup() {
    m_printer.setCopyCount(edCopias->value());
    m_printer.setCollateCopies(cbIntercalar->isChecked());
    m_printer.setDuplex(QPrinter::DuplexMode(cbFrenteVerso->currentData().toInt()));
    QPrintDialog dialog(&m_printer, this);
    dialog.setWindowTitle(dv::text("Configurar impressora"));
    if (dialog.exec() != QDialog::Accepted) return;
    edCopias->setValue(qMax(1, m_printer.copyCount()));
    cbIntercalar->setChecked(m_printer.collateCopies());
    cbFrenteVerso->setCurrentIndex(qMax(0, cbFrenteVerso->findData(int(m_printer.duplex()))));
    showPrinter();
}

void ReportSetupDialog::chooseFile() {
    FileDialogRequest r;
    r.caption = dv::text("Salvar relatório");
    r.filter = dv::text("Arquivo PDF (*.pdf)|*.pdf");
    r.defaultSuffix = QStringLiteral("pdf");
    r.fileName = fileName();
    const QString chosen = services().fileDialogs().saveFile(r);
    if (!chosen.isEmpty()) edArquivo->setText(chosen);
}

void ReportSetupDialog::accept() {
    if (destination() == PdfFile && fileName().isEmpty()) {
        services().dialogs().warning(dv::text("Informe o nome do arquivo PDF."));
        edArquivo->setFocus();
        return;
    }
    m_printer.setCopyCount(edCopias->value());
    m_printer.setCollateCopies(cbIntercalar->isChecked());
    m_printer.setDuplex(QPrinter::DuplexMode(cbFrenteVerso->currentData().toInt()));
    QDialog::accept();
}

} // namespace dv
