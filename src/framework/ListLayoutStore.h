#pragma once
#include "core/SettingsStore.h"
#include "core/db/Dataset.h"
#include "toolkit/GridModel.h"
#include <optional>

namespace dv {

// A list grid's column layout in the settings store. The store is named after the
// executable folder followed by "Dentrivale.ini"; the user list keeps it in that INI
// file, every other list in the per-user store under the same name. The section is the
// form name followed by the grid's name; each shown column is one entry, in display
// order: field name = width in characters ";;" title ";;" "F".
//
//   dv::ListLayoutStore store(dv::SettingsHive::User, "frmPaciente" "wwDBGrid1");
//   store.save(grid->columns());                       // on close
//   if (auto cols = store.load(designed)) grid->setColumns(*cols);   // on show
class ListLayoutStore {
public:
    ListLayoutStore(SettingsHive hive, QString section);

    static QString storeName();
    SettingsHive hive() const { return m_hive; }
    const QString& section() const { return m_section; }

    // Erases the section and writes the columns. The store's errors pass through.
    void save(const QList<GridColumn>& columns) const;
    // The stored layout merged with the screen's own columns; nullopt when the section
    // is empty or holds an entry without ";;" (the screen keeps its columns then).
    std::optional<QList<GridColumn>> load(const QList<GridColumn>& designed) const;

    // The entries of columns, and the other way round (merged as load() does).
    static SettingsEntries entriesOf(const QList<GridColumn>& columns);
    static std::optional<QList<GridColumn>> merged(const SettingsEntries& entries,
                                                   const QList<GridColumn>& designed);

    // A title that only repeats its field's label is stored as the label the screen
    // designed, and a stored title equal to a field's label is read back as none, so
    // the column keeps following the field's label in the interface language.
    static QList<GridColumn> titlesToStore(QList<GridColumn> columns, const Dataset* dataset);
    static QList<GridColumn> titlesFromStore(QList<GridColumn> columns, const Dataset* dataset);

private:
    SettingsHive m_hive;
    QString m_section;
};

} // namespace dv
