#pragma once
// The application with the treatment catalogue's screens: icons, teeth, services
// and plans, opened from their lists as a user would.
#include "../shell/AccessFixture.h"
#include "core/db/Engine.h"
#include "registries/CatalogueScreens.h"
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace dv::test {

inline LoggedIn::Options catalogueOptions() {
    LoggedIn::Options o;
    o.screens = [](ScreenRegistry& r) { registerCatalogueScreens(r); };
    return o;
}

// A picture file of a flat colour, in the given format; its bytes.
inline QByteArray writePicture(const QString& path, const char* format, QColor color,
                               QSize size = QSize(29, 29)) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    image.save(path, format);
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A file holding the first half of another: a picture cut off in the middle.
inline void writeCutOff(const QString& path, const QByteArray& whole) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(whole.left(whole.size() / 2));
}

class CatalogueApp {
public:
    // `sql` runs on the restored installation database before the case.
    explicit CatalogueApp(const QStringList& sql = {})
        : app(sharedApp(QStringLiteral("catalogue"), catalogueOptions, sql)) {}

    LoggedIn& app;
    ScriptedDialogs& dialogs() { return app.s.dialogs; }
    Connection& db() { return app.db(); }

    template <class List> List* openList(const QString& formName) {
        app.opener().open(formName);
        return qobject_cast<List*>(app.opener().openScreen(formName));
    }
    // Runs `work` on the record the list's "Novo" (row 0) or "Alterar" on the row
    // whose `key` is `id` opens; closes it afterwards.
    template <class Record, class List>
    bool withRecord(List* list, const QString& key, const QVariant& id,
                    const std::function<void(Record*)>& work) {
        return inModal<Record>(
            [&] {
                if (!id.isValid()) {
                    list->btnNovoClick();
                } else if (list->SQL_Consulta->locate(key, id)) {
                    list->btnEditarClick();
                }
            },
            work);
    }

    QStringList texts(const QString& sql) { return column(db(), sql); }
    QString text(const QString& sql) { return scalar(db(), sql).toString(); }
    int count(const QString& sql) { return scalar(db(), sql).toInt(); }
    QByteArray blob(const QString& sql) {
        auto c = db().query(sql);
        return c->next() && !c->isNull(0) ? c->blob(0) : QByteArray();
    }
};

} // namespace dv::test
