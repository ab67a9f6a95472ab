#pragma once

#include "office/OfficeApplication.h"

#include <QString>

namespace velmora {

// The title of every message box of the office's window.
QString officeWindowTitle();

// "Apellido1 Apellido2, Nombre" from the print record; empty when the first page was not read.
QString applicantName(const OfficeApplication& application);

// The line under the tables once a batch is read: how many applications, how many complete.
QString officeSummaryText(const OfficeReadOutcome& outcome);

// The text beside the progress bar: "Página 3 de 40".
QString officeProgressText(int done, int total);

} // namespace velmora
