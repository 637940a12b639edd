#include "IniFile.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace dv {

namespace {
QString fold(const QString& name) {
    return name.toCaseFolded();
}

// Keys and values are written one per line: a line break inside would split them.
QString oneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}
} // namespace

QString IniFile::decode(const QByteArray& bytes) {
    QByteArrayView data(bytes);
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    // Files written on Windows use its Western code page, a superset of Latin-1
    // (dashes, quotes and the euro sign in 0x80-0x9F).
    QStringDecoder windows("windows-1252");
    if (windows.isValid())
        return windows.decode(data);
    return QString::fromLatin1(data);
}

IniFile IniFile::parse(const QByteArray& bytes) {
    IniFile ini;
    const QString text = decode(bytes);
    Section* current = nullptr;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed(); // also drops the '\r' of CRLF files
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
        if (line.startsWith(QLatin1Char('['))) {
            qsizetype close = line.indexOf(QLatin1Char(']'));
            QString name = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed().toString();
            ini.m_sections.append(Section{name, {}, {}});
            current = &ini.m_sections.last();
            continue;
        }
        qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!current || eq < 0) continue;
        addEntry(*current, line.left(eq).trimmed().toString(), line.mid(eq + 1).trimmed().toString());
    }
    return ini;
}

IniFile IniFile::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    file.close();
    return parse(bytes);
}

QString IniFile::readString(const QString& path, const QString& section, const QString& key) {
    return load(path).value(section, key);
}

void IniFile::addEntry(Section& s, const QString& key, const QString& value) {
    const QString folded = fold(key);
    if (s.index.contains(folded)) return; // the first occurrence wins
    s.index.insert(folded, s.entries.size());
    s.entries.append({key, value});
}

const IniFile::Section* IniFile::find(const QString& section) const {
    for (const Section& s : m_sections)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

IniFile::Section* IniFile::find(const QString& section) {
    return const_cast<Section*>(std::as_const(*this).find(section));
}

QStringList IniFile::sectionNames() const {
    QStringList names;
    for (const Section& s : m_sections)
        names.append(s.name);
    return names;
}

bool IniFile::hasSection(const QString& section) const {
    return find(section) != nullptr;
}

bool IniFile::hasKey(const QString& section, const QString& key) const {
    const Section* s = find(section);
    return s && s->index.contains(fold(key));
}

QString IniFile::value(const QString& section, const QString& key) const {
    const Section* s = find(section);
    if (!s) return {};
    auto it = s->index.constFind(fold(key));
    return it == s->index.constEnd() ? QString() : s->entries.at(*it).second;
}

IniEntries IniFile::entries(const QString& section) const {
    const Section* s = find(section);
    return s ? s->entries : IniEntries();
}

void IniFile::setSection(const QString& section, const IniEntries& entries) {
    Section* s = find(section);
    if (!s) {
        m_sections.append(Section{section, {}, {}});
        s = &m_sections.last();
    }
    s->entries.clear();
    s->index.clear();
    for (const auto& [key, value] : entries)
        addEntry(*s, oneLine(key).trimmed(), oneLine(value));
}

void IniFile::removeSection(const QString& section) {
    m_sections.removeIf([&](const Section& s) { return s.name.compare(section, Qt::CaseInsensitive) == 0; });
}

QByteArray IniFile::toBytes() const {
    QString text;
    for (const Section& s : m_sections) {
        text += QLatin1Char('[') + oneLine(s.name) + QLatin1String("]\n");
        for (const auto& [key, value] : s.entries)
            text += key + QLatin1Char('=') + value + QLatin1Char('\n');
    }
    return text.toUtf8();
}

bool IniFile::save(const QString& path, QString* errorText) const {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toBytes()) < 0 || !file.commit()) {
        if (errorText) *errorText = file.errorString();
        return false;
    }
    return true;
}

} // namespace dv
