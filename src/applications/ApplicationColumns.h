#pragma once

#include "platform/data/ColumnName.h"

// The columns of the application's tables, named once: the four lists the editor fills,
// saves, prints and reads back, and the table of an applicant's saved applications. The
// saved application files name their elements after the list columns.
namespace velmora::col {

// The vacancy and resultas lists: one row per position asked for.
namespace PreferenceList {
VELMORA_COLUMN(IdSolicitud)
VELMORA_COLUMN(Orden)
VELMORA_COLUMN(CodConvocatoria)
VELMORA_COLUMN(NomConvocatoria)
VELMORA_COLUMN(Consejeria)
VELMORA_COLUMN(Localidad)
VELMORA_COLUMN(CodArea)
VELMORA_COLUMN(CodZona)
VELMORA_COLUMN(Area)
VELMORA_COLUMN(Zona)
VELMORA_COLUMN(Demarcacion)
} // namespace PreferenceList

namespace Courses {
VELMORA_COLUMN(Curso)
VELMORA_COLUMN(NHoras)
VELMORA_COLUMN(Ano)
VELMORA_COLUMN(Centro)
VELMORA_COLUMN(IdCurso)
} // namespace Courses

namespace Documents {
VELMORA_COLUMN(IdDocumento)
VELMORA_COLUMN(Documento)
VELMORA_COLUMN(Horas)
VELMORA_COLUMN(Fecha)
VELMORA_COLUMN(Centro)
} // namespace Documents

// An applicant's saved applications, as the selection window lists them.
namespace ApplicationFiles {
VELMORA_COLUMN(Fichero)
VELMORA_COLUMN(DNI)
VELMORA_COLUMN(Cuerpo)
VELMORA_COLUMN(DescCuerpo)
VELMORA_COLUMN(Grupo)
VELMORA_COLUMN(Fecha)     // when the application was saved last
VELMORA_COLUMN(Solicitud) // DNI, body and date, as the closed list shows one of several
} // namespace ApplicationFiles

} // namespace velmora::col
