#include "DocumentModel.h"
#include <QRegularExpression>

QString fillDocumentModel(const QString& model, const QHash<QString, QString>& values) {
    static const QRegularExpression field(QStringLiteral("\\{([A-Za-z_]+)\\}"));
    QString out;
    qsizetype last = 0;
    for (auto it = field.globalMatch(model); it.hasNext();) {
        const auto m = it.next();
        out += model.mid(last, m.capturedStart() - last);
        const QString name = m.captured(1).toLower();
        out += values.contains(name) ? values.value(name) : m.captured(0);
        last = m.capturedEnd();
    }
    return out + model.mid(last);
}
