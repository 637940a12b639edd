#include "DemoClinic.h"
#include "DemoParts.h"
#include "core/U_dm.h"
#include "core/db/DbErrors.h"
#include "core/db/Engine.h"
#include "gen_data.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace dv::demo {

namespace {

// Fixed: the demo is the same clinic every time it is built on the same day.
constexpr quint32 kSeed = 20260525;

bench::Volumes demoVolumes(const QDate& today) {
    bench::Volumes v;
    v.patients = 300;
    v.photoShare = 0.25;
    v.photoBytes = 40 * 1024;
    v.anamnesisShare = 0.6;
    // Treatments and the agenda are the demo's own: recent, charted and booked
    // in this week and the next.
    v.consultations = 0;
    v.items = 0;
    v.installments = 0;
    v.appointments = 0;
    v.dentists = 3;
    v.plans = 3; // "Particular" and two insurance plans
    v.contacts = 24;
    v.products = 40;
    v.bills = 24; // next month's, this month's and last month's
    v.today = today;
    return v;
}

void replaceFile(const QString& from, const QString& to) {
    const QByteArray a = QFile::encodeName(from), b = QFile::encodeName(to);
    if (std::rename(a.constData(), b.constData()) != 0)
        throw PlainError(QStringLiteral("%1: %2").arg(to, QString::fromLocal8Bit(std::strerror(errno))));
}

} // namespace

void buildDemoClinic(const QString& file, const QDate& today, const QString& installDb) {
    if (!today.isValid()) throw PlainError(QStringLiteral("the demo needs a valid day to be built on"));
    const QString part = QFileInfo(file).absoluteFilePath() + QStringLiteral(".building");
    QFile::remove(part);
    bench::generateDatabase(part, demoVolumes(today), kSeed, installDb);
    try {
        {
            auto c = Connection::open(Tdm::buildConnectionString(part), QString());
            Transaction t(*c);
            bench::Random r(kSeed + 1);
            brandCompany(*c);
            staffDentists(*c);
            chartTreatments(*c, r, today);
            bookAgenda(*c, r, today);
            t.commit();
        }
        replaceFile(part, file);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
}

} // namespace dv::demo
