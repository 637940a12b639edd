#include "TempDb.h"
#include <QFile>

namespace dv::test {

TempDb::TempDb() {
    file = dir.filePath(QStringLiteral("test.db"));
    db = SqlCipherEngine::create(file, QString::fromLatin1(password));
}

InstallDbCopy::InstallDbCopy() {
    file = dir.filePath(QStringLiteral("DBDentrivale.mdb"));
    QFile::copy(QStringLiteral(DV_INSTALL_DB), file);
    QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

QString InstallDbCopy::connectionString() const {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=%1;Mode=Share Deny None;"
                          "Persist Security Info=True;Jet OLEDB:Database Password=5316428850")
        .arg(file);
}

} // namespace dv::test
