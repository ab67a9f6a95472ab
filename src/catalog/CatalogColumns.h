#pragma once

#include "platform/data/ColumnName.h"

// The columns of each catalogue table (CatalogTables), named once: code reads, filters and
// shows a column through these, as `col::Localities::CodProvincia`. Where two tables share a
// column name, each table has its own constant, so the table a name belongs to is plain.
namespace velmora::col {

namespace Bodies { // F0004
VELMORA_COLUMN(CodCuerpo)
VELMORA_COLUMN(DescCuerpo)
VELMORA_COLUMN(Grupo)
} // namespace Bodies

namespace Groups { // F0005
VELMORA_COLUMN(Grupo)
} // namespace Groups

namespace Provinces { // F0001, F0002
VELMORA_COLUMN(CodProvincia)
VELMORA_COLUMN(Provincia)
} // namespace Provinces

namespace Localities { // F0003
VELMORA_COLUMN(CodLocalidad)
VELMORA_COLUMN(Localidad)
VELMORA_COLUMN(CodProvincia)
} // namespace Localities

namespace Departments { // F0006: the institutions' departments
VELMORA_COLUMN(CodConsejeria)
VELMORA_COLUMN(Consejeria)
VELMORA_COLUMN(CodArea)
VELMORA_COLUMN(CodProvincia)
} // namespace Departments

namespace Areas { // F0014
VELMORA_COLUMN(CodArea)
VELMORA_COLUMN(Area)
VELMORA_COLUMN(CodProvincia)
} // namespace Areas

namespace Zones { // F0013, with the province of each zone's area
VELMORA_COLUMN(CodZona)
VELMORA_COLUMN(Zona)
VELMORA_COLUMN(CodArea)
VELMORA_COLUMN(CodProvincia)
VELMORA_COLUMN(CodInstitucion)
} // namespace Zones

namespace Situations { // F0015
VELMORA_COLUMN(CodSituacion)
VELMORA_COLUMN(Situacion)
VELMORA_COLUMN(esOtras)
} // namespace Situations

namespace Institutions { // F0016
VELMORA_COLUMN(CodInstitucion)
VELMORA_COLUMN(CodLocalidad)
} // namespace Institutions

namespace PositionBody { // F0008
VELMORA_COLUMN(CodPlaza)
VELMORA_COLUMN(CodCuerpo)
} // namespace PositionBody

namespace PositionGroup { // F0007
VELMORA_COLUMN(CodPlaza)
VELMORA_COLUMN(CodGrupo)
} // namespace PositionGroup

// The position details (F0009, F0010), the positions offered (F0011, F0012) and the
// candidate positions of a body, which all share these columns; only the vacancy details
// have Demarcacion.
namespace Positions {
VELMORA_COLUMN(CodConvocatoria)
VELMORA_COLUMN(NomConvocatoria)
VELMORA_COLUMN(Consejeria)
VELMORA_COLUMN(Localidad)
VELMORA_COLUMN(CodConsejeria)
VELMORA_COLUMN(CodLocalidad)
VELMORA_COLUMN(CodProvincia)
VELMORA_COLUMN(CodArea)
VELMORA_COLUMN(CodZona)
VELMORA_COLUMN(Area)
VELMORA_COLUMN(Demarcacion)
} // namespace Positions

} // namespace velmora::col
