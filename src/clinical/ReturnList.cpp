#include "ReturnList.h"

namespace dv::returns {

QString dueSql() {
    // One walk in patient order: the grouped pass over the consultations' covering
    // index drives, and each of its patients is looked up right behind it, on the
    // same index (the last consultation of that day, with its dentist) and on the
    // active patients' index, so each page is read once. The bookings from today on
    // are few: read once through their date, not looked up per patient. The engine
    // does not sort: the dataset does, in the collator's order.
    return QStringLiteral(
        "SELECT paciente.paciente_id, paciente.paciente_nome, paciente.paciente_fone, "
        "paciente.paciente_celular, dia.consulta_data, dentista.dentista_id, dentista.dentista_nome, "
        "tentativa.tentativa_data, tentativa.tentativa_obs "
        "FROM (select d.paciente_id, max(d.consulta_data) as consulta_data from consulta d "
        "INDEXED BY ix_consulta_ultima_id group by d.paciente_id having max(d.consulta_data) < :limite) dia "
        "CROSS JOIN paciente INDEXED BY ix_paciente_ativos "
        "LEFT JOIN dentista ON dentista.dentista_id = (select u.dentista_id from consulta u INDEXED BY "
        "ix_consulta_ultima_id where u.paciente_id = dia.paciente_id and u.consulta_data = dia.consulta_data "
        "order by u.consulta_id desc limit 1) "
        "LEFT JOIN retorno_tentativa tentativa ON tentativa.tentativa_id = (select max(t.tentativa_id) "
        "from retorno_tentativa t where t.paciente_id = paciente.paciente_id) "
        "where paciente.paciente_ativo = 'S' and paciente.paciente_id = dia.paciente_id "
        "and paciente.paciente_id not in (select agenda.paciente_id from agenda where "
        "agenda.agenda_data_consulta >= :hoje and agenda.paciente_id is not null)");
}

QString dueOrder() {
    return QStringLiteral("consulta_data, paciente_nome, paciente_id");
}

} // namespace dv::returns
