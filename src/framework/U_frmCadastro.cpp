#include "U_frmCadastro.h"
#include "CadastroIcons.h"
#include "DataFieldBinding.h"
#include "HelpPages.h"
#include "U_frmRelatorio.h"
#include "core/CodeTexts.h"
#include "core/ComponentTag.h"
#include "core/DialogService.h"
#include "core/ErrorTranslator.h"
#include "core/FieldUtils.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include "framework/ScreenContext.h"
#include "toolkit/Colors.h"
#include "toolkit/DBCalcEdit.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/DBNavigator.h"
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFileInfo>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

using dv::DataControl;
using dv::Dataset;
using dv::DataSource;
using dv::Field;

namespace {

enum class Kind { DataSource, EditBox, Grid, Navigator };

struct Component {
    QObject* object;
    Kind kind;
    QWidget* widget() const { return qobject_cast<QWidget*>(object); }
};

bool isEditBox(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QDateTimeEdit*>(w) || qobject_cast<const dv::DBLookupCombo*>(w);
}

// The parts of composite widgets (a combo's line edit, a grid's editors, a lookup's
// drop-down) are not components of the screen.
bool isComposite(const QWidget* w) {
    return qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const dv::DBNavigator*>(w);
}

void collect(const QObject* parent, QList<Component>& out) {
    for (QObject* child : parent->children()) {
        if (qobject_cast<DataSource*>(child)) {
            out.append({child, Kind::DataSource});
            continue;
        }
        auto* w = qobject_cast<QWidget*>(child);
        if (!w) continue;
        if (w->isWindow()) continue; // dialogs and pop-ups the screen opens
        if (isEditBox(w)) {
            out.append({w, Kind::EditBox});
            continue;
        }
        if (qobject_cast<dv::DBGrid*>(w)) {
            out.append({w, Kind::Grid});
            continue;
        }
        if (qobject_cast<dv::DBNavigator*>(w)) {
            out.append({w, Kind::Navigator});
            continue;
        }
        if (isComposite(w)) continue;
        collect(w, out);
    }
}

DataControl* controlOf(QWidget* w) {
    return dynamic_cast<DataControl*>(w);
}

// The data-bound edit box proper: the calculator box is a number box of its own kind.
dv::DBEdit* dbEditOf(QWidget* w) {
    auto* e = qobject_cast<dv::DBEdit*>(w);
    return e && !qobject_cast<dv::DBCalcEdit*>(w) ? e : nullptr;
}

bool isReadOnlyBox(QWidget* w) {
    if (auto* e = qobject_cast<dv::DBEdit*>(w)) return e->isReadOnly(); // by choice, not by state
    if (auto* l = qobject_cast<dv::DBLookupCombo*>(w)) return l->isReadOnly();
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        // Data-bound date boxes and the like: their own read-only flag.
        const QVariant own = w->property("readOnly");
        return controlOf(w) && own.isValid() ? own.toBool() : e->isReadOnly();
    }
    if (auto* t = qobject_cast<QPlainTextEdit*>(w)) {
        const QVariant own = w->property("readOnly");
        return own.isValid() ? own.toBool() : t->isReadOnly();
    }
    if (auto* t = qobject_cast<QTextEdit*>(w)) {
        const QVariant own = w->property("readOnly");
        return own.isValid() ? own.toBool() : t->isReadOnly();
    }
    if (auto* s = qobject_cast<QAbstractSpinBox*>(w)) return s->isReadOnly();
    return false;
}

void setRole(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(role, c);
    w->setPalette(p);
}

QColor systemColor(int index) {
    return dv::colorFromNumber(qint64(0x80000000u) | index);
}
QColor normalBackground() {
    return systemColor(5);
}

bool isEditing(const Dataset* d) {
    return d && d->isEditing();
}

bool isEmptyValue(const Field* f) {
    return f->isNull() || f->asString().trimmed().isEmpty();
}

QString message(const char* key) {
    return dv::sharedMessage(QStringLiteral("Cadastro"), QLatin1String(key));
}

// A message added after the language files were installed: the file's text when it has
// one, else the Portuguese one.
QString message(const char* key, const char* portuguese) {
    const QString text = message(key);
    return text.isEmpty() ? QString::fromUtf8(portuguese) : text;
}

// The format of the shared messages: each "%s" takes the next argument, "%%" is a
// percent sign.
QString formatted(const QString& format, const QStringList& arguments) {
    QString out;
    qsizetype used = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == QLatin1Char('%') && i + 1 < format.size()) {
            const QChar next = format[i + 1];
            if (next == QLatin1Char('%')) {
                out += QLatin1Char('%');
                ++i;
                continue;
            }
            if (next == QLatin1Char('s') && used < arguments.size()) {
                out += arguments[used++];
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}
QString formatted(const QString& format, const QString& argument) {
    return formatted(format, QStringList{argument});
}

QString flag(const char* name) {
    Dataset* p = dv::screenContext().permissionRow();
    if (!p || !p->isActive() || p->isEmpty()) return QString();
    Field* f = p->findField(QLatin1String(name));
    return f ? f->asString().trimmed() : QString();
}

// First in the tab order of its container: the first widget of the focus chain after
// the container that lies inside it and takes the focus by Tab belongs to this box.
bool firstInTabOrder(const QWidget* box) {
    QWidget* container = box->parentWidget();
    if (!container) return false;
    for (QWidget* w = container->nextInFocusChain(); w && w != container; w = w->nextInFocusChain()) {
        if (!container->isAncestorOf(w) || !(w->focusPolicy() & Qt::TabFocus)) continue;
        QWidget* top = w;
        while (top->parentWidget() != container)
            top = top->parentWidget();
        return top == box;
    }
    return false;
}

} // namespace

struct TfrmCadastro::Private {
    QString formName;
    int page = 0; // the page in front, to tell which way a change of page went
    bool created = false;
    bool activatedOnce = false;
    bool closing = false;
    bool saveAnswered = false; // Sim to the closing question: Salvar asks no more
    // The widget that receives a box's focus events (itself or its focus proxy).
    QHash<QObject*, QPointer<QWidget>> watched;
    QSet<QWidget*> capitalized;

    QList<Component> components(const QObject* screen) const {
        QList<Component> list;
        collect(screen, list);
        return list;
    }
};

TfrmCadastro::TfrmCadastro(QWidget* parent, const QString& formName, const QString& caption)
    : QDialog(parent), d(std::make_unique<Private>()) {
    d->formName = formName;
    setObjectName(formName);
    setWindowTitle(caption);
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);

    SQL_Update = new Dataset(dmExists() ? dm().ADOConexao() : nullptr, QStringLiteral("SQL_Update"), this);
    dsUpdate = new DataSource(nullptr, QStringLiteral("dsUpdate"), this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setDocumentMode(false);
    TabSheet1 = new QWidget(PageControl1);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Dados "));
    // Qt's Ctrl+Tab and Ctrl+PgDn walk onto hidden pages as well (a new patient's
    // anamnesis): such a change goes on to the next shown page the same way.
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        const int count = PageControl1->count();
        if (index < 0 || PageControl1->isTabVisible(index) || count < 2) {
            d->page = index;
            return;
        }
        const int step = index == (d->page + count - 1) % count ? -1 : 1;
        for (int i = 1; i < count; ++i) {
            const int next = ((index + step * i) % count + count) % count;
            if (PageControl1->isTabVisible(next) && PageControl1->isTabEnabled(next)) {
                PageControl1->setCurrentIndex(next);
                return;
            }
        }
    });
    layout->addWidget(PageControl1, 1);

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("PanelBotoes"));
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(8);
    auto makeButton = [bar](const char* name, const QString& text, const QString& hint,
                            dv::CadastroIcon icon) {
        auto* b = new QPushButton(dv::cadastroIcon(icon), text, bar);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setMinimumWidth(100);
        b->setMinimumHeight(30);
        b->setIconSize(QSize(16, 16));
        b->setAutoDefault(false);
        return b;
    };
    btnAjuda = makeButton("btnAjuda", QStringLiteral("Ajuda"), dv::text("Clique aqui para obter ajuda"),
                          dv::CadastroIcon::Help);
    BitBtn4 = makeButton("BitBtn4", QStringLiteral("Imprimir"), QStringLiteral("Imprimir"),
                         dv::CadastroIcon::Print);
    BitBtn1 = makeButton("BitBtn1", QStringLiteral("Salvar"), QStringLiteral("Salvar (Ctrl+S)"),
                         dv::CadastroIcon::Save);
    BitBtn2 =
        makeButton("BitBtn2", QStringLiteral("Fechar"), QStringLiteral("Fechar"), dv::CadastroIcon::Close);
    BitBtn1->setDefault(true);
    BitBtn4->setVisible(false);
    buttons->addWidget(btnAjuda);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn4);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    layout->addWidget(bar);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { dv::guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { dv::guarded([this] { BitBtn2Click(); }); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { dv::guarded([this] { BitBtn4Click(); }); });
    connect(btnAjuda, &QPushButton::clicked, this, [this] { dv::guarded([this] { btnAjudaClick(); }); });
    auto* saveKey = new QShortcut(QKeySequence::Save, this);
    connect(saveKey, &QShortcut::activated, this, [this] { dv::guarded([this] { saveKeyPressed(); }); });
    connect(dsUpdate, &DataSource::dataChanged, this, [this] { dsUpdateDataChange(); });
    connect(dsUpdate, &DataSource::stateChanged, this, [this] { dsUpdateDataChange(); });

    setMinimumSize(480, 320);
    BitBtn1->setEnabled(false);
}

TfrmCadastro::~TfrmCadastro() {
    // The boxes go after this; their focus events must not reach a half-destroyed base.
    for (auto it = d->watched.cbegin(); it != d->watched.cend(); ++it)
        if (!it.value().isNull()) it.key()->removeEventFilter(this);
    // Datasets closing with the children below still signal their data sources; no
    // handler of this screen may run by then (the screen's own connections included).
    for (dv::DataSource* source : findChildren<dv::DataSource*>())
        disconnect(source, nullptr, this, nullptr);
}

const QString& TfrmCadastro::formName() const {
    return d->formName;
}

Dataset* TfrmCadastro::editedDataset() const {
    return dsUpdate->dataset();
}

QWidget* TfrmCadastro::boxOfField(const Field* field) const {
    if (!field) return nullptr;
    for (const Component& c : d->components(this)) {
        if (c.kind != Kind::EditBox) continue;
        DataControl* dc = controlOf(c.widget());
        if (dc && dc->field() == field) return c.widget();
    }
    return nullptr;
}

bool TfrmCadastro::canTakeFocus(const QWidget* box) const {
    return box && box->isVisibleTo(this) && box->isEnabledTo(this) && box->focusPolicy() != Qt::NoFocus &&
           (box->isVisible() || !isVisible());
}

void TfrmCadastro::selectNextPage() {
    const int count = PageControl1->count();
    for (int step = 1; step <= count; ++step) {
        const int i = (PageControl1->currentIndex() + step) % count;
        if (PageControl1->isTabVisible(i) && PageControl1->isTabEnabled(i)) {
            PageControl1->setCurrentIndex(i);
            return;
        }
    }
}

// ---- creating and showing ----

void TfrmCadastro::FormCreate() {
    // Boxes a form declared with a dataField: to dsUpdate unless they name another source.
    dv::bindDataFields(this, dsUpdate);
    // A detail's pending row enables Salvar as well as the record's own.
    for (const Component& c : d->components(this))
        if (c.kind == Kind::DataSource && c.object != dsUpdate)
            connect(static_cast<DataSource*>(c.object), &DataSource::stateChanged, this,
                    [this] { dsUpdateDataChange(); });
    const QColor normal = normalBackground();
    const QColor grey = systemColor(17);
    for (const Component& c : d->components(this)) {
        if (c.kind != Kind::EditBox) continue;
        QWidget* box = c.widget();
        setRole(box, QPalette::Base, normal);
        if (isReadOnlyBox(box)) setRole(box, QPalette::Text, grey);
        QWidget* target = box->focusProxy() ? box->focusProxy() : box;
        if (!d->watched.contains(target)) {
            d->watched.insert(target, box);
            target->installEventFilter(this);
        }
    }
}

void TfrmCadastro::FormShow() {
    // 1. The screen's texts in the current language.
    dv::applyLanguageFile(this);

    // 2. The record the list screen has put into insert or edit.
    if (dv::componentTag(dsUpdate) == 0) dsUpdate->setDataset(dv::screenContext().editedRecord());

    const bool noNew = flag("form_novo") == QLatin1String("N");
    const bool noEdit = flag("form_editar") == QLatin1String("N");
    const bool noDelete = flag("form_excluir") == QLatin1String("N");

    // 3. Every component, in creation order.
    const QColor buttonFace = systemColor(15);
    for (const Component& c : d->components(this)) {
        switch (c.kind) {
        case Kind::DataSource: {
            Dataset* ds = static_cast<DataSource*>(c.object)->dataset();
            if (!isEditing(ds)) break;
            for (Field* f : ds->fields()) {
                if (f->index() == 0 || dv::componentTag(f) != 0) continue;
                const QString mask = dv::editMaskFor(*f);
                if (!mask.isEmpty()) f->setEditMask(mask);
            }
            break;
        }
        case Kind::EditBox: {
            QWidget* box = c.widget();
            if (dv::DBEdit* e = dbEditOf(box)) {
                if (dv::componentTag(e) != 0) break;
                d->capitalized.insert(e);
                if (firstInTabOrder(e)) {
                    setRole(e, QPalette::Base, buttonFace);
                    e->setEnabled(false);
                }
            } else if (auto* l = qobject_cast<dv::DBLookupCombo*>(box)) {
                if (dv::componentTag(l) == 0) l->setCharCase(dv::CharCase::Normal);
            }
            break;
        }
        case Kind::Grid:
            if (noEdit || noNew) {
                auto* g = static_cast<dv::DBGrid*>(c.object);
                g->setReadOnly(true);
                g->setAllowInsert(false);
                g->setAllowDelete(false);
            }
            break;
        case Kind::Navigator:
            if (noDelete || noEdit || noNew) c.widget()->setEnabled(false);
            break;
        }
    }
    // Boxes that showed their field before it had its mask show it masked now.
    for (const Component& c : d->components(this)) {
        auto* e = qobject_cast<dv::DBEdit*>(c.object);
        if (e && e->editMask().isEmpty() && e->field() &&
            e->field()->editMask() != e->activeMask().systemMask())
            e->reload();
    }

    // 4. Buttons the group may not use.
    if (noNew || noEdit) BitBtn1->setVisible(false);
    if (flag("form_imprimir") == QLatin1String("N")) BitBtn4->setVisible(false);

    dsUpdateDataChange();
}

void TfrmCadastro::FormActivate() {
    if (d->activatedOnce) return;
    d->activatedOnce = true;
    PageControl1->setCurrentWidget(TabSheet1);
    Dataset* ds = editedDataset();
    if (!ds || ds->fieldCount() == 0) return;
    const bool firstIsId = ds->field(0)->displayLabel().toUpper().contains(QLatin1String("ID"));
    QWidget* box = boxOfField(ds->field(firstIsId ? 1 : 0));
    // A box that cannot take the focus (the disabled key box) is simply not focused.
    if (canTakeFocus(box)) box->setFocus(Qt::OtherFocusReason);
}

void TfrmCadastro::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        dv::guarded([this] {
            if (!d->created) {
                d->created = true;
                dv::ensureHelpTopic(this);
                FormCreate();
            }
            FormShow();
        });
        dv::centreOnMainWindow(this);
        // Platforms that do not activate windows still get the first activation.
        QTimer::singleShot(0, this, [this] {
            if (!d->activatedOnce && isVisible()) dv::guarded([this] { FormActivate(); });
        });
    }
    QDialog::showEvent(event);
}

void TfrmCadastro::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        dv::guarded([this] { FormActivate(); });
}

// ---- focus ----

bool TfrmCadastro::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        QWidget* box = d->watched.value(watched);
        if (box) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (event->type() == QEvent::FocusIn) {
                setRole(box, QPalette::Base, dv::colorFromNumber(dv::colors::focusHighlight));
            } else if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                // Another window (a message) coming to the front is not leaving the box.
                dv::guarded([this, box] { leaveBox(box); });
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The box's exit work: its value is written, a name is capitalized, the colour is
// the normal one again.
void TfrmCadastro::leaveBox(QWidget* box) {
    if (d->capitalized.contains(box)) {
        DataControl* dc = controlOf(box);
        Field* f = dc ? dc->field() : nullptr;
        if (f && isEditing(f->dataset()) && f->isData() && !f->isBlob()) {
            // Numbers and dates are written by the box itself when it is left (and
            // have nothing to capitalize); text must be in the field first.
            const bool text =
                f->dataType() == dv::FieldType::String || f->dataType() == dv::FieldType::Unknown;
            if (text) dc->updateRecord();
            const QString value = f->isNull() ? QString() : f->asString();
            const QString capitalized = dv::capitalizeName(value);
            if (!value.isEmpty() && capitalized != value) f->setAsString(capitalized);
        }
    }
    setRole(box, QPalette::Base, normalBackground());
}

// ---- saving ----

void TfrmCadastro::BitBtn1Click() {
    // 1. The box being left finishes its exit work and writes its text.
    QWidget* before = focusWidget();
    BitBtn1->setFocus(Qt::OtherFocusReason);
    if (QWidget* box = before ? d->watched.value(before) : nullptr) {
        // Where no focus event came (a window that is not active), do it here.
        if (DataControl* dc = controlOf(box)) dc->updateRecord();
        leaveBox(box);
    }

    // 2. Required and document checks.
    checkBeforeSave();

    // 3. The save question for every data source with a pending record.
    saveDataSources();
    if (d->closing) return;

    // 4. Back to the first box.
    if (Dataset* ds = editedDataset(); ds && ds->fieldCount() > 0) {
        QWidget* box = boxOfField(ds->field(0));
        if (canTakeFocus(box)) box->setFocus(Qt::OtherFocusReason);
    }
}

// The save key does what clicking Salvar does, from any box and from a grid cell
// being typed in: the cell's text is in its field first, which may be the change
// that enables Salvar. A screen without the right to save has no Salvar to press.
void TfrmCadastro::saveKeyPressed() {
    if (BitBtn1->isHidden()) return;
    for (dv::DBGrid* grid : findChildren<dv::DBGrid*>())
        grid->commitOpenCell();
    if (BitBtn1->isEnabled()) BitBtn1->click();
}

void TfrmCadastro::checkBeforeSave() {
    auto& dialogs = dv::services().dialogs();
    for (const Component& c : d->components(this)) {
        if (c.kind != Kind::EditBox) continue;
        QWidget* box = c.widget();
        DataControl* dc = controlOf(box);
        Field* f = dc ? dc->field() : nullptr;
        if (!f) continue;

        if (box->isEnabledTo(this) && isEditing(f->dataset()) && f->isRequired() && isEmptyValue(f)) {
            setRole(box, QPalette::Base, dv::colorFromNumber(dv::colors::requiredMissing));
            dialogs.warning(formatted(message("sMsgCampoObrigatorio"), f->displayLabel()));
            if (canTakeFocus(box))
                box->setFocus(Qt::OtherFocusReason);
            else
                selectNextPage();
            throw dv::Abort();
        }

        dv::DBEdit* e = dbEditOf(box);
        if (!e || dv::componentTag(e) != 0) continue;
        const dv::DocumentKind doc = dv::documentKindOf(*f);
        if (doc == dv::DocumentKind::None) continue;
        const QString number = e->typedText().trimmed();
        if (number.isEmpty()) {
            dialogs.information(message(doc == dv::DocumentKind::Cpf ? "sMsgCampoCPF" : "sMsgCampoCNPJ"));
            continue;
        }
        const bool valid = doc == dv::DocumentKind::Cpf ? dv::checkCpf(number) : dv::checkCnpj(number);
        if (valid) continue;
        if (canTakeFocus(e)) {
            e->setFocus(Qt::OtherFocusReason);
        } else {
            dialogs.information(
                message(doc == dv::DocumentKind::Cpf ? "sMsgCampoCPFValida" : "sMsgCampoCNPJValida"));
            selectNextPage();
        }
        throw dv::Abort();
    }
}

QList<Dataset*> TfrmCadastro::pendingDatasets() const {
    QList<Dataset*> pending;
    for (const Component& c : d->components(this)) {
        if (c.kind != Kind::DataSource) continue;
        Dataset* ds = static_cast<DataSource*>(c.object)->dataset();
        if (isEditing(ds) && !pending.contains(ds)) pending.append(ds);
    }
    return pending;
}

void TfrmCadastro::saveDataSources() {
    bool discard = false;
    // A master posts its details' pending rows first; what is still pending is asked
    // about in turn.
    for (Dataset* ds : pendingDatasets()) {
        if (!isEditing(ds)) continue;
        if (d->saveAnswered || dv::services().dialogs().confirmation(message("sMsgSalvar"))) {
            ds->post();
        } else {
            ds->cancel();
            discard = true;
        }
    }
    // The screen closes once every data source has been asked.
    if (discard) close();
}

void TfrmCadastro::dsUpdateDataChange() {
    BitBtn1->setEnabled(!pendingDatasets().isEmpty());
}

// ---- closing ----

void TfrmCadastro::BitBtn2Click() {
    close();
}

// The text of the focused box reaches its field, as leaving the box would do.
void TfrmCadastro::checkBeforePost() {
    writeFocusedBox();
    checkBeforeSave();
}

void TfrmCadastro::writeFocusedBox() {
    QWidget* focused = focusWidget();
    QWidget* box = focused ? d->watched.value(focused) : nullptr;
    if (DataControl* dc = box ? controlOf(box) : nullptr) dc->updateRecord();
}

// Details first: a master cancelled first would move and post them.
void TfrmCadastro::cancelPending() {
    const QList<Dataset*> pending = pendingDatasets();
    for (auto it = pending.crbegin(); it != pending.crend(); ++it)
        if (isEditing(*it)) (*it)->cancel();
}

bool TfrmCadastro::FormCloseQuery() {
    writeFocusedBox();
    auto changed = [this] {
        for (Dataset* ds : pendingDatasets())
            if (ds->isModified()) return true;
        return false;
    };
    if (changed()) {
        const auto answer = dv::services().dialogs().question(
            message("sMsgSalvarAoFechar", "Existem alterações não salvas. Deseja salvá-las?"));
        if (answer == dv::DialogService::Answer::Cancel) return false;
        if (answer == dv::DialogService::Answer::Yes) {
            // Salvar's checks and the screen's own save work; a failure keeps the screen open.
            d->saveAnswered = true;
            try {
                BitBtn1Click();
            } catch (...) {
                d->saveAnswered = false;
                throw;
            }
            d->saveAnswered = false;
            if (changed()) return false;
        }
    }
    // What is left was not changed, or the user chose to discard it.
    cancelPending();
    return true;
}

void TfrmCadastro::FormClose() {}

void TfrmCadastro::closeEvent(QCloseEvent* event) {
    if (d->closing) {
        QDialog::closeEvent(event);
        return;
    }
    bool allowed = false;
    dv::guarded([&] { allowed = FormCloseQuery(); });
    if (!allowed) {
        event->ignore();
        return;
    }
    dv::guarded([this] { FormClose(); });
    d->closing = true;
    QDialog::closeEvent(event); // hides through reject()
    if (!event->isAccepted()) d->closing = false;
}

void TfrmCadastro::reject() {
    if (d->closing) {
        QDialog::reject();
        return;
    }
    // Escape is Fechar.
    dv::guarded([this] { BitBtn2Click(); });
}

// ---- print and help ----

void TfrmCadastro::BitBtn4Click() {
    dv::showReportPicker(d->formName, this);
}

// The screen's own page of the help, else its index.
void TfrmCadastro::btnAjudaClick() {
    dv::openHelpPage(d->formName);
}
