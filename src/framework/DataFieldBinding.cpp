#include "DataFieldBinding.h"
#include "core/db/DataSource.h"
#include "core/db/DbErrors.h"
#include "toolkit/FieldLink.h"
#include <QWidget>

namespace dv {

void bindDataFields(QWidget* root, DataSource* fallback) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
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
