#pragma once

#include <QString>

namespace velmora {

class ApplicationModel;
class MessageService;
class RecordSet;

// The print check: name, first surname, date of birth and at least one requested
// position (vacancy or resultas). Shows the first failure ("Validación") and returns false.
bool ValidaDatosImpresion(const ApplicationModel& model, const RecordSet& vacancies,
                          const RecordSet& resultas, MessageService& messages);

// The save check: DNI, a body and a group picked from their lists, and the other
// applicant's DNI when the application is conditioned on it. Shows the first failure
// ("Datos no válidos") and returns false.
bool ValidaDatosGrabacion(const ApplicationModel& model, MessageService& messages);

// Whether DNI, body and group all show a text: what the list tabs, the application's menu
// entries and the existing-application check wait for.
bool identityShown(const ApplicationModel& model);
// The guard of the list tabs: without DNI, body and group, "Compruebe que ha rellenado los
// datos del formulario" ("Datos incompletos") and false.
bool checkListTabsMayOpen(const ApplicationModel& model, MessageService& messages);

// The application's file name from the DNI text and the codes (values) of the body and
// group drop-downs.
QString applicationFileNameOf(const ApplicationModel& model);

enum class ExistingApplication {
    None,         // no saved application with this DNI, body and group (or one of them is missing)
    QuitProgram,  // one exists and the applicant chose to close the program
    ChooseAnother // one exists; body and group were cleared so that others are picked
};

// CompruebaSolicitudExistente: when DNI, body and group all show a text and the
// application's document exists in `applicationsFolder`, asks what to do. On "No" the
// body and group drop-downs of `model` are cleared; on "Sí" the caller ends the program.
ExistingApplication CompruebaSolicitudExistente(ApplicationModel& model, const QString& applicationsFolder,
                                                MessageService& messages);

} // namespace velmora
