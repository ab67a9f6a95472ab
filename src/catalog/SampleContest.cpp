#include "catalog/SampleContest.h"

#include "catalog/CatalogDecoder.h"
#include "platform/data/AtomicFile.h"
#include "platform/data/CodePages.h"

#include <QDir>
#include <QSet>

#include <array>

namespace velmora {
namespace {

// A small deterministic generator: the same seed gives the same contest everywhere.
class Random {
public:
    explicit Random(quint32 seed) : m_state(seed * 2654435761u + 0x9E3779B9u) {}
    quint32 next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int below(int n) { return n <= 0 ? 0 : int(next() % quint32(n)); }
    template <typename T, size_t N> const T& pick(const std::array<T, N>& items) {
        return items[size_t(below(int(N)))];
    }

private:
    quint32 m_state;
};

// Fixed-column text: pads or cuts each piece to its width.
class Line {
public:
    Line& put(const QString& text, int width) {
        m_text += text.leftJustified(width, QLatin1Char(' '), true);
        return *this;
    }
    Line& raw(const QString& text) {
        m_text += text;
        return *this;
    }
    QByteArray cp1252() const { return codepage::encodeCp1252(m_text); }
    QString text() const { return m_text; }

private:
    QString m_text;
};

QByteArray encodeCp850(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            out += char(c.unicode());
            continue;
        }
        char byte = '?';
        for (int b = 0x80; b < 0x100; ++b) {
            const char raw = char(b);
            if (codepage::decodeCp850(QByteArrayView(&raw, 1)).at(0) == c) {
                byte = raw;
                break;
            }
        }
        out += byte;
    }
    return out;
}

QString code(int number, int width) {
    return QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
}

const std::array<const char*, 5> kProvinceNames = {"Albacete", "Ciudad Real", "Cuenca", "Guadalajara",
                                                   "Toledo"};
const std::array<int, 5> kProvinceCodes = {2, 13, 16, 19, 45};

const std::array<const char*, 52> kSpanishProvinces = {
    "Álava",      "Albacete",  "Alicante",      "Almería",   "Ávila",       "Badajoz",     "Illes Balears",
    "Barcelona",  "Burgos",    "Cáceres",       "Cádiz",     "Castellón",   "Ciudad Real", "Córdoba",
    "A Coruña",   "Cuenca",    "Girona",        "Granada",   "Guadalajara", "Gipuzkoa",    "Huelva",
    "Huesca",     "Jaén",      "León",          "Lleida",    "La Rioja",    "Lugo",        "Madrid",
    "Málaga",     "Murcia",    "Navarra",       "Ourense",   "Asturias",    "Palencia",    "Las Palmas",
    "Pontevedra", "Salamanca", "S.C. Tenerife", "Cantabria", "Segovia",     "Sevilla",     "Soria",
    "Tarragona",  "Teruel",    "Toledo",        "Valencia",  "Valladolid",  "Bizkaia",     "Zamora",
    "Zaragoza",   "Ceuta",     "Melilla"};

const std::array<const char*, 24> kPlacePrefixes = {
    "Villanueva", "Torre",  "Castillo", "Fuente", "Valdepeñas",    "Alcázar",  "Puebla", "Navas",
    "Peñalver",   "Cañada", "Ávila",    "Écija",  "Olmedo",        "Almagro",  "Ocaña",  "Quintanar",
    "Membrilla",  "Úbeda",  "Horcajo",  "Mota",   "Villarrobledo", "Tarazona", "Yepes",  "Zarza"};
const std::array<const char*, 16> kPlaceSuffixes = {
    "",           " de Arriba",  " del Río",      " de la Sierra", " de los Montes", " de San Juan",
    " del Campo", " de la Peña", " de Montalbán", " del Monte",    " de Calatrava",  " la Vieja",
    " la Nueva",  " de Órbigo",  " del Castañar", " de Santiago"};

const std::array<const char*, 24> kSpecialties = {"Cardiología",
                                                  "Anestesiología y Reanimación",
                                                  "Pediatría",
                                                  "Neumología",
                                                  "Oftalmología",
                                                  "Medicina Interna",
                                                  "Cirugía General",
                                                  "Traumatología",
                                                  "Radiodiagnóstico",
                                                  "Psiquiatría",
                                                  "Urología",
                                                  "Dermatología",
                                                  "Neurología",
                                                  "Nefrología",
                                                  "Oncología Médica",
                                                  "Hematología",
                                                  "Geriatría",
                                                  "Reumatología",
                                                  "Endocrinología",
                                                  "Ginecología",
                                                  "Otorrinolaringología",
                                                  "Medicina Intensiva",
                                                  "Análisis Clínicos",
                                                  "Farmacia Hospitalaria"};
const std::array<const char*, 12> kOtherBodies = {"Enfermero/a",
                                                  "Técnico en Cuidados Auxiliares de Enfermería",
                                                  "Celador/a",
                                                  "Fisioterapeuta",
                                                  "Matrona",
                                                  "Técnico Superior en Radiodiagnóstico",
                                                  "Pinche",
                                                  "Auxiliar Administrativo",
                                                  "Médico de Familia de Atención Primaria",
                                                  "Pediatra de Atención Primaria",
                                                  "Grupo de Gestión de la Función Administrativa",
                                                  "Logopeda"};
const std::array<const char*, 12> kServices = {
    "Urgencias", "Hospitalización", "Consultas Externas", "Quirófano",      "Atención Primaria", "UCI",
    "Pediatría", "Radiología",      "Laboratorio",        "Rehabilitación", "Salud Mental",      "Admisión"};
const std::array<const char*, 8> kGroups = {"A1", "A2", "C1", "C2", "B", "E", "AP", "X"};

} // namespace

SampleSizes sampleSizes(SampleScale scale) {
    switch (scale) {
    case SampleScale::Small:
        return {10, 3, 3, 40, 12, 4, 8, 20, 100, 60, 100};
    case SampleScale::Realistic:
        return {150, 8, 5, 2500, 250, 15, 60, 400, 8000, 3000, 8000};
    case SampleScale::Large:
        return {150, 8, 5, 2500, 250, 15, 60, 400, 80000, 30000, 80000};
    }
    return {};
}

bool parseSampleScale(const QString& text, SampleScale& scale) {
    if (text == QLatin1String("small"))
        scale = SampleScale::Small;
    else if (text == QLatin1String("realistic"))
        scale = SampleScale::Realistic;
    else if (text == QLatin1String("large"))
        scale = SampleScale::Large;
    else
        return false;
    return true;
}

Status writeScrambledFile(const QString& path, const QList<QByteArray>& plainLines) {
    QByteArray bytes;
    for (const QByteArray& line : plainLines) {
        auto encoded = EncodeLine(line);
        if (!encoded)
            return encoded.error();
        bytes += *encoded;
        bytes += "\r\n";
    }
    return writeFileAtomically(path, bytes);
}

namespace {

struct Locality {
    QString code7; // province + number + "00"
    QString name;
    int province;
};

} // namespace

Status writeSampleContest(const QString& folder, SampleScale scale, quint32 seed) {
    const SampleSizes n = sampleSizes(scale);
    Random random(seed);
    const QDir root(folder);
    if (!root.mkpath(QStringLiteral("ficheros/temp")))
        return Error::make(ErrorCode::FileAccess,
                           QStringLiteral("No se pudo crear la carpeta %1").arg(folder));
    const QString data = root.filePath(QStringLiteral("ficheros"));
    auto catalogue = [&](const char* name, const QList<QByteArray>& lines) {
        return writeScrambledFile(QDir(data).filePath(QString::fromLatin1(name)), lines);
    };

    // Provinces of the whole country (addresses) and of the contest.
    QList<QByteArray> lines;
    for (size_t i = 0; i < kSpanishProvinces.size(); ++i)
        lines << Line().put(code(int(i) + 1, 2), 2).put(QString::fromUtf8(kSpanishProvinces[i]), 20).cp1252();
    VELMORA_TRY(catalogue("F0001.enc", lines));
    lines.clear();
    for (int p = 0; p < n.provinces; ++p)
        lines << Line()
                     .put(code(kProvinceCodes[size_t(p)], 2), 2)
                     .put(QString::fromUtf8(kProvinceNames[size_t(p)]), 20)
                     .cp1252();
    VELMORA_TRY(catalogue("F0002.enc", lines));

    // Localities: unique names, one in a hundred longer than 50 characters.
    std::vector<Locality> localities;
    QSet<QString> usedNames;
    lines.clear();
    for (int i = 0; i < n.localities; ++i) {
        const int province = kProvinceCodes[size_t(i % n.provinces)];
        QString name;
        do {
            name = QString::fromUtf8(random.pick(kPlacePrefixes)) +
                   QString::fromUtf8(random.pick(kPlaceSuffixes));
            if (usedNames.contains(name))
                name += QStringLiteral(" %1").arg(random.below(900) + 100);
        } while (usedNames.contains(name));
        if (i % 100 == 7)
            name += QStringLiteral(" y Pedanías del Término Municipal");
        usedNames.insert(name);
        const QString code5 = code(province, 2) + code(i / n.provinces + 1, 3);
        localities.push_back({code5 + QStringLiteral("00"), name, province});
        lines << Line().put(code5, 5).put(name, 60).cp1252();
    }
    VELMORA_TRY(catalogue("F0003.enc", lines));

    // Groups and bodies: every group has bodies; the last body belongs to group "X".
    lines.clear();
    QStringList groups;
    for (int g = 0; g < n.groups; ++g)
        groups << QString::fromLatin1(kGroups[size_t(g == n.groups - 1 ? 7 : g)]);
    for (const QString& g : groups)
        lines << Line().put(g, 2).cp1252();
    VELMORA_TRY(catalogue("F0005.enc", lines));
    lines.clear();
    QStringList bodyCodes;
    QStringList bodyGroups;
    QStringList bodyNames;
    for (int b = 0; b < n.bodies; ++b) {
        const QString group = b == n.bodies - 1 ? QStringLiteral("X") : groups[b % (groups.size() - 1)];
        QString name = b < int(kOtherBodies.size())
                           ? QString::fromUtf8(kOtherBodies[size_t(b)])
                           : QStringLiteral("Facultativo Especialista de Área de ") +
                                 QString::fromUtf8(kSpecialties[size_t(b) % kSpecialties.size()]);
        if (b >= int(kOtherBodies.size() + kSpecialties.size()))
            name += QStringLiteral(" (%1)").arg(b / int(kSpecialties.size()));
        const QString bodyCode = code(1000 + b * 7, 5);
        bodyCodes << bodyCode;
        bodyGroups << group;
        bodyNames << name;
        lines << Line().put(group, 2).put(bodyCode, 5).put(name, 100).cp1252();
    }
    VELMORA_TRY(catalogue("F0004.enc", lines));

    // Areas, zones (names in code page 850), departments and their institutions.
    lines.clear();
    std::vector<int> areaProvince;
    for (int a = 0; a < n.areas; ++a) {
        const int p = a % n.provinces;
        areaProvince.push_back(kProvinceCodes[size_t(p)]);
        const QString name =
            QStringLiteral("Área de Salud de %1%2")
                .arg(QString::fromUtf8(kProvinceNames[size_t(p)]))
                .arg(a >= n.provinces ? QStringLiteral(" %1").arg(a / n.provinces + 1) : QString());
        lines << Line().put(code(a + 1, 2), 8).put(name, 50).put(code(areaProvince.back(), 2), 2).cp1252();
    }
    VELMORA_TRY(catalogue("F0014.enc", lines));
    lines.clear();
    std::vector<QString> zoneOfArea(size_t(n.areas), QString());
    std::vector<int> zonesPerArea(size_t(n.areas), 0);
    for (int z = 0; z < n.zones; ++z) {
        const int area = z % n.areas;
        const int zone = ++zonesPerArea[size_t(area)];
        const Locality& place = localities[size_t(random.below(int(localities.size())))];
        QByteArray line = codepage::encodeCp1252(code(area + 1, 2) + code(zone, 2));
        line += encodeCp850(QStringLiteral("Zona Básica de Salud de %1").arg(place.name).left(50));
        lines << line;
    }
    VELMORA_TRY(catalogue("F0013.enc", lines));
    lines.clear();
    QStringList departmentNames;
    for (int d = 0; d < n.departments; ++d) {
        const Locality& place = localities[size_t(d % localities.size())];
        const QString name =
            (d % 3 == 0 ? QStringLiteral("Gerencia de Atención Integrada de ")
                        : (d % 3 == 1 ? QStringLiteral("Hospital General de ")
                                      : QStringLiteral("Gerencia de Atención Primaria de "))) +
            place.name;
        departmentNames << name.left(50);
        lines << Line()
                     .put(code(d + 1, 2), 2)
                     .put(name, 50)
                     .put(code(d % n.areas + 1, 2), 8)
                     .put(code(place.province, 2), 2)
                     .cp1252();
    }
    VELMORA_TRY(catalogue("F0006.enc", lines));
    lines.clear();
    for (int i = 0; i < n.institutions; ++i) {
        const Locality& place = localities[size_t(random.below(int(localities.size())))];
        lines << Line().put(code(i % n.departments + 1, 2), 2).put(place.code7, 7).cp1252();
    }
    VELMORA_TRY(catalogue("F0016.enc", lines));

    lines.clear();
    lines << Line()
                 .put(QStringLiteral("01"), 2)
                 .put(QStringLiteral("0"), 1)
                 .put(QStringLiteral("Servicio activo"), 60)
                 .cp1252()
          << Line()
                 .put(QStringLiteral("02"), 2)
                 .put(QStringLiteral("0"), 1)
                 .put(QStringLiteral("Excedencia voluntaria por interés particular"), 60)
                 .cp1252()
          << Line()
                 .put(QStringLiteral("03"), 2)
                 .put(QStringLiteral("0"), 1)
                 .put(QStringLiteral("Servicios especiales"), 60)
                 .cp1252()
          << Line()
                 .put(QStringLiteral("04"), 2)
                 .put(QStringLiteral("0"), 1)
                 .put(QStringLiteral("Excedencia por cuidado de familiares"), 60)
                 .cp1252()
          << Line()
                 .put(QStringLiteral("05"), 2)
                 .put(QStringLiteral("1"), 1)
                 .put(QStringLiteral("Otras situaciones"), 60)
                 .cp1252();
    VELMORA_TRY(catalogue("F0015.enc", lines));

    // Position details: one row per position code; one in fifty has an unknown area.
    auto details = [&](const char* name, int firstCode) {
        QList<QByteArray> rows;
        for (int i = 0; i < n.details; ++i) {
            const int body = random.below(n.bodies);
            const Locality& place = localities[size_t(random.below(int(localities.size())))];
            const int area = i % 50 == 13 ? 99 : random.below(n.areas) + 1;
            const int department = random.below(n.departments);
            const QString positionName = QStringLiteral("%1 - %2").arg(
                bodyNames[body].left(30), QString::fromUtf8(random.pick(kServices)));
            rows << Line()
                        .put(code(firstCode + i, 5), 5)
                        .put(positionName, 50)
                        .put(departmentNames[department], 50)
                        .put(place.name, 53)
                        .put(code(department + 1, 2), 2)
                        .put(place.code7, 7)
                        .put(code(area, 2), 8)
                        .put(code(random.below(17) + 1, 2), 8)
                        .cp1252();
        }
        return catalogue(name, rows);
    };
    VELMORA_TRY(details("F0009.enc", 10000));
    VELMORA_TRY(details("F0010.enc", 10000));

    // Offered positions: mostly codes of the details, a few that the details lack.
    auto offered = [&](const char* name) {
        QList<QByteArray> rows;
        const int stride = std::max(1, n.details / std::max(1, n.offered));
        for (int i = 0; i < n.offered; ++i) {
            const int missing = 10000 + n.details + (i / 40) % (89999 - n.details);
            const int number =
                i % 40 == 39 ? missing : 10000 + (i * stride + random.below(stride)) % n.details;
            rows << Line().put(code(number, 5), 5).cp1252();
        }
        return catalogue(name, rows);
    };
    VELMORA_TRY(offered("F0011.enc"));
    VELMORA_TRY(offered("F0012.enc"));

    // Links of positions to bodies and to groups; a few point at unknown positions, and
    // the second-to-last body gets none.
    lines.clear();
    QList<QByteArray> groupLinks;
    const int linkedBodies = std::max(1, n.bodies - 2);
    for (int i = 0; i < n.links; ++i) {
        const int number = i % 97 == 96 ? 10000 + n.details + 500 + i % 1000 : 10000 + i % n.details;
        const int body =
            i % linkedBodies == linkedBodies - 1 && n.bodies > 2 ? n.bodies - 1 : i % linkedBodies;
        lines << Line().put(code(number, 5), 5).put(QString(), 2).put(bodyCodes[body], 5).cp1252();
        groupLinks << Line().put(code(number, 5), 5).put(bodyGroups[body], 2).cp1252();
    }
    VELMORA_TRY(catalogue("F0008.enc", lines));
    VELMORA_TRY(catalogue("F0007.enc", groupLinks));

    // The headline, the contest configuration and an empty user store.
    const QString headline = QStringLiteral(
        "CONCURSO DE TRASLADOS DEL PERSONAL ESTATUTARIO\r\n"
        "Servicio Regional de Salud - Convocatoria de 2026\r\n"
        "\r\n"
        "Resolución de la Dirección General de Recursos Humanos por la que se convoca concurso de traslados "
        "para la provisión de plazas básicas.\r\n");
    VELMORA_TRY(writeFileAtomically(QDir(data).filePath(QStringLiteral("FicheroTexto.txt")),
                                    codepage::encodeCp1252(headline)));
    const QString conf = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Configuracion Nombre=\"Concurso de Traslados 2026 - Servicio Regional de Salud\" "
        "numPlazasPorPag=\"40\">\n"
        "  <Tab><NombreTab>Personales</NombreTab><Visibilidad>S</Visibilidad><TituloTab> Datos "
        "Personales</TituloTab>"
        "<TituloSobreGrid>DATOS PERSONALES Y PROFESIONALES</TituloSobreGrid></Tab>\n"
        "  <Tab><NombreTab>Cursos</NombreTab><Visibilidad>S</Visibilidad><TituloTab>Cursos</TituloTab>"
        "<TituloSobreGrid>CURSOS DE FORMACIÓN DE FUNCIONARIOS (Base tercera 4.)</TituloSobreGrid></Tab>\n"
        "  <Tab><NombreTab>Vacantes</NombreTab><Visibilidad>S</Visibilidad><TituloTab>Plazas "
        "Vacantes</TituloTab>"
        "<TituloSobreGrid>PUESTOS DE TRABAJO SOLICITADOS PLAZAS VACANTES</TituloSobreGrid></Tab>\n"
        "  <Tab><NombreTab>Resultas</NombreTab><Visibilidad>S</Visibilidad><TituloTab>Plazas "
        "Resultas</TituloTab>"
        "<TituloSobreGrid>PUESTOS DE TRABAJO SOLICITADOS PLAZAS RESULTAS</TituloSobreGrid></Tab>\n"
        "  <Tab><NombreTab>Documentos</NombreTab><Visibilidad>S</Visibilidad><TituloTab>Cursos "
        "Realizados</TituloTab>"
        "<TituloSobreGrid>DOCUMENTACIÓN QUE APORTA</TituloSobreGrid></Tab>\n"
        "</Configuracion>\n");
    VELMORA_TRY(writeFileAtomically(root.filePath(QStringLiteral("conf.xml")), conf.toUtf8()));
    VELMORA_TRY(
        writeFileAtomically(root.filePath(QStringLiteral("usuarios.xml")),
                            QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Usuarios/>\n")));
    return {};
}

} // namespace velmora
