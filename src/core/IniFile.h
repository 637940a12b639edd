#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace dv {

using IniEntries = QList<std::pair<QString, QString>>;

// A Windows-style INI text read with the private-profile rules: section and key
// names compare without regard to case, blanks around keys and values are
// ignored, a missing file, section or key reads as an empty string, and the
// first occurrence of a section or key wins. Lines starting with ';' are
// comments. Files are UTF-8 when they decode as such, otherwise the Windows
// Western code page (older files written in an 8-bit code page). Values are taken verbatim: quotes are
// not stripped, so delimited lists keep their quoting.
class IniFile {
public:
    IniFile() = default;

    // Opens, reads and closes the file in one go; an absent or unreadable file
    // gives an empty IniFile.
    static IniFile load(const QString& path);
    static IniFile parse(const QByteArray& bytes);
    // UTF-8 when valid (a byte-order mark is dropped), else Windows-1252 (Latin-1).
    static QString decode(const QByteArray& bytes);

    // The one-call read of config.ini and the language files.
    static QString readString(const QString& path, const QString& section, const QString& key);

    bool isEmpty() const { return m_sections.isEmpty(); }
    QStringList sectionNames() const;
    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key) const;
    // The entries of a section in file order (first occurrence of each key).
    IniEntries entries(const QString& section) const;

    // Replaces the entries of a section, adding it at the end when new.
    void setSection(const QString& section, const IniEntries& entries);
    void removeSection(const QString& section);

    QByteArray toBytes() const;
    // Writes the whole file as UTF-8 through a temporary file renamed over the
    // old one, so a failed write leaves the previous file intact.
    bool save(const QString& path, QString* errorText = nullptr) const;

private:
    struct Section {
        QString name;
        IniEntries entries;
        QHash<QString, qsizetype> index; // case-folded key -> position in entries
    };
    const Section* find(const QString& section) const;
    Section* find(const QString& section);
    static void addEntry(Section& s, const QString& key, const QString& value);

    QList<Section> m_sections;
};

} // namespace dv
