#include "gen_clinic.h"
#include "core/db/DbErrors.h"
#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

namespace dv::bench {

std::span<const ServiceDef> clinicServices() {
    static const ServiceDef list[] = {
        {"Consulta inicial e avaliação", "Clínica Geral", 150, Kind::None, ""},
        {"Consulta de retorno", "Clínica Geral", 80, Kind::None, ""},
        {"Urgência odontológica", "Clínica Geral", 150, Kind::None, ""},
        {"Ajuste oclusal", "Clínica Geral", 200, Kind::None, ""},
        {"Limpeza (profilaxia)", "Prevenção", 180, Kind::None, ""},
        {"Aplicação tópica de flúor", "Prevenção", 90, Kind::None, ""},
        {"Selante de fóssulas e fissuras", "Prevenção", 110, Kind::Face, "Selante"},
        {"Radiografia periapical", "Radiologia", 60, Kind::None, ""},
        {"Radiografia panorâmica", "Radiologia", 120, Kind::None, ""},
        {"Restauração em resina - 1 face", "Dentística", 220, Kind::Face, "Restauração em resina"},
        {"Restauração em resina - 2 faces", "Dentística", 300, Kind::Face, "Restauração em resina"},
        {"Restauração em resina - 3 faces", "Dentística", 380, Kind::Face, "Restauração em resina"},
        {"Restauração em amálgama", "Dentística", 160, Kind::Face, "Restauração em amálgama"},
        {"Restauração provisória", "Dentística", 90, Kind::Face, "Restauração provisória"},
        {"Clareamento caseiro", "Estética", 900, Kind::Strip, "Clareamento"},
        {"Clareamento em consultório", "Estética", 1400, Kind::Strip, "Clareamento"},
        {"Faceta em resina", "Estética", 450, Kind::Tooth, "Faceta"},
        {"Faceta de porcelana", "Estética", 1800, Kind::Tooth, "Faceta"},
        {"Tratamento de canal - incisivo", "Endodontia", 700, Kind::Tooth, "Canal"},
        {"Tratamento de canal - pré-molar", "Endodontia", 850, Kind::Tooth, "Canal"},
        {"Tratamento de canal - molar", "Endodontia", 1100, Kind::Tooth, "Canal"},
        {"Retratamento de canal", "Endodontia", 1300, Kind::Tooth, "Canal"},
        {"Pulpotomia", "Endodontia", 300, Kind::Tooth, "Canal"},
        {"Raspagem supragengival (por sextante)", "Periodontia", 150, Kind::None, ""},
        {"Raspagem subgengival (por sextante)", "Periodontia", 250, Kind::None, ""},
        {"Cirurgia periodontal", "Periodontia", 900, Kind::Tooth, "Periodontia"},
        {"Gengivoplastia", "Periodontia", 600, Kind::Tooth, "Periodontia"},
        {"Extração simples", "Cirurgia Bucomaxilofacial", 200, Kind::Tooth, "Extração"},
        {"Extração de siso incluso", "Cirurgia Bucomaxilofacial", 650, Kind::Tooth, "Extração"},
        {"Frenectomia", "Cirurgia Bucomaxilofacial", 500, Kind::None, ""},
        {"Implante dentário", "Implantodontia", 3200, Kind::Tooth, "Implante"},
        {"Enxerto ósseo", "Implantodontia", 1800, Kind::Tooth, "Implante"},
        {"Coroa sobre implante", "Implantodontia", 2200, Kind::Tooth, "Coroa"},
        {"Coroa metalocerâmica", "Prótese Dentária", 1500, Kind::Tooth, "Coroa"},
        {"Coroa de porcelana pura", "Prótese Dentária", 2100, Kind::Tooth, "Coroa"},
        {"Coroa provisória", "Prótese Dentária", 180, Kind::Tooth, "Coroa"},
        {"Núcleo metálico fundido", "Prótese Dentária", 400, Kind::Tooth, "Coroa"},
        {"Prótese total superior", "Prótese Dentária", 1600, Kind::Strip, "Prótese"},
        {"Prótese total inferior", "Prótese Dentária", 1600, Kind::Strip, "Prótese"},
        {"Prótese parcial removível", "Prótese Dentária", 1400, Kind::Strip, "Prótese"},
        {"Placa de bruxismo", "Prótese Dentária", 500, Kind::Strip, "Prótese"},
        {"Aparelho ortodôntico fixo (instalação)", "Ortodontia", 1200, Kind::Strip, "Ortodontia"},
        {"Manutenção ortodôntica mensal", "Ortodontia", 180, Kind::Strip, "Ortodontia"},
        {"Aparelho ortodôntico removível", "Ortodontia", 800, Kind::Strip, "Ortodontia"},
        {"Contenção ortodôntica", "Ortodontia", 350, Kind::Strip, "Ortodontia"},
        {"Extração de dente decíduo", "Odontopediatria", 120, Kind::Tooth, "Extração"},
        {"Restauração em dente decíduo", "Odontopediatria", 150, Kind::Face, "Restauração em resina"},
    };
    return list;
}

std::span<const char* const> planNames() {
    static const char* const list[] = {"Odonto Vale",          "Sorriso Total",     "Dental Mais",
                                       "Bem-Estar Odonto",     "Uniclínica Dental", "Servidor Saúde Bucal",
                                       "Plano Família Dental", "Odonto Empresarial"};
    return list;
}

std::span<const char* const> productNames() {
    static const char* const list[] = {"Resina composta A2",
                                       "Resina composta A3",
                                       "Resina composta A3,5",
                                       "Luva de procedimento M",
                                       "Luva de procedimento P",
                                       "Máscara descartável",
                                       "Anestésico lidocaína 2%",
                                       "Agulha gengival curta",
                                       "Agulha gengival longa",
                                       "Sugador descartável",
                                       "Algodão em rolete",
                                       "Gaze estéril",
                                       "Ionômero de vidro",
                                       "Ácido fosfórico 37%",
                                       "Adesivo dental",
                                       "Broca diamantada 1012",
                                       "Broca diamantada 2135",
                                       "Lima endodôntica K 15",
                                       "Lima endodôntica K 25",
                                       "Cimento de fosfato de zinco",
                                       "Hipoclorito de sódio 2,5%",
                                       "Fio dental",
                                       "Pasta profilática",
                                       "Flúor gel",
                                       "Babador descartável",
                                       "Copo descartável",
                                       "Touca descartável",
                                       "Filme radiográfico",
                                       "Alginato",
                                       "Gesso pedra",
                                       "Fio de sutura 4-0",
                                       "Cone de guta-percha",
                                       "Ponta de papel absorvente",
                                       "Tira de lixa",
                                       "Matriz de aço",
                                       "Cunha de madeira"};
    return list;
}

std::span<const char* const> productBrands() {
    static const char* const list[] = {"3M",       "FGM",       "Dentsply", "Maquira",
                                       "SS White", "Ultradent", "Angelus",  "Vigodent"};
    return list;
}

std::span<const char* const> patientNotes() {
    static const char* const list[] = {"Paciente ansioso, prefere horários pela manhã.",
                                       "Alérgico a dipirona.",
                                       "Usa aparelho ortodôntico há dois anos.",
                                       "Hipertenso controlado.",
                                       "Indicado por outro paciente.",
                                       "Prefere contato por WhatsApp."};
    return list;
}

std::span<const char* const> appointmentNotes() {
    static const char* const list[] = {
        "Retorno",           "Avaliação", "Dor no dente",      "Manutenção do aparelho",
        "Limpeza semestral", "Moldagem",  "Remoção de pontos", "Orçamento"};
    return list;
}

std::span<const char* const> absenceReasons() {
    static const char* const list[] = {"Não compareceu", "Chegou 30 minutos atrasado",
                                       "Desmarcou no mesmo dia", "Problema de saúde"};
    return list;
}

// One photo for every patient who has one: a JPEG of about the wanted size.
QByteArray makePhoto(int wanted, Random& r) {
    QImage img(480, 640, QImage::Format_RGB32);
    const int base = r.below(60);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int dx = x - 240, dy = y - 260;
            const bool face = dx * dx * 4 + dy * dy * 2 < 200 * 200;
            const int n = int(r.next() % 40);
            line[x] = face ? qRgb(200 + n / 2, 160 + n / 2, 130 + n / 3)
                           : qRgb(base + 60 + n, base + 90 + n, 150 + n);
        }
    }
    QByteArray best;
    for (int quality = 95; quality >= 10; quality -= 5) {
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        QImageWriter w(&buf, "jpeg");
        w.setQuality(quality);
        if (!w.write(img)) throw PlainError(QStringLiteral("cannot write a JPEG: %1").arg(w.errorString()));
        best = bytes;
        if (bytes.size() <= wanted) break;
    }
    return best;
}

QByteArray makeIcon(int w, int h, QRgb color, int shape) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(color));
        if (shape == 0)
            p.drawEllipse(QRect(w / 4, h / 4, w / 2, h / 2));
        else if (shape == 1)
            p.drawRect(QRect(w / 5, h / 6, w * 3 / 5, h * 2 / 3));
        else
            p.drawRect(QRect(2, h / 2 - 3, w - 4, 6));
    }
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "BMP");
    return bytes;
}

} // namespace dv::bench
