#include "ReturnList.h"

namespace dv::returns {

QString dueSql() {
    // One grouped pass finds each patient's latest day; everything else is read
    // from covering indexes in patient order, never from the wide patient and
    // consultation rows. The cross join keeps SQLite walking the patients first.
    return QStringLiteral(
        "SELECT paciente.paciente_id, paciente.paciente_nome, paciente.paciente_fone, "
        "paciente.paciente_celular, ultima.consulta_data, ultima.dentista_id, dentista.dentista_nome, "
        "tentativa.tentativa_data, tentativa.tentativa_obs "
        "FROM paciente CROSS JOIN (select d.paciente_id, max(d.consulta_data) as consulta_data from consulta "
        "d "
        "group by d.paciente_id having max(d.consulta_data) < :limite) dia "
        "INNER JOIN consulta ultima ON ultima.paciente_id = dia.paciente_id and ultima.consulta_data = "
        "dia.consulta_data "
        "LEFT JOIN dentista ON dentista.dentista_id = ultima.dentista_id "
        "LEFT JOIN (select t.paciente_id, max(t.tentativa_id) as tentativa_id from retorno_tentativa t "
        "group by t.paciente_id) ut ON ut.paciente_id = paciente.paciente_id "
        "LEFT JOIN retorno_tentativa tentativa ON tentativa.tentativa_id = ut.tentativa_id "
        "where dia.paciente_id = paciente.paciente_id and paciente.paciente_ativo = 'S' "
        "and not exists (select 1 from consulta mais where mais.paciente_id = ultima.paciente_id and "
        "mais.consulta_data = ultima.consulta_data and mais.consulta_id > ultima.consulta_id) "
        "and not exists (select 1 from agenda where agenda.paciente_id = paciente.paciente_id and "
        "agenda.agenda_data_consulta >= :hoje) "
        "order by ultima.consulta_data, paciente.paciente_nome");
}

} // namespace dv::returns
