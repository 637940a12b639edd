#pragma once
#include "ReportDocument.h"
#include "ReportModel.h"
#include <QStringList>

namespace dv {

// The report project as the screens use it: open the file, list and select reports
// by full name, link pictures, run a report over the registered data connections.
//
// The report picker:
//   dv::ReportProject project;
//   project.open();                               // relatorio/Dentrivale.rav
//   for (const QString& name : project.reportNames()) ...   // keep those registered in Relatorio
//   project.selectReport(name);  DescMemo->setPlainText(project.description());
//   project.execute();                            // output dialog, preview, printer or PDF
//
// The consultation's odontogram:
//   project.selectReport(QStringLiteral("Relat_Odontograma"));
//   project.setPictureFile(QStringLiteral("Relat_Odontograma.Page1"), QStringLiteral("Bitmap1"),
//                          dv::session().filePath(QStringLiteral("Odontograma.bmp")));
//   project.execute(QStringLiteral("Relat_Odontograma"));
//
// Every failure (unreadable or malformed file, unknown report or picture, a
// connection no screen registered) raises ReportError with a message for the user.
class ReportProject {
public:
    // The application folder's project: relatorio/Dentrivale.rav.
    static QString defaultFileName();

    // Reads the project, replacing whatever was open.
    void open(const QString& fileName = QString());
    // Reads a project from memory; sourceName stands for the file in messages.
    void load(const QByteArray& data, const QString& sourceName);
    void close();
    bool isOpen() const { return m_open; }
    const QString& fileName() const { return m_project.fileName; }

    // Full names of all reports, in the project's order.
    QStringList reportNames() const;
    bool hasReport(const QString& name) const { return m_project.report(name) != nullptr; }
    // False, and nothing selected, when the project has no report of that name.
    bool selectReport(const QString& name);
    const QString& selectedReport() const { return m_selected; }
    // The description of a report (the selected one by default); empty when unknown.
    QString description(const QString& name = QString()) const;

    // A picture item by name on a page ("Relat_Odontograma.Page1"); null when absent.
    report::Item* findPicture(const QString& pageName, const QString& pictureName);
    // Links a picture item to a file (relative names are read from the executable folder).
    void setPictureFile(const QString& pageName, const QString& pictureName, const QString& fileName);

    // Lays a report (the selected one by default) out over the registered connections.
    ReportDocument build(const QString& name = QString()) const;
    // Runs it: the report output takes it on (output dialog, preview, printer or PDF).
    void execute(const QString& name = QString()) const;

private:
    const report::Report& reportFor(const QString& name) const;

    report::Project m_project;
    bool m_open = false;
    QString m_selected;
};

} // namespace dv
