// dv_makedb: builds the installation database from the schema scripts.
//
//   dv_makedb --out FILE --sql DIR --version X.Y.Z.W [--password P] [--pictures DIR]
//   dv_makedb --postgres URL --sql DIR --version X.Y.Z.W [--pgschema DIR] [--pictures DIR]
//
// --pictures names the folder the picture generator drew the tooth pictures
// (dentes/dente_NN.png) and odontogram icons (icones/<icone_arquivo>) into: the
// seed rows name them, this program stores their bytes.
//
// The database is written to a new temporary file beside FILE, keyed before
// anything else touches it, filled in one transaction, checked, and only then
// renamed over FILE: a failed build never leaves a half-made database behind.
//
// With --postgres the same embedded database is built in a temporary folder and
// copied into the empty server database named by URL (a postgresql:// URL or a
// libpq keyword string) in one transaction; see src/core/db/PgInstall.h.

#include "core/db/DbErrors.h"
#include "core/db/PgEngine.h"
#include "core/db/PgInstall.h"
#include "core/db/SqlCipherEngine.h"

#include <sodium.h>
#include <sqlcipher/sqlite3.h>

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

const char* const kDefaultPassword = "5316428850";
// The administrator's first password; the README tells clinics to change it.
const char* const kAdminPassword = "admin";

struct Options {
    QString out;
    QString sqlDir;
    QString version;
    QString postgres;
    QString pgSchemaDir;
    QString password = QString::fromLatin1(kDefaultPassword);
    QString pictures;
};

class BuildError : public std::runtime_error {
public:
    explicit BuildError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

void usage() {
    std::fprintf(stderr,
                 "usage: dv_makedb --out FILE --sql DIR --version X.Y.Z.W [--password P] [--pictures DIR]\n"
                 "       dv_makedb --postgres URL --sql DIR --version X.Y.Z.W [--pgschema DIR] [--pictures DIR]\n");
}

bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            usage();
            std::exit(0);
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "dv_makedb: %s needs a value\n", argv[i]);
            return false;
        }
        const QString value = QString::fromLocal8Bit(argv[++i]);
        if (arg == QLatin1String("--out"))
            o.out = value;
        else if (arg == QLatin1String("--sql"))
            o.sqlDir = value;
        else if (arg == QLatin1String("--version"))
            o.version = value;
        else if (arg == QLatin1String("--password"))
            o.password = value;
        else if (arg == QLatin1String("--pictures"))
            o.pictures = value;
        else if (arg == QLatin1String("--postgres"))
            o.postgres = value;
        else if (arg == QLatin1String("--pgschema"))
            o.pgSchemaDir = value;
        else {
            std::fprintf(stderr, "dv_makedb: unknown option %s\n", argv[i - 1]);
            return false;
        }
    }
    if ((o.out.isEmpty() == o.postgres.isEmpty()) || o.sqlDir.isEmpty() || o.version.isEmpty()) {
        std::fprintf(stderr, "dv_makedb: --sql, --version and one of --out or --postgres are required\n");
        return false;
    }
    if (o.pgSchemaDir.isEmpty()) o.pgSchemaDir = QDir(o.sqlDir).filePath(QStringLiteral("../postgresql"));
    // Sistema_Release is text(10) and login compares it with the program's
    // four-part file version.
    static const QRegularExpression versionRe(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"));
    if (!versionRe.match(o.version).hasMatch() || o.version.size() > 10) {
        std::fprintf(stderr, "dv_makedb: version '%s' is not of the form X.Y.Z.W (at most 10 characters)\n",
                     qPrintable(o.version));
        return false;
    }
    if (o.password.isEmpty()) {
        std::fprintf(stderr, "dv_makedb: the database password must not be empty\n");
        return false;
    }
    return true;
}

// One open database; closes on every way out.
class Database {
public:
    explicit Database(const QString& file) : m_file(file) {
        const QByteArray name = QFile::encodeName(file);
        const int rc =
            sqlite3_open_v2(name.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK) {
            const QString msg =
                m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
            sqlite3_close_v2(m_db);
            m_db = nullptr;
            throw BuildError(QStringLiteral("%1: cannot create the database: %2").arg(file, msg));
        }
    }
    ~Database() {
        if (m_db) sqlite3_close_v2(m_db); // error path: the file is removed anyway
    }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return m_db; }
    const QString& file() const { return m_file; }

    QString error() const { return QString::fromUtf8(sqlite3_errmsg(m_db)); }

    void exec(const char* sql, const QString& what) {
        char* err = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
            const QString msg = err ? QString::fromUtf8(err) : error();
            sqlite3_free(err);
            throw BuildError(QStringLiteral("%1: %2: %3").arg(m_file, what, msg));
        }
    }

    // Every row of a one-column query, as text.
    QStringList column(const QString& sql) {
        sqlite3_stmt* st = prepare(sql);
        QStringList rows;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            rows << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) throw BuildError(QStringLiteral("%1: %2: %3").arg(m_file, sql, error()));
        return rows;
    }

    qint64 scalar(const QString& sql) {
        const QStringList rows = column(sql);
        if (rows.size() != 1) throw BuildError(QStringLiteral("%1: %2: expected one row").arg(m_file, sql));
        return rows.first().toLongLong();
    }

    // Runs a statement with text parameters ?1, ?2, ...; gives the rows it changed.
    int run(const QString& sql, const QStringList& params) {
        sqlite3_stmt* st = prepare(sql);
        QList<QByteArray> keep;
        for (int i = 0; i < params.size(); ++i) {
            keep << params[i].toUtf8();
            sqlite3_bind_text(st, i + 1, keep.last().constData(), int(keep.last().size()), SQLITE_TRANSIENT);
        }
        const int rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) throw BuildError(QStringLiteral("%1: %2: %3").arg(m_file, sql, error()));
        return sqlite3_changes(m_db);
    }

    // Stores bytes in one row: ?1 the blob, ?2 the row's key as text.
    void storeBlob(const QString& sql, const QByteArray& bytes, const QString& key) {
        sqlite3_stmt* st = prepare(sql);
        sqlite3_bind_blob(st, 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        const QByteArray k = key.toUtf8();
        sqlite3_bind_text(st, 2, k.constData(), int(k.size()), SQLITE_TRANSIENT);
        const int rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) throw BuildError(QStringLiteral("%1: %2: %3").arg(m_file, sql, error()));
    }

    void close() {
        if (m_db && sqlite3_close(m_db) != SQLITE_OK)
            throw BuildError(QStringLiteral("%1: cannot close the database: %2").arg(m_file, error()));
        m_db = nullptr;
    }

private:
    sqlite3_stmt* prepare(const QString& sql) {
        sqlite3_stmt* st = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &st, nullptr) != SQLITE_OK)
            throw BuildError(QStringLiteral("%1: %2: %3").arg(m_file, sql, error()));
        return st;
    }

    QString m_file;
    sqlite3* m_db = nullptr;
};

int lineAt(const QByteArray& text, qsizetype offset) {
    while (offset < text.size() && QChar::isSpace(uchar(text[offset])))
        ++offset;
    return int(text.left(offset).count('\n')) + 1;
}

// Runs one script statement by statement, so that an error names its line.
void runScript(Database& db, const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw BuildError(QStringLiteral("%1: cannot read: %2").arg(path, f.errorString()));
    const QByteArray sql = f.readAll();
    const char* const begin = sql.constData();
    const char* const end = begin + sql.size();
    const char* p = begin;
    while (p < end) {
        sqlite3_stmt* st = nullptr;
        const char* tail = nullptr;
        const int line = lineAt(sql, p - begin);
        if (sqlite3_prepare_v2(db.handle(), p, int(end - p), &st, &tail) != SQLITE_OK)
            throw BuildError(QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(db.error()));
        p = tail;
        if (!st) continue; // only blanks or comments were left
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            throw BuildError(QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(db.error()));
        if (sqlite3_get_autocommit(db.handle()))
            throw BuildError(
                QStringLiteral("%1:%2: scripts must not end the build's transaction").arg(path).arg(line));
    }
}

QString argon2idHash(const char* password) {
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, password, std::strlen(password), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw BuildError(QStringLiteral("cannot hash the administrator's password (out of memory)"));
    return QString::fromLatin1(hash);
}

// The seed scripts leave the administrator's hash and the release empty;
// fill them in and make sure nothing else was left unset.
void insertGeneratedRows(Database& db, const Options& o) {
    const int admins = db.run(QStringLiteral("UPDATE usuario SET usuario_senha = ?1 "
                                             "WHERE usuario_login = 'admin' AND usuario_senha IS NULL"),
                              {argon2idHash(kAdminPassword)});
    if (admins != 1)
        throw BuildError(
            QStringLiteral("%1: the seed rows must hold exactly one administrator 'admin' without a "
                           "password, found %2")
                .arg(db.file())
                .arg(admins));
    if (db.scalar(
            QStringLiteral("SELECT count(*) FROM usuario WHERE usuario_senha IS NULL OR usuario_senha = ''")))
        throw BuildError(QStringLiteral("%1: a seeded user has no password hash").arg(db.file()));

    const qint64 installs = db.scalar(QStringLiteral("SELECT count(*) FROM configuracao"));
    if (installs != 1)
        throw BuildError(QStringLiteral("%1: the seed rows must hold exactly one configuracao row, found %2")
                             .arg(db.file())
                             .arg(installs));
    db.run(QStringLiteral("UPDATE configuracao SET Sistema_Release = ?1, Sistema_DataUpdate = ?2"),
           {o.version, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
}

QByteArray readPng(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        throw BuildError(QStringLiteral("%1: cannot read: %2").arg(file, f.errorString()));
    const QByteArray bytes = f.readAll();
    if (bytes.size() != f.size() || !bytes.startsWith(QByteArrayLiteral("\x89PNG\r\n\x1a\n")))
        throw BuildError(QStringLiteral("%1: not a whole PNG file").arg(file));
    return bytes;
}

// The seed rows name the tooth and icon pictures; their bytes come from the
// generator's folder. Every tooth and every icon that names a file gets its picture.
void storePictures(Database& db, const QString& folder) {
    const QDir dir(folder);
    for (const QString& icon : db.column(QStringLiteral(
             "SELECT icone_arquivo FROM icone WHERE icone_img IS NULL AND icone_arquivo IS NOT NULL")))
        db.storeBlob(QStringLiteral("UPDATE icone SET icone_img = ?1 WHERE icone_arquivo = ?2"),
                     readPng(dir.filePath(QStringLiteral("icones/") + icon)), icon);
    for (const QString& tooth :
         db.column(QStringLiteral("SELECT dente_id FROM dente WHERE dente_img IS NULL")))
        db.storeBlob(QStringLiteral("UPDATE dente SET dente_img = ?1 WHERE dente_id = ?2"),
                     readPng(dir.filePath(
                         QStringLiteral("dentes/dente_%1.png").arg(tooth.toInt(), 2, 10, QLatin1Char('0')))),
                     tooth);
}

// Text wider than its declared column would be cut or refused by the screens.
void checkWidths(Database& db) {
    static const QRegularExpression varcharRe(QStringLiteral("^VARCHAR\\((\\d+)\\)"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QStringList tables = db.column(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"));
    for (const QString& table : tables) {
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = QStringLiteral("PRAGMA table_info(\"%1\")").arg(table).toUtf8();
        if (sqlite3_prepare_v2(db.handle(), sql.constData(), -1, &st, nullptr) != SQLITE_OK)
            throw BuildError(QStringLiteral("%1: %2: %3").arg(db.file(), table, db.error()));
        QList<QPair<QString, int>> widths;
        while (sqlite3_step(st) == SQLITE_ROW) {
            const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
            const QString type = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
            const auto m = varcharRe.match(type);
            if (m.hasMatch()) widths.append({name, m.captured(1).toInt()});
        }
        sqlite3_finalize(st);
        for (const auto& [name, width] : widths) {
            const QString wide = QStringLiteral("SELECT count(*) FROM \"%1\" WHERE length(\"%2\") > %3")
                                     .arg(table, name)
                                     .arg(width);
            if (const qint64 n = db.scalar(wide))
                throw BuildError(QStringLiteral("%1: %2 row(s) of %3.%4 are longer than %5 characters")
                                     .arg(db.file())
                                     .arg(n)
                                     .arg(table, name)
                                     .arg(width));
        }
    }
}

// The schema version is the highest step recorded; the first step makes the record.
void recordStep(Database& db, const QString& name) {
    static const QRegularExpression numbered(QStringLiteral("^(\\d+)_"));
    const auto m = numbered.match(name);
    if (!m.hasMatch() || m.captured(1).toInt() < 2)
        throw BuildError(QStringLiteral("%1: a schema step is named NNN_what.sql, NNN from 002").arg(name));
    db.run(QStringLiteral("INSERT INTO esquema_passo (passo_numero, passo_nome, passo_data) VALUES (?1, ?2, ?3)"),
           {m.captured(1), name, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
}

void build(const Options& o, const QString& tmp) {
    const QDir dir(o.sqlDir);
    const QStringList scripts = dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
    if (!dir.exists() || scripts.isEmpty())
        throw BuildError(QStringLiteral("%1: no .sql files found").arg(o.sqlDir));

    Database db(tmp);
    // The key must come before the first access, or the file is written in plain text.
    const QByteArray key = o.password.toUtf8();
    if (sqlite3_key(db.handle(), key.constData(), int(key.size())) != SQLITE_OK)
        throw BuildError(QStringLiteral("%1: cannot key the database: %2").arg(tmp, db.error()));
    db.exec("PRAGMA foreign_keys = ON", QStringLiteral("PRAGMA foreign_keys"));
    if (db.scalar(QStringLiteral("PRAGMA foreign_keys")) != 1)
        throw BuildError(QStringLiteral("%1: this SQLite cannot enforce foreign keys").arg(tmp));

    db.exec("BEGIN IMMEDIATE", QStringLiteral("BEGIN"));
    for (const QString& name : scripts)
        runScript(db, dir.filePath(name));
    // The base files are the first schema version and stay as they are; every
    // later change is a numbered step in upgrades/, which an older database
    // applies at start-up and a new one gets here.
    const QDir steps(dir.filePath(QStringLiteral("upgrades")));
    for (const QString& name : steps.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
        runScript(db, steps.filePath(name));
        recordStep(db, name);
    }
    insertGeneratedRows(db, o);
    if (!o.pictures.isEmpty()) storePictures(db, o.pictures);
    // The seed rows are where the installation starts, not changes anyone made:
    // the audit trail begins empty.
    if (db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'auditoria'")))
        db.exec("DELETE FROM auditoria", QStringLiteral("clearing the audit trail"));
    checkWidths(db);
    const QStringList orphans = db.column(QStringLiteral("PRAGMA foreign_key_check"));
    if (!orphans.isEmpty())
        throw BuildError(
            QStringLiteral("%1: seed rows break a foreign key in table %2").arg(tmp, orphans.first()));
    db.exec("COMMIT", QStringLiteral("COMMIT"));

    const QStringList integrity = db.column(QStringLiteral("PRAGMA integrity_check"));
    if (integrity != QStringList{QStringLiteral("ok")})
        throw BuildError(
            QStringLiteral("%1: integrity check failed: %2").arg(tmp, integrity.join(QLatin1String("; "))));
    db.close();
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseOptions(argc, argv, o)) {
        usage();
        return 2;
    }
    if (sodium_init() < 0) {
        std::fprintf(stderr, "dv_makedb: libsodium cannot be initialised\n");
        return 1;
    }

    if (!o.postgres.isEmpty()) {
        try {
            QTemporaryDir work;
            if (!work.isValid()) throw BuildError(QStringLiteral("cannot create a temporary folder"));
            const QString file = work.filePath(QStringLiteral("DBDentrivale.mdb"));
            build(o, file);
            dv::SqlCipherEngine source(file, o.password);
            dv::PgEngine target(o.postgres);
            dv::createServerDatabase(source, target, o.pgSchemaDir);
        } catch (const dv::Error& e) {
            std::fprintf(stderr, "dv_makedb: %s\n", qPrintable(e.message()));
            return 1;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "dv_makedb: %s\n", e.what());
            return 1;
        }
        std::printf("dv_makedb: created the Dentrivale tables on the server (release %s)\n",
                    qPrintable(o.version));
        return 0;
    }

    const QFileInfo target(o.out);
    QString tmp;
    try {
        if (!target.absoluteDir().exists())
            throw BuildError(QStringLiteral("%1: folder does not exist").arg(target.absolutePath()));
        {
            QTemporaryFile reserve(target.absoluteFilePath() + QStringLiteral(".XXXXXX.tmp"));
            reserve.setAutoRemove(false);
            if (!reserve.open())
                throw BuildError(QStringLiteral("%1: cannot create a temporary file: %2")
                                     .arg(target.absolutePath(), reserve.errorString()));
            tmp = reserve.fileName();
        }
        build(o, tmp);
        const QByteArray from = QFile::encodeName(tmp);
        const QByteArray to = QFile::encodeName(target.absoluteFilePath());
        // rename(2) replaces the old file in one step.
        if (std::rename(from.constData(), to.constData()) != 0)
            throw BuildError(
                QStringLiteral("%1: cannot replace: %2")
                    .arg(target.absoluteFilePath(), QString::fromLocal8Bit(std::strerror(errno))));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dv_makedb: %s\n", e.what());
        if (!tmp.isEmpty()) {
            QFile::remove(tmp);
            QFile::remove(tmp + QStringLiteral("-journal"));
        }
        return 1;
    }
    std::printf("dv_makedb: wrote %s (release %s)\n", qPrintable(target.absoluteFilePath()),
                qPrintable(o.version));
    return 0;
}
