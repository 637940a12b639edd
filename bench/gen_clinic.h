#pragma once
#include "gen_people.h"
#include <QByteArray>
#include <QRgb>
#include <span>

namespace dv::bench {

// How a service is drawn on the odontogram: not at all, on a tooth face
// (quadrants Q1-Q4), on a whole tooth (DS, DI) or on the prosthesis strip (TO).
enum class Kind { None, Face, Tooth, Strip };

struct ServiceDef {
    const char* name;
    const char* ramo;
    int price; // reais, "Particular"
    Kind kind;
    const char* icon; // icon family name
};

// A clinic's usual services, fictitious plans, stock materials and short notes.
std::span<const ServiceDef> clinicServices();
std::span<const char* const> planNames();
std::span<const char* const> productNames();
std::span<const char* const> productBrands();
std::span<const char* const> patientNotes();
std::span<const char* const> appointmentNotes();
std::span<const char* const> absenceReasons();

// A JPEG portrait of at most about wantedBytes (one picture serves every patient).
QByteArray makePhoto(int wantedBytes, Random& r);
// A small bitmap icon: shape 0 a dot (face), 1 a block (tooth), 2 a bar (strip).
QByteArray makeIcon(int w, int h, QRgb color, int shape);

} // namespace dv::bench
