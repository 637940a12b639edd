#pragma once
#include <QDate>
#include <QString>
#include <QtGlobal>

namespace dv::bench {

// How much to generate. The defaults are the benchmark volumes; scaled() makes
// smaller runs with the same proportions.
struct Volumes {
    int patients = 100000;
    double photoShare = 0.20;     // patients with a main photo
    int photoBytes = 60 * 1024;   // size the generated JPEG aims at
    double anamnesisShare = 0.10; // patients who answered the questionnaire
    int consultations = 300000;
    int items = 1000000;
    int installments = 500000;
    int appointments = 200000;
    int dentists = 10; // the last one inactive
    int plans = 6;     // "Particular" included
    int contacts = 200;
    int products = 150;
    int bills = 3000;
    // The day the data is generated "on": consultations lie before it,
    // appointments up to three months after it. Invalid: today.
    QDate today;

    // Every count multiplied by factor (at least 1 where the default is not 0);
    // dentists, plans and the photo size stay as they are.
    Volumes scaled(double factor) const;
};

// What was written, for the benchmark's log.
struct Generated {
    qint64 patients = 0, photos = 0, answers = 0, consultations = 0, items = 0, installments = 0,
           appointments = 0;
    qint64 bytes = 0; // size of the file
    double seconds = 0;
};

// The installation database the build generates (the default source of generateDatabase).
QString defaultInstallDb();

// Copies the installation database to file and fills it with synthetic clinic
// data. The same seed, volumes and build give the same rows. The file is
// written beside its final name and renamed over it only when complete; on
// failure a dv::PlainError names the file and the SQLite message.
Generated generateDatabase(const QString& file, const Volumes& v = Volumes(), quint32 seed = 1,
                           const QString& installDb = defaultInstallDb());

} // namespace dv::bench
