#include "DemoCharting.h"

namespace dv::demo {

namespace {

int permanentTooth(bench::Random& r, int firstPosition, int lastPosition) {
    return r.between(1, 4) * 10 + r.between(firstPosition, lastPosition);
}

} // namespace

void adultCase(Charting& ch, bench::Random& r, std::vector<Item>& items, int plan) {
    const int roll = r.below(100);
    if (roll < 22) { // check-up
        ch.add(items, plan, "Consulta / avaliação inicial");
        ch.add(items, plan, "Radiografia panorâmica");
        ch.add(items, plan, "Profilaxia (limpeza)");
        if (r.chance(0.3)) ch.add(items, plan, "Raspagem e alisamento radicular (sextante)");
    } else if (roll < 55) { // fillings
        static const char* const fillings[] = {
            "Restauração em resina composta (por face)", "Restauração em resina composta (por face)",
            "Restauração em amálgama (por face)", "Restauração em ionômero de vidro (por face)"};
        for (int teeth = r.between(1, 4); teeth > 0; --teeth) {
            const int tooth = permanentTooth(r, 1, 7);
            const char* filling = fillings[r.below(4)];
            for (int faces = r.between(1, 2); faces > 0; --faces)
                ch.add(items, plan, filling, tooth);
        }
        if (r.chance(0.4)) ch.add(items, plan, "Radiografia periapical");
    } else if (roll < 70) { // root canal and crown
        const int tooth = permanentTooth(r, 1, 7);
        const int position = tooth % 10;
        ch.add(items, plan, "Radiografia periapical");
        ch.add(items, plan,
               position <= 3   ? "Tratamento de canal - unirradicular"
               : position <= 5 ? "Tratamento de canal - birradicular"
                               : "Tratamento de canal - multirradicular",
               tooth);
        if (r.chance(0.7)) {
            ch.add(items, plan, r.chance(0.5) ? "Pino de fibra de vidro" : "Núcleo metálico fundido", tooth);
            ch.add(items, plan, r.chance(0.6) ? "Coroa metalocerâmica" : "Coroa em cerâmica pura", tooth);
        }
    } else if (roll < 80) { // extraction
        if (r.chance(0.5))
            ch.add(items, plan, "Extração de siso (terceiro molar)", r.between(1, 4) * 10 + 8);
        else
            ch.add(items, plan, "Extração simples", permanentTooth(r, 4, 7));
        ch.add(items, plan, "Radiografia panorâmica");
    } else if (roll < 87) { // implant
        const int tooth = permanentTooth(r, 4, 7);
        ch.add(items, plan, "Dente ausente (registro)", tooth);
        ch.add(items, plan, "Implante dentário unitário", tooth);
        if (r.chance(0.6)) ch.add(items, plan, "Coroa sobre implante", tooth);
    } else if (roll < 92) { // removable prosthesis
        const int quadrant = r.between(1, 4);
        for (int position : {5, 6})
            ch.add(items, plan, "Dente ausente (registro)", quadrant * 10 + position);
        ch.add(items, plan, "Prótese parcial removível");
    } else if (roll < 96) { // orthodontics
        ch.add(items, plan, "Aparelho ortodôntico fixo (instalação)");
        for (int months = r.between(1, 3); months > 0; --months)
            ch.add(items, plan, "Manutenção ortodôntica mensal");
    } else { // emergency
        ch.add(items, plan, "Consulta de urgência");
        ch.add(items, plan, "Restauração em ionômero de vidro (por face)", permanentTooth(r, 1, 7));
        if (r.chance(0.5)) ch.add(items, plan, "Placa miorrelaxante (bruxismo)");
    }
}

void childCase(Charting& ch, bench::Random& r, std::vector<Item>& items, int plan, int age) {
    ch.add(items, plan, "Profilaxia (limpeza)");
    ch.add(items, plan, "Aplicação tópica de flúor");
    if (age >= 6)
        for (int quadrant = 1; quadrant <= 4; ++quadrant)
            if (r.chance(0.6)) ch.add(items, plan, "Selante (por dente)", quadrant * 10 + 6);
    const int deciduous = r.between(5, 8) * 10 + r.between(1, 5);
    if (r.chance(0.35))
        ch.add(items, plan, "Pulpotomia (dente decíduo)", deciduous);
    else if (r.chance(0.35))
        ch.add(items, plan, "Extração de dente decíduo", deciduous);
    if (r.chance(0.4))
        ch.add(items, plan, "Restauração em ionômero de vidro (por face)",
               r.between(5, 8) * 10 + r.between(4, 5));
}

} // namespace dv::demo
