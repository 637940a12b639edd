#include "SchemaStartup.h"
#include "Services.h"
#include "db/Engine.h"
#include "db/SchemaUpgrade.h"
#include <QDir>

namespace dv {

namespace {

QString tooNewText(const QString& language, int database, int program) {
    if (language == QLatin1String("en"))
        return QStringLiteral(
                   "The database has schema version %1, newer than this program's (%2). Install the "
                   "Dentrivale version that last updated it; the database was not changed.")
            .arg(database)
            .arg(program);
    if (language == QLatin1String("es"))
        return QStringLiteral(
                   "La base de datos tiene la versión de esquema %1, más nueva que la de este programa "
                   "(%2). Instale la versión de Dentrivale que la actualizó; la base de datos no fue "
                   "modificada.")
            .arg(database)
            .arg(program);
    return QStringLiteral(
               "O banco de dados está na versão %1 do esquema, mais nova que a deste programa (%2). "
               "Instale a versão do Dentrivale que o atualizou; o banco de dados não foi alterado.")
        .arg(database)
        .arg(program);
}

QString stepFailedText(const QString& language, const SchemaStepFailed& e) {
    const QString backup = QDir::toNativeSeparators(e.backupFile);
    if (language == QLatin1String("en"))
        return QStringLiteral(
                   "Updating the database failed at step %1: %2\nThat step was undone; a backup taken "
                   "before the update is in %3.")
            .arg(e.step, e.reason, backup);
    if (language == QLatin1String("es"))
        return QStringLiteral("La actualización de la base de datos falló en el paso %1: %2\nEse paso fue "
                              "deshecho; la copia de seguridad hecha antes está en %3.")
            .arg(e.step, e.reason, backup);
    return QStringLiteral(
               "A atualização do banco de dados falhou no passo %1: %2\nEsse passo foi desfeito; a "
               "cópia de segurança feita antes da atualização está em %3.")
        .arg(e.step, e.reason, backup);
}

QString backupFailedText(const QString& language, const QString& why) {
    if (language == QLatin1String("en"))
        return QStringLiteral(
                   "The database needs updating, but the backup before the update failed: %1\nNothing "
                   "was changed.")
            .arg(why);
    if (language == QLatin1String("es"))
        return QStringLiteral(
                   "La base de datos necesita actualizarse, pero la copia de seguridad previa falló: "
                   "%1\nNo se modificó nada.")
            .arg(why);
    return QStringLiteral(
               "O banco de dados precisa ser atualizado, mas a cópia de segurança anterior falhou: "
               "%1\nNada foi alterado.")
        .arg(why);
}

} // namespace

bool bringSchemaUpToDate(Connection& db, const QString& language, const QString& backupFolder) {
    try {
        const UpgradeOutcome o = upgradeSchema(db, shippedSchemaSteps(), backupFolder,
                                               QStringLiteral(DV_VERSION), services().clock().now());
        return o.to != o.from;
    } catch (const SchemaTooNew& e) {
        throw EngineError(tooNewText(language, e.databaseVersion, e.programVersion));
    } catch (const SchemaStepFailed& e) {
        throw EngineError(stepFailedText(language, e));
    } catch (const SchemaBackupFailed& e) {
        throw EngineError(backupFailedText(language, e.message()));
    }
}

} // namespace dv
