#pragma once
#include "ScreenContext.h"
#include <QDialog>
#include <functional>
#include <memory>

class QPushButton;
class QTabWidget;

namespace dv {
class DataSource;
class Dataset;
class Field;
} // namespace dv

// The base of every maintenance (edit) screen: the modal dialog in which one record
// of the list screen's query (the context's edited record) is created or changed. It
// gives every such screen the "Dados " page and Salvar / Fechar / Imprimir / Ajuda,
// the focus highlight, masks chosen by the field's label, capitalization of names on
// exit, the required and CPF/CNPJ checks, the save question and the permission-driven
// hiding of buttons.
//
// Nothing typed is lost without a word. "Salvar" is enabled while any data source of
// the screen (dsUpdate or a detail's) is in Insert or Edit. Closing (Fechar, Escape,
// the close box) with a changed row pending asks whether to save it: Sim saves as
// Salvar does and the screen stays open if that fails, Não discards every pending
// row, Cancelar keeps the screen open. Rows in Insert or Edit without a change are
// cancelled on closing without a question. "Ajuda" opens help/<formName>.html of the
// application folder, else help/index.html, and says so when neither can be opened.
//
// A screen puts its boxes (bound to dsUpdate, or to its own detail data sources) on
// TabSheet1 and on further pages of PageControl1, all created with the screen (or a
// widget of it) as parent, in the order the user meets them:
//
//   TfrmPaciente_Manut::TfrmPaciente_Manut(QWidget* parent)
//       : TfrmCadastro(parent, QStringLiteral("frmPaciente_Manut"), QStringLiteral("Paciente")) {
//       auto* form = new QFormLayout(TabSheet1);
//       auto* nome = new dv::DBEdit(TabSheet1);
//       nome->setObjectName(QStringLiteral("DBEdit2"));
//       nome->bind(dsUpdate, QStringLiteral("paciente_nome"));
//       form->addRow(QStringLiteral("Nome"), nome);
//       auto* TabSheet2 = new QWidget;
//       TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
//       PageControl1->addTab(TabSheet2, QStringLiteral("Endereço"));
//       auto* email = new dv::DBEdit(TabSheet2);
//       dv::setComponentTag(email, 1);       // kept as typed; not a key box either
//       BitBtn4->show();                     // the screen prints
//   }
//
// "Creation order", in which the base visits components, is a depth-first walk of
// the screen's children, each parent's children in the order they were created (or
// given to it). The boxes that the base manages (edit boxes below) are: data-bound
// edit boxes, memos, rich-text, date and calculator boxes, plain line edits and
// text edits, lookup combos, combo boxes and date-time pickers.
//
// The key box is an untagged data-bound edit box (DBEdit) that comes first in its
// container's tab order (the focus chain, so setTabOrder counts): it is shown
// disabled in the button-face colour. Every container counts, so the first DBEdit
// of a later page or of a group box is disabled as well: tag it, or let another
// kind of box (lookup, date, combo) come first there, when it must stay editable.
//
// The base watches the focus of every edit box with an event filter (the colours,
// capitalization on exit). A screen's own focus work on a box runs as well: connect
// to the box's signals, use a filter object of its own, or override eventFilter and
// call the base.
//
// dsUpdate is bound to the current list query when the screen is shown, unless the
// screen tagged it (setComponentTag(dsUpdate, 1)) and bound it to SQL_Update or to a
// query of its own. A box or field with a non-zero tag is left alone by the automatic
// treatment: a tagged field gets no mask by its label (field->setTag(1)); a tagged box
// is not capitalized, not a key box, not CPF/CNPJ-checked and keeps its letter case.
//
// Screens are opened through dv::screenContext().openScreen(formName, args), which
// shows them modally and frees them once closed (nothing else deletes them); the
// arguments reach applyArguments() before the screen is shown.
class TfrmCadastro : public QDialog, public dv::HostedScreen {
    Q_OBJECT
public:
    TfrmCadastro(QWidget* parent, const QString& formName, const QString& caption);
    ~TfrmCadastro() override;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;   // "Dados "
    QPushButton* BitBtn1; // Salvar
    QPushButton* BitBtn2; // Fechar
    QPushButton* BitBtn4; // Imprimir (hidden unless the screen shows it)
    QPushButton* btnAjuda;
    dv::DataSource* dsUpdate;
    dv::Dataset* SQL_Update;

    const QString& formName() const;
    // The dataset being edited (dsUpdate's).
    dv::Dataset* editedDataset() const;
    // The first managed box (creation order) bound to the field; nullptr when none.
    QWidget* boxOfField(const dv::Field* field) const;
    // A box can take the focus when it and every container up to the screen are
    // shown and enabled (a box on a page not in front cannot).
    bool canTakeFocus(const QWidget* box) const;
    // The next shown page of PageControl1, after the last the first.
    void selectNextPage();

    // ---- handlers a screen may extend (call the base) ----
    // Runs once, just before the first FormShow, when the screen's boxes all exist.
    virtual void FormCreate();
    virtual void FormShow();
    // Called every time the screen becomes the active window; the base's work is
    // done the first time only.
    virtual void FormActivate();
    virtual void FormClose();
    // False keeps the screen open.
    virtual bool FormCloseQuery();
    // Screens run their own checks first, then call the base. A check that fails
    // shows its message and throws dv::Abort (or returns without calling the base).
    // The base itself throws dv::Abort after a failed required or document check,
    // and lets a database error of the post through (the record stays in insert or
    // edit); the button's click gives either to the error translator, which shows
    // the database error and nothing for the cancellation.
    virtual void BitBtn1Click();
    // The datasets of the screen's data sources that are in Insert or Edit, each once,
    // in creation order (dsUpdate's first).
    QList<dv::Dataset*> pendingDatasets() const;
    // The checks "Salvar" makes, for a screen that writes its row at once (a chosen
    // picture saved with the row): the focused box's text is written to its field,
    // then the required and document checks run; a failed check shows its message
    // and throws dv::Abort.
    void checkBeforePost();
    virtual void BitBtn2Click();
    virtual void BitBtn4Click();
    virtual void dsUpdateDataChange();
    void btnAjudaClick();
    // A maintenance screen opened with arguments overrides this; the base has none.
    void applyArguments(const dv::ScreenArgs&) override {}

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    struct Private;
    std::unique_ptr<Private> d;

    void leaveBox(QWidget* box);
    void saveKeyPressed();
    void writeFocusedBox();
    void checkBeforeSave();
    void saveDataSources();
    void cancelPending();
};
