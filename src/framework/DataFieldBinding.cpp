#include "DataFieldBinding.h"
#include "core/db/DataSource.h"
#include "core/db/DbErrors.h"
#include "toolkit/DBEdit.h"
#include "toolkit/FieldLink.h"
#include <QWidget>

namespace dv {

namespace {

void applyCharCase(QWidget* w) {
    const QVariant declared = w->property("charCase");
    if (!declared.isValid()) return;
    auto* edit = qobject_cast<DBEdit*>(w);
    const QString value = declared.toString();
    if (edit && value == QLatin1String("upper"))
        edit->setCharCase(CharCase::Upper);
    else if (edit && value == QLatin1String("lower"))
        edit->setCharCase(CharCase::Lower);
    else if (!edit || value != QLatin1String("normal"))
        throw PlainError(QStringLiteral("Letter case '") + value + QStringLiteral("' of '") +
                         w->objectName() + QStringLiteral("' not understood"));
}

} // namespace

void bindDataFields(QWidget* root, DataSource* fallback) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        applyCharCase(w);
        auto* control = dynamic_cast<DataControl*>(w);
        if (!control || control->dataSource() || control->dataField().isEmpty()) continue;
        DataSource* source = fallback;
        const QString named = w->property("dataSource").toString();
        if (!named.isEmpty()) {
            source = root->findChild<DataSource*>(named);
            if (!source)
                throw PlainError(QStringLiteral("Data source '") + named + QStringLiteral("' of '") +
                                 w->objectName() + QStringLiteral("' not found"));
        }
        control->bind(source, control->dataField());
    }
}

} // namespace dv
