#include "app/UserManualWriter.h"

#include "platform/docengine/Cursor.h"
#include "platform/docengine/Table.h"

#include <QColor>
#include <QDir>

namespace velmora {

using namespace docengine;

namespace {

const QString kArial = QStringLiteral("Arial");
const QString kTimes = QStringLiteral("Times New Roman");
const QColor kTableHeaderShade(0xD9, 0xE2, 0xF3);
const QColor kNoteShade(0xF2, 0xF2, 0xF2);

constexpr Twips kTextWidth = 11906 - 2 * 1418;

// Writes the manual's blocks. Body text may hold "**bold**" passages.
class ManualBuilder {
public:
    explicit ManualBuilder(Document& doc) : m_doc(doc), m_b(doc) {}

    void title(const QString& text, double size, const ParagraphFormat& format = {}) {
        m_b.paragraph(text, RunFormat{.font = kArial, .size = size, .bold = true}, format);
    }

    // Numbered chapter ("3. ...") and section ("3.2 ...") headings.
    void chapter(const QString& text) {
        ++m_chapter;
        m_section = 0;
        m_b.paragraph(QStringLiteral("%1. %2").arg(m_chapter).arg(text),
                      RunFormat{.font = kArial, .size = 14, .bold = true, .color = QColor(0x1F, 0x3A, 0x68)},
                      ParagraphFormat{.spaceBefore = 360, .spaceAfter = 120, .keepWithNext = true});
    }
    void section(const QString& text) {
        ++m_section;
        m_b.paragraph(QStringLiteral("%1.%2 %3").arg(m_chapter).arg(m_section).arg(text),
                      RunFormat{.font = kArial, .size = 11.5, .bold = true},
                      ParagraphFormat{.spaceBefore = 200, .spaceAfter = 80, .keepWithNext = true});
    }

    void para(const QString& text) {
        Cursor& c =
            m_b.paragraph(ParagraphFormat{.alignment = Alignment::Justify, .spaceAfter = 100}, body());
        rich(c, text, body());
    }

    // Numbered steps with a hanging indent.
    void steps(const QStringList& items) {
        int n = 0;
        for (const QString& item : items) {
            Cursor& c = m_b.paragraph(
                ParagraphFormat{.spaceAfter = 60, .indentLeft = 567, .firstLineIndent = -397}, body());
            c.insertText(QStringLiteral("%1.").arg(++n), body());
            c.insertTab();
            rich(c, item, body());
        }
        spacer();
    }

    void contents(const QStringList& entries) {
        for (const QString& entry : entries)
            m_b.paragraph(entry, RunFormat{.font = kArial, .size = 11},
                          ParagraphFormat{.spaceAfter = 80, .indentLeft = 567});
    }

    void bullets(const QStringList& items) {
        for (const QString& item : items) {
            Cursor& c = m_b.paragraph(
                ParagraphFormat{.spaceAfter = 60, .indentLeft = 567, .firstLineIndent = -283}, body());
            c.insertText(QStringLiteral("•"), body());
            c.insertTab();
            rich(c, item, body());
        }
        spacer();
    }

    // A table with a shaded header row; the widths are parts of the text width.
    void table(const QList<int>& parts, const QStringList& header, const QList<QStringList>& rows) {
        int total = 0;
        for (int p : parts)
            total += p;
        QList<Twips> widths;
        Twips used = 0;
        for (int i = 0; i < parts.size(); ++i) {
            const Twips w = i + 1 < parts.size() ? kTextWidth * parts.at(i) / total : kTextWidth - used;
            widths << w;
            used += w;
        }
        const RunFormat cellFont{.font = kArial, .size = 9};
        Table t = m_b.table(widths, 1, cellFont);
        for (int c = 0; c < header.size(); ++c) {
            if (auto at = t.cellCursor(1, c + 1); at.ok())
                at.value()
                    .setParagraphFormat(cellSpacing())
                    .insertText(header.at(c), RunFormat{.font = kArial, .size = 9, .bold = true});
            (void)t.setCellShading(1, c + 1, kTableHeaderShade);
        }
        (void)t.setRowFont(1, RunFormat{.bold = true});
        (void)t.setHeaderRow(1, true);
        for (const QStringList& row : rows) {
            auto r = t.addRow();
            if (!r.ok())
                return;
            for (int c = 0; c < row.size() && c < header.size(); ++c) {
                (void)t.setCellShading(r.value(), c + 1, Qt::white);
                if (auto at = t.cellCursor(r.value(), c + 1); at.ok()) {
                    at.value().setParagraphFormat(cellSpacing());
                    rich(at.value(), row.at(c), RunFormat{.font = kArial, .size = 9, .bold = false});
                }
            }
        }
        spacer();
    }

    // A shaded box with a remark.
    void note(const QString& text) {
        Table t = m_b.table({kTextWidth}, 1, body());
        (void)t.setCellShading(1, 1, kNoteShade);
        if (auto at = t.cellCursor(1, 1); at.ok()) {
            at.value().setParagraphFormat(ParagraphFormat{.spaceBefore = 60, .spaceAfter = 60});
            at.value().insertText(QStringLiteral("Importante: "),
                                  RunFormat{.font = kTimes, .size = 11, .bold = true});
            rich(at.value(), text, body());
        }
        spacer();
    }

    void pageBreak() { m_b.pageBreak(); }

private:
    static ParagraphFormat cellSpacing() { return ParagraphFormat{.spaceBefore = 30, .spaceAfter = 30}; }
    static RunFormat body() { return RunFormat{.font = kTimes, .size = 11, .bold = false}; }

    void spacer() { m_b.paragraph(ParagraphFormat{.spaceAfter = 0}, RunFormat{.font = kTimes, .size = 6}); }

    static void rich(Cursor& c, const QString& text, const RunFormat& base) {
        const QStringList parts = text.split(QStringLiteral("**"));
        for (int i = 0; i < parts.size(); ++i) {
            if (parts.at(i).isEmpty())
                continue;
            RunFormat f = base;
            f.bold = (i % 2) == 1;
            c.insertText(parts.at(i), f);
        }
    }

    Document& m_doc;
    DocumentBuilder m_b;
    int m_chapter = 0;
    int m_section = 0;
};

void coverAndContents(ManualBuilder& m) {
    m.title(QStringLiteral("SERVICIO REGIONAL DE SALUD"), 12,
            ParagraphFormat{.alignment = Alignment::Center, .spaceBefore = 2400});
    m.title(QStringLiteral("Dirección General de Recursos Humanos"), 10,
            ParagraphFormat{.alignment = Alignment::Center, .spaceAfter = 1200});
    m.title(QStringLiteral("Manual de Usuario"), 28,
            ParagraphFormat{.alignment = Alignment::Center, .spaceAfter = 240});
    m.title(QStringLiteral("Programa de solicitud de participación en el concurso de traslados"), 14,
            ParagraphFormat{.alignment = Alignment::Center, .spaceAfter = 2400});
    m.para(QStringLiteral(
        "Este manual explica cómo preparar, guardar e imprimir la solicitud de participación en el concurso "
        "de "
        "traslados del personal estatutario con el programa Velmora. Léalo antes de empezar y téngalo a mano "
        "mientras rellena su solicitud: puede abrirlo en cualquier momento desde el menú **Ayuda** del "
        "programa."));
    m.pageBreak();

    m.title(QStringLiteral("Contenido"), 16, ParagraphFormat{.spaceAfter = 200});
    m.contents({QStringLiteral("1. Introducción"), QStringLiteral("2. Acceso al programa"),
                QStringLiteral("3. La ventana de la solicitud"),
                QStringLiteral("4. Datos personales y profesionales"),
                QStringLiteral("5. Cursos de formación"), QStringLiteral("6. Documentación que aporta"),
                QStringLiteral("7. Plazas vacantes"), QStringLiteral("8. Filtros de localización"),
                QStringLiteral("9. Plazas resultas"), QStringLiteral("10. Guardar la solicitud"),
                QStringLiteral("11. Imprimir la solicitud"),
                QStringLiteral("12. Abrir, cargar otra y borrar solicitudes"),
                QStringLiteral("13. Cambiar la contraseña y salir del programa"),
                QStringLiteral("14. Mensajes más frecuentes")});
    m.pageBreak();
}

void introduction(ManualBuilder& m) {
    m.chapter(QStringLiteral("Introducción"));
    m.para(QStringLiteral(
        "Con este programa usted prepara su solicitud para el concurso de traslados: sus datos personales y "
        "profesionales, la lista ordenada de plazas vacantes que solicita, la lista ordenada de plazas de "
        "resultas, los cursos de formación y la documentación que aporta. El programa guarda la solicitud en "
        "su "
        "ordenador para que pueda completarla en varias sesiones y la imprime en el modelo oficial, con unos "
        "códigos de barras que permiten a la Administración leer sus datos sin errores de transcripción."));
    m.para(QStringLiteral("Cada instalación del programa corresponde a un único concurso, cuyo nombre "
                          "aparece en el título de las "
                          "ventanas junto con la versión del programa. Puede preparar una solicitud distinta "
                          "para cada categoría y "
                          "grupo en los que participe."));
    m.para(QStringLiteral("La ventana de la solicitud se organiza en pestañas:"));
    m.table({3, 7}, {QStringLiteral("Pestaña"), QStringLiteral("Contenido")},
            {{QStringLiteral("Datos Personales"),
              QStringLiteral("Datos del concurso, datos personales y datos profesionales (capítulo 4).")},
             {QStringLiteral("Cursos"), QStringLiteral("Cursos de formación de funcionarios (capítulo 5).")},
             {QStringLiteral("Plazas Vacantes"),
              QStringLiteral("Plazas vacantes solicitadas, por orden de preferencia (capítulos 7 y 8).")},
             {QStringLiteral("Plazas Resultas"),
              QStringLiteral("Plazas de resultas solicitadas, por orden de preferencia (capítulo 9).")},
             {QStringLiteral("Cursos Realizados"),
              QStringLiteral("Documentación que aporta con la solicitud (capítulo 6).")}});
    m.note(QStringLiteral(
        "los títulos de las pestañas los fija cada convocatoria y pueden variar ligeramente. Si la "
        "convocatoria no "
        "utiliza alguna de ellas, esa pestaña no aparece y tampoco su apartado en la solicitud impresa."));
}

void signIn(ManualBuilder& m) {
    m.chapter(QStringLiteral("Acceso al programa"));
    m.para(
        QStringLiteral("Para entrar en el programa sólo necesita su NIF y, a partir de su primera solicitud "
                       "guardada, su contraseña."));
    m.section(QStringLiteral("Identificación con el NIF"));
    m.para(QStringLiteral("Al arrancar el programa aparece la ventana **Validación de usuario**. Su NIF le "
                          "identifica: todas las "
                          "solicitudes que prepare quedan asociadas a él."));
    m.steps(
        {QStringLiteral("Escriba su NIF en la casilla **NIF**: ocho cifras y la letra, nueve caracteres en "
                        "total (por ejemplo 12345678Z). Los guiones, puntos y comas no se admiten; puede "
                        "escribir la letra en minúscula."),
         QStringLiteral("Al escribir el noveno carácter el programa comprueba el NIF. Si la letra no "
                        "corresponde a las cifras verá el mensaje \"DNI no válido\" y la casilla se vacía "
                        "para que lo escriba de nuevo."),
         QStringLiteral("Pulse el botón de aceptar que hay junto a la casilla."),
         QStringLiteral("Si es la primera vez que utiliza el programa, entra directamente: todavía no tiene "
                        "contraseña. La creará al guardar su primera solicitud (apartado 2.2)."),
         QStringLiteral(
             "Si ya tiene contraseña, aparece la casilla **Contraseña**. Escríbala y pulse el botón "
             "de aceptar que hay junto a ella. No importa si la escribe en mayúsculas o en "
             "minúsculas.")});
    m.para(QStringLiteral("Si la contraseña no es correcta verá el mensaje \"Usuario no válido\"; puede "
                          "intentarlo de nuevo tantas "
                          "veces como necesite. Si deja la contraseña en blanco, el mensaje es \"Es "
                          "obligatorio rellenar Usuario y "
                          "Password\". El botón **Salir** cierra el programa sin entrar."));

    m.section(QStringLiteral("Creación de la contraseña"));
    m.para(QStringLiteral(
        "La primera vez que guarde una solicitud, el programa le pide que cree su contraseña en la ventana "
        "**Contraseña**. Desde ese momento la necesitará para entrar."));
    m.steps({QStringLiteral(
                 "Escriba la contraseña en la casilla **Contraseña**. Debe tener al menos 6 caracteres."),
             QStringLiteral("Escríbala otra vez, exactamente igual, en **Repita la Contraseña**."),
             QStringLiteral("Pulse **Aceptar**.")});
    m.para(QStringLiteral("Si la contraseña es demasiado corta verá \"El password debe tener al menos 6 "
                          "caracteres\"; si las dos "
                          "casillas no coinciden (también en mayúsculas y minúsculas), \"Escriba la misma "
                          "contraseña en las dos "
                          "casillas\". En ambos casos se vacían las dos casillas para que vuelva a "
                          "escribirla. Guarde su contraseña "
                          "en un lugar seguro: sin ella no podrá abrir sus solicitudes guardadas."));

    m.section(QStringLiteral("Elección de la solicitud"));
    m.para(QStringLiteral(
        "Si ya tiene alguna solicitud guardada, tras identificarse aparece la ventana **CargarSolicitud** "
        "con la "
        "lista **Ficheros de Solicitudes**. Cada línea muestra el NIF, la categoría, el grupo, el nombre del "
        "fichero y la descripción de la categoría. Elija una de estas acciones:"));
    m.table({3, 7}, {QStringLiteral("Botón"), QStringLiteral("Qué hace")},
            {{QStringLiteral("Solicitud Nueva"), QStringLiteral("Abre una solicitud en blanco.")},
             {QStringLiteral("Cargar Solicitud"),
              QStringLiteral("Abre la solicitud elegida en la lista, con todos sus datos y listas.")},
             {QStringLiteral("Borrar Solicitud"),
              QStringLiteral("Borra la solicitud elegida, previa confirmación (capítulo 12).")}});
    m.para(QStringLiteral("Si pulsa **Cargar Solicitud** o **Borrar Solicitud** sin haber elegido ninguna, "
                          "el programa se lo recuerda "
                          "con el mensaje \"Seleccione una Solicitud\". Antes de abrirse la ventana de la "
                          "solicitud, una ventana de "
                          "progreso muestra la carga de los datos del concurso; espere a que termine."));
}

void editorWindow(ManualBuilder& m) {
    m.chapter(QStringLiteral("La ventana de la solicitud"));
    m.para(QStringLiteral("La ventana de la solicitud tiene un menú con estas opciones:"));
    m.table(
        {3, 7}, {QStringLiteral("Menú"), QStringLiteral("Qué hace")},
        {{QStringLiteral("Imprimir"),
          QStringLiteral("Guarda la solicitud y la imprime en el modelo oficial (capítulo 11).")},
         {QStringLiteral("Guardar"), QStringLiteral("Guarda la solicitud sin imprimirla (capítulo 10).")},
         {QStringLiteral("Cargar otra solicitud"),
          QStringLiteral("Permite guardar la solicitud actual y abrir otra (capítulo 12).")},
         {QStringLiteral("Salir"), QStringLiteral("Cierra el programa, preguntando antes si desea guardar.")},
         {QStringLiteral("Ayuda"), QStringLiteral("Abre este manual.")},
         {QStringLiteral("Cambiar contraseña"),
          QStringLiteral("Cambia su contraseña. Sólo aparece cuando ya tiene una.")}});
    m.para(QStringLiteral(
        "En una solicitud nueva, **Imprimir**, **Guardar** y **Cargar otra solicitud** están desactivados "
        "hasta "
        "que rellene el NIF, la categoría y el grupo en la primera pestaña. Tampoco puede pasar a las demás "
        "pestañas sin esos tres datos: si lo intenta, el programa vuelve a la primera pestaña con el mensaje "
        "\"Compruebe que ha rellenado los datos del formulario\"."));
    m.para(QStringLiteral("En las casillas numéricas (teléfono, código postal, horas, año, código de plaza, "
                          "orden) sólo se admiten "
                          "cifras; la tecla Intro pasa a la casilla siguiente."));
}

void personalData(ManualBuilder& m) {
    m.chapter(QStringLiteral("Datos personales y profesionales"));
    m.para(QStringLiteral(
        "La primera pestaña reúne los datos que aparecen en la primera hoja de la solicitud impresa. Empiece "
        "siempre por el NIF, la categoría y el grupo."));

    m.section(QStringLiteral("Datos personales"));
    m.table(
        {3, 7}, {QStringLiteral("Casilla"), QStringLiteral("Cómo se rellena")},
        {{QStringLiteral("NIF"),
          QStringLiteral("Obligatorio para guardar. Se comprueba al salir de la casilla. Una vez guardada la "
                         "solicitud ya no se puede cambiar.")},
         {QStringLiteral("Primer Apellido, Nombre"), QStringLiteral("Obligatorios para imprimir.")},
         {QStringLiteral("Segundo Apellido"), QStringLiteral("Si lo tiene.")},
         {QStringLiteral("Fec Nacimiento"),
          QStringLiteral("Obligatoria para imprimir. Escriba sólo las cifras: las barras se añaden solas "
                         "(12031980 queda 12/03/1980).")},
         {QStringLiteral("Teléfono"), QStringLiteral("Sólo cifras.")},
         {QStringLiteral("Domicilio, Localidad"),
          QStringLiteral("Su domicilio a efectos de notificaciones.")},
         {QStringLiteral("Provincia"),
          QStringLiteral("Elíjala en la lista; el código postal se rellena con el código de la provincia y "
                         "usted lo completa.")},
         {QStringLiteral("Cº Postal"), QStringLiteral("Sólo cifras.")},
         {QStringLiteral("Discapacidad"),
          QStringLiteral("Si marca **Sí** aparecen **Tipo** y **Adaptaciones Precisas**; si marca **No** se "
                         "ocultan y se vacían.")}});
    m.para(QStringLiteral("Las fechas se escriben como día/mes/año. Una fecha que no existe (por ejemplo "
                          "31/02/2000), posterior a "
                          "hoy o anterior a 01/01/1900 se rechaza con el mensaje \"Fecha Errónea\" y el "
                          "cursor vuelve a la casilla."));

    m.section(QStringLiteral("Datos del concurso"));
    m.bullets(
        {QStringLiteral("**Voluntario** / **Forzoso**: su forma de participación. Al elegir **Forzoso** "
                        "desaparece el apartado de convivencia familiar y se borran sus datos."),
         QStringLiteral("**Condiciona su solicitud por convivencia familiar**: si marca **Sí**, rellene los "
                        "datos del/la solicitante con el/la que condiciona su solicitud (Primer Apellido, "
                        "Segundo Apellido, Nombre y NIF). El NIF es obligatorio en ese caso."),
         QStringLiteral("**Solicita Reingreso**: **Sí** o **No**. Si su situación es **Activo**, queda "
                        "fijado en **No**."),
         QStringLiteral("**Preferencia que alega**: elija primero el **Área**; las listas de **Localidad** y "
                        "**ZBS** (zona básica de salud) se reducen a las de esa área.")});

    m.section(QStringLiteral("Datos profesionales"));
    m.steps(
        {QStringLiteral(
             "Elija su **Categoría** en la lista (no se puede escribir en ella). En la mayoría de "
             "categorías el **Grupo/Subgrupo** se rellena solo; en las demás, elíjalo en su lista."),
         QStringLiteral("Si ya tiene guardada una solicitud con el mismo NIF, categoría y grupo, el programa "
                        "le avisa con el mensaje **Solicitud Existente**: conteste **Sí** para cerrar el "
                        "programa (y abrir después esa solicitud desde la ventana de elección) o **No** para "
                        "elegir otra categoría y grupo."),
         QStringLiteral("Rellene **NºRegistro Personal** y **Fecha Ingreso en la categoría como fijo**."),
         QStringLiteral(
             "En **Situación Administrativa** marque **Activo** u **Otras**. Con **Otras** elija la "
             "situación en la lista; si es \"Otra\", escriba cuál en la casilla que aparece. "
             "Indique la **Fecha** de la situación."),
         QStringLiteral("Indique si tiene destino actual. Con **Sí** aparecen sus datos: carácter **De "
                        "carácter definitivo** (con la **Fecha toma posesión**) o **De carácter "
                        "provisional**, el **Servicio de Salud** (**TARVO** u **Otros**, en cuyo caso "
                        "escriba cuál) y la provincia, localidad o zona básica, institución, área y zona del "
                        "destino.")});
    m.note(QStringLiteral("la categoría y el grupo deciden qué plazas puede solicitar. En cuanto añada una "
                          "plaza a sus listas, o "
                          "guarde la solicitud, la categoría y el grupo ya no se pueden cambiar. Para "
                          "cambiar de categoría, borre "
                          "todas las plazas de las dos listas; si la solicitud ya está guardada, prepare "
                          "mejor una solicitud nueva."));
}

void coursesAndDocuments(ManualBuilder& m) {
    m.chapter(QStringLiteral("Cursos de formación"));
    m.para(QStringLiteral("En la pestaña **Cursos** relacione los cursos de formación de funcionarios que "
                          "alega. Cada curso ocupa "
                          "una línea de la lista, con su nombre, horas, año y centro."));
    m.section(QStringLiteral("Añadir un curso"));
    m.steps(
        {QStringLiteral("Pulse **Añadir**."),
         QStringLiteral("Escriba el **Curso**, el **Nº de Horas** (mayor que 0), el **Año** (entre 1950 y el "
                        "año actual) y el **Centro** que lo impartió. Las cuatro casillas son obligatorias."),
         QStringLiteral("Pulse **Aceptar**. El curso se añade al final de la lista.")});
    m.section(QStringLiteral("Modificar o borrar un curso"));
    m.steps({QStringLiteral("Seleccione la línea del curso en la lista (una sola línea)."),
             QStringLiteral("Pulse **Modificar**, cambie los datos y pulse **Aceptar**; o pulse **Borrar** y "
                            "confirme con **Sí** la pregunta \"¿Desea borrar la fila seleccionada?\"."),
             QStringLiteral("**Cancelar** vacía las casillas sin cambiar la lista.")});

    m.chapter(QStringLiteral("Documentación que aporta"));
    m.para(QStringLiteral(
        "En la pestaña **Cursos Realizados** relacione los documentos que acompañan a su solicitud. Funciona "
        "igual que la de cursos: **Añadir**, rellenar y **Aceptar**; **Modificar** y **Borrar** sobre la "
        "línea "
        "seleccionada."));
    m.table({3, 7}, {QStringLiteral("Casilla"), QStringLiteral("Contenido")},
            {{QStringLiteral("Documento"),
              QStringLiteral("Nombre del documento. Es la única casilla obligatoria.")},
             {QStringLiteral("Nº Horas"), QStringLiteral("Horas del curso que acredita, si procede.")},
             {QStringLiteral("Fecha Fin."), QStringLiteral("Fecha de finalización.")},
             {QStringLiteral("Centro Formación"), QStringLiteral("Centro que expide el documento.")}});
    m.para(
        QStringLiteral("En la solicitud impresa los documentos aparecen numerados en el orden de la lista."));
}

void vacancies(ManualBuilder& m) {
    m.chapter(QStringLiteral("Plazas vacantes"));
    m.para(QStringLiteral(
        "En la pestaña **Plazas Vacantes** forme la lista de plazas que solicita, por orden de preferencia: "
        "la "
        "plaza con orden 1 es la que más le interesa. Sólo puede elegir plazas ofertadas a su categoría, que "
        "aparece encima de la lista. El programa mantiene siempre los órdenes seguidos (1, 2, 3...) al "
        "añadir, "
        "modificar o borrar plazas."));
    m.section(QStringLiteral("Añadir una plaza en un orden"));
    m.steps(
        {QStringLiteral("Si lo desea, reduzca las plazas disponibles con los filtros de localización "
                        "(capítulo 8). La etiqueta **Códigos Localizados** indica cuántas plazas quedan."),
         QStringLiteral("Elija la plaza en la lista de puestos, o escriba su código de cinco cifras en la "
                        "casilla del código y pase a la siguiente casilla."),
         QStringLiteral(
             "Escriba en la casilla de orden la posición que quiere darle. Si la deja en blanco, o "
             "escribe un número mayor que el de plazas de la lista, la plaza se añade al final."),
         QStringLiteral("Si procede, escriba la demarcación."),
         QStringLiteral(
             "Pulse **Aceptar**. Si el orden elegido ya estaba ocupado, esa plaza y las siguientes "
             "bajan un puesto.")});
    m.para(QStringLiteral("Si la plaza no es de la lista verá \"El puesto elegido no es válido\"; si ya la "
                          "había añadido, \"Este "
                          "puesto ya ha sido agregado a la solicitud\"."));
    m.section(QStringLiteral("Cambiar el orden de una plaza"));
    m.steps(
        {QStringLiteral("Seleccione la plaza en la lista (una sola línea) y pulse **Modificar**."),
         QStringLiteral("Escriba el nuevo orden (y, si quiere, cambie la demarcación). La plaza en sí no se "
                        "puede cambiar: para eso bórrela y añada otra."),
         QStringLiteral("Pulse **Aceptar**. Las demás plazas se desplazan para dejarle sitio. Un orden mayor "
                        "que el número de plazas la coloca la última.")});
    m.para(
        QStringLiteral("Si deja el orden en blanco, el mensaje \"Debe asignar un orden a esta plaza\" se lo "
                       "recuerda."));
    m.section(QStringLiteral("Borrar una plaza"));
    m.para(QStringLiteral(
        "Seleccione la plaza, pulse **Borrar** y confirme con **Sí**. Las plazas siguientes suben un puesto. "
        "Cuando las listas de vacantes y de resultas quedan vacías, puede volver a elegir la categoría."));
    m.section(QStringLiteral("Insertar todas las plazas"));
    m.para(QStringLiteral(
        "**Insertar Todas** añade al final de la lista, por orden de código, todas las plazas que muestran "
        "los "
        "filtros en ese momento y que aún no estén en la lista. Las que ya estaban conservan su orden. Úselo "
        "con los filtros para añadir de una vez, por ejemplo, todas las plazas de una provincia."));
}

void filters(ManualBuilder& m) {
    m.chapter(QStringLiteral("Filtros de localización"));
    m.para(QStringLiteral(
        "Encima de la lista de puestos de las pestañas de vacantes y de resultas hay unas listas "
        "desplegables que "
        "reducen las plazas mostradas por su localización. Cada elección reduce también las demás listas, de "
        "forma que sólo pueda elegir combinaciones que existen."));
    m.table(
        {3, 7}, {QStringLiteral("Filtro"), QStringLiteral("Efecto")},
        {{QStringLiteral("Provincia"),
          QStringLiteral("Se elige primero. Muestra las plazas de la provincia y activa los filtros de "
                         "institución y área.")},
         {QStringLiteral("Institución"),
          QStringLiteral(
              "Muestra las plazas de la institución (consejería o gerencia) elegida; las listas de "
              "localidades y zonas se reducen a las de esa institución.")},
         {QStringLiteral("Área"), QStringLiteral("Muestra las plazas del área de salud elegida.")},
         {QStringLiteral("Localidad"),
          QStringLiteral("Muestra las plazas de la localidad. Mientras haya una localidad elegida, la zona "
                         "básica no se puede elegir.")},
         {QStringLiteral("Zona Básica"),
          QStringLiteral("Muestra las plazas de la zona básica de salud. Mientras haya una zona elegida, la "
                         "localidad no se puede elegir.")}});
    m.steps(
        {QStringLiteral("Elija la **Provincia**. A partir de ese momento la provincia queda fijada."),
         QStringLiteral("Afine, si lo desea, con la institución, el área y la localidad o la zona básica."),
         QStringLiteral("Consulte en **Códigos Localizados** cuántas plazas quedan y elija entre ellas."),
         QStringLiteral(
             "Pulse **Cancelar** para quitar todos los filtros y volver a ver todas las plazas.")});
    m.para(QStringLiteral("Si escribe un código de plaza sin haber elegido ningún filtro, el programa busca "
                          "ese código entre todas "
                          "las plazas de su categoría."));
}

void resultas(ManualBuilder& m) {
    m.chapter(QStringLiteral("Plazas resultas"));
    m.para(QStringLiteral(
        "La pestaña **Plazas Resultas** sirve para solicitar, también por orden de preferencia, plazas que "
        "pueden quedar libres durante el concurso. Se maneja exactamente igual que la de vacantes "
        "(**Añadir**, "
        "**Modificar**, **Borrar**, **Insertar Todas**, **Aceptar** y **Cancelar**), con estas "
        "diferencias:"));
    m.bullets(
        {QStringLiteral("No hay casilla de demarcación ni contador de códigos localizados."),
         QStringLiteral("Sus filtros (provincia, localidad, institución, área y zona) son independientes "
                        "de los de vacantes; la provincia se puede cambiar en cualquier momento."),
         QStringLiteral("Una misma plaza puede figurar a la vez en la lista de vacantes y en la de "
                        "resultas.")});
}

void saving(ManualBuilder& m) {
    m.chapter(QStringLiteral("Guardar la solicitud"));
    m.para(QStringLiteral("Guarde su trabajo a menudo con el menú **Guardar**. La solicitud se guarda en la "
                          "carpeta ficheros\\temp "
                          "del programa, en un documento cuyo nombre se forma con su NIF, el código de la "
                          "categoría y el grupo, "
                          "junto con un fichero de datos con sus listas."));
    m.steps({QStringLiteral("Compruebe que el NIF, la categoría y el grupo están rellenos."),
             QStringLiteral("Pulse **Guardar** en el menú."),
             QStringLiteral("La primera vez, cree su contraseña (apartado 2.2)."),
             QStringLiteral("Espere a que desaparezca la ventana \"Guardando Datos ...\".")});
    m.para(QStringLiteral("Si falta algún dato imprescindible, el programa no guarda y le indica cuál:"));
    m.bullets(
        {QStringLiteral("\"Es necesario rellenar el DNI para grabar los datos o imprimir el informe\""),
         QStringLiteral("\"Es necesario seleccionar un cuerpo o escala para grabar los datos o imprimir el "
                        "informe\""),
         QStringLiteral("\"Es necesario seleccionar un grupo para grabar los datos o imprimir el informe\""),
         QStringLiteral("\"El DNI de su cónyuge no es válido\": ha marcado que condiciona su solicitud pero "
                        "no ha escrito el NIF del otro solicitante.")});
}

void printing(ManualBuilder& m) {
    m.chapter(QStringLiteral("Imprimir la solicitud"));
    m.para(QStringLiteral(
        "El menú **Imprimir** guarda la solicitud y la imprime en el modelo oficial. Si su ordenador tiene "
        "una "
        "impresora predeterminada, la solicitud se envía a ella; si no, se crea un documento PDF con el "
        "mismo "
        "nombre que la solicitud, en la carpeta ficheros\\temp, y se abre para que lo imprima o lo guarde."));
    m.section(QStringLiteral("Impresión definitiva"));
    m.steps(
        {QStringLiteral("Revise todas las pestañas. Para imprimir son obligatorios el **Nombre**, el "
                        "**Primer Apellido**, la **Fecha de nacimiento** y al menos una plaza vacante o de "
                        "resultas."),
         QStringLiteral("Pulse **Imprimir** en el menú."),
         QStringLiteral(
             "Aparece el mensaje \"IMPORTANTE: Espere unos momentos, se está imprimiendo la "
             "solicitud. Cuando estén todas las hojas impresas, pulse el botón Aceptar.\" Espere a "
             "que salgan todas las hojas y pulse **Aceptar**."),
         QStringLiteral("Durante unos segundos las opciones **Imprimir**, **Guardar** y **Cargar otra "
                        "solicitud** quedan desactivadas y el programa no se puede cerrar; después vuelven "
                        "a estar disponibles.")});
    m.section(QStringLiteral("Copia borrador"));
    m.para(QStringLiteral(
        "Si falta alguno de los datos obligatorios para imprimir, el programa le indica cuál (por ejemplo "
        "\"El "
        "campo Nombre es obligatorio\" o \"No hay ninguna plaza seleccionada\") y le pregunta \"Faltan datos "
        "por "
        "rellenar. ¿Desea imprimir una copia borrador de la solicitud?\". Si contesta **Sí**, se imprime una "
        "copia con la palabra BORRADOR en la primera hoja y sin códigos de barras, útil para revisar la "
        "solicitud. "
        "Una copia borrador no sirve para presentarla."));
    m.section(QStringLiteral("La solicitud impresa"));
    m.table(
        {3, 7}, {QStringLiteral("Hoja"), QStringLiteral("Contenido")},
        {{QStringLiteral("Primera"),
          QStringLiteral("Datos del concurso, personales y profesionales, código de barras con esos datos y "
                         "lugar para la fecha y la firma.")},
         {QStringLiteral("Segunda"),
          QStringLiteral("Datos de referencia, cursos de formación y documentación que aporta.")},
         {QStringLiteral("Siguientes"),
          QStringLiteral("Plazas vacantes y de resultas, con un código de barras en cada hoja.")}});
    m.note(QStringLiteral(
        "firme la primera hoja y presente todas las hojas impresas, sin tachaduras ni añadidos a mano, en el "
        "lugar y plazo que indique la convocatoria. Si cambia algo, vuelva a imprimir la solicitud completa: "
        "los "
        "códigos de barras deben corresponder exactamente a los datos impresos."));
}

void reopening(ManualBuilder& m) {
    m.chapter(QStringLiteral("Abrir, cargar otra y borrar solicitudes"));
    m.para(QStringLiteral("Sus solicitudes guardadas quedan en el ordenador hasta que usted las borre; puede "
                          "abrirlas de nuevo cuantas veces quiera."));
    m.section(QStringLiteral("Abrir una solicitud guardada"));
    m.para(QStringLiteral("Entre en el programa con su NIF y contraseña, elija la solicitud en la lista de "
                          "la ventana de elección y "
                          "pulse **Cargar Solicitud**. Se recuperan todos sus datos y listas. El NIF, la "
                          "categoría y el grupo de una "
                          "solicitud guardada no se pueden cambiar."));
    m.section(QStringLiteral("Cargar otra solicitud"));
    m.para(QStringLiteral(
        "Con el menú **Cargar otra solicitud** el programa pregunta \"¿Guardar la solicitud actual?\":"));
    m.bullets({QStringLiteral("**Sí**: guarda la solicitud actual y sigue en ella."),
               QStringLiteral("**No**: cierra la solicitud sin guardar y muestra la ventana de elección para "
                              "abrir o borrar otra."),
               QStringLiteral("**Cancelar**: no hace nada.")});
    m.section(QStringLiteral("Borrar una solicitud"));
    m.steps({QStringLiteral("En la ventana de elección, elija la solicitud en la lista."),
             QStringLiteral("Pulse **Borrar Solicitud**."),
             QStringLiteral(
                 "Confirme con **Sí** la pregunta \"¿Desea borrar esta solicitud?\". La solicitud y su "
                 "fichero de datos se borran definitivamente.")});
}

void passwordAndExit(ManualBuilder& m) {
    m.chapter(QStringLiteral("Cambiar la contraseña y salir del programa"));
    m.para(QStringLiteral(
        "Cambie su contraseña siempre que lo crea conveniente y cierre el programa cuando haya "
        "guardado su trabajo."));
    m.section(QStringLiteral("Cambiar la contraseña"));
    m.steps({QStringLiteral("Pulse **Cambiar contraseña** en el menú."),
             QStringLiteral("Escriba la nueva contraseña dos veces, en **Contraseña** y en **Repita la "
                            "Contraseña** (al menos 6 caracteres)."),
             QStringLiteral("Pulse **Aceptar**. **Salir** cierra la ventana sin cambiar nada.")});
    m.section(QStringLiteral("Salir del programa"));
    m.para(
        QStringLiteral("Use el menú **Salir** o cierre la ventana. El programa pregunta \"La aplicación se "
                       "cerrará, ¿desea guardar "
                       "los cambios?\": **Sí** guarda y cierra, **No** cierra sin guardar y **Cancelar** "
                       "vuelve a la solicitud. "
                       "Mientras se está imprimiendo, la ventana no se puede cerrar; espere unos segundos."));
}

void messages(ManualBuilder& m) {
    m.chapter(QStringLiteral("Mensajes más frecuentes"));
    m.table(
        {5, 5}, {QStringLiteral("Mensaje"), QStringLiteral("Qué hacer")},
        {{QStringLiteral("DNI no válido"),
          QStringLiteral("La letra no corresponde a las cifras. Revise el NIF.")},
         {QStringLiteral("Usuario no válido"),
          QStringLiteral("La contraseña no es correcta. Inténtelo de nuevo.")},
         {QStringLiteral("Compruebe que ha rellenado los datos del formulario"),
          QStringLiteral("Rellene NIF, categoría y grupo antes de cambiar de pestaña.")},
         {QStringLiteral("Fecha Errónea"),
          QStringLiteral("Escriba una fecha válida, entre 01/01/1900 y hoy, como día/mes/año.")},
         {QStringLiteral("El grupo seleccionado no es válido"),
          QStringLiteral("Elija el grupo en su lista.")},
         {QStringLiteral("Solicitud Existente"),
          QStringLiteral("Ya tiene una solicitud para esa categoría y grupo: ábrala desde la ventana de "
                         "elección o elija otros.")},
         {QStringLiteral("El puesto elegido no es válido"), QStringLiteral("Elija la plaza en la lista.")},
         {QStringLiteral("Este puesto ya ha sido agregado a la solicitud"),
          QStringLiteral("La plaza ya está en la lista; cambie su orden con Modificar si lo desea.")},
         {QStringLiteral("Debe asignar un orden a esta plaza"), QStringLiteral("Escriba el nuevo orden.")},
         {QStringLiteral("No hay ninguna plaza seleccionada"),
          QStringLiteral("Añada al menos una plaza vacante o de resultas antes de imprimir.")},
         {QStringLiteral("Error en la carga de datos..."),
          QStringLiteral("Guarde la solicitud, cierre el programa y vuelva a abrirlo.")}});
}

} // namespace

QString userManualPath(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("Manual de Usuario.doc"));
}

Document buildUserManual() {
    Document doc;
    PageSetup page;
    page.marginLeft = 1418;
    page.marginRight = 1418;
    doc.setPageSetup(page);
    doc.setDefaultFont(RunFormat{.font = kTimes, .size = 11});
    doc.setDefaultParagraphFormat(ParagraphFormat{.spaceBefore = 0, .spaceAfter = 0, .lineSpacing = 1.0});

    Cursor footer = doc.footerCursor();
    footer.setAlignment(Alignment::Center);
    footer.insertText(QStringLiteral("Manual de Usuario - Página "), RunFormat{.font = kArial, .size = 8});
    footer.setFont(RunFormat{.font = kArial, .size = 8}).insertPageNumber();
    footer.insertText(QStringLiteral(" de "), RunFormat{.font = kArial, .size = 8});
    footer.setFont(RunFormat{.font = kArial, .size = 8}).insertPageCount();

    ManualBuilder m(doc);
    coverAndContents(m);
    introduction(m);
    signIn(m);
    editorWindow(m);
    personalData(m);
    coursesAndDocuments(m);
    vacancies(m);
    filters(m);
    resultas(m);
    saving(m);
    printing(m);
    reopening(m);
    passwordAndExit(m);
    messages(m);
    return doc;
}

Status writeUserManual(const QString& programFolder) {
    Document doc = buildUserManual();
    return doc.saveAs(userManualPath(programFolder));
}

} // namespace velmora
