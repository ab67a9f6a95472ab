#include "ui/GuidedWalk.h"
#include "editor/ControlName.h"

#include "platform/MessageService.h"
#include "platform/widgets/DataComboBox.h"
#include "ui/EditorWindow.h"
#include "ui/ProgramController.h"
#include "users/DniValidator.h"
#include "users/UserStore.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>

#include <functional>

namespace velmora {
namespace {

// A DNI no user of this installation has yet, so that the walk signs in as a new applicant
// however often it runs on one installation: 12345678Z, else the next free number.
QString unusedApplicantDni(const UserStore& users) {
    int number = 12345678;
    while (users.ExisteUsuario(dniOf(number)))
        ++number;
    return dniOf(number);
}
constexpr auto kPassword = "velmora1";

// Says every message on the terminal and answers it with its first button.
class NarratedMessages : public MessageService {
public:
    MessageAnswer show(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons) override {
        if (icon == MessageIcon::Critical)
            ++failures;
        QTextStream(stdout) << "  [mensaje] " << (title.isEmpty() ? programTitle() : title) << ": "
                            << QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')) << Qt::endl;
        return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageAnswer::Yes
                                                                                          : MessageAnswer::Ok;
    }
    // Messages that told of a failure: a walk that met one did not do what it says.
    int failures = 0;
};

QWidget* topLevel(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

template <typename T> T* child(QWidget* root, const QString& name) {
    return root ? root->findChild<T*>(name) : nullptr;
}

void say(const QString& text) {
    QTextStream(stdout) << text << Qt::endl;
}

// Types into a box as a person does: focus, the text, then the box is left with Tab.
void typeInto(QLineEdit* box, const QString& text) {
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(box, &release);
    }
}

void press(QWidget* widget, Qt::Key key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &up);
}

// Steps that wait for a window, act on it, and hand over to the next step.
class Walk : public QObject {
public:
    Walk(const QString& folder, ProgramController& controller) : m_folder(folder), m_controller(controller) {}

    void waitFor(const QString& window, std::function<bool(QWidget*)> ready,
                 std::function<void(QWidget*)> act) {
        m_steps.push_back({window, std::move(ready), std::move(act)});
    }

    void run() { poll(); }
    int status() const { return m_status; }

    void capture(QWidget* window, const QString& name) {
        const QString path = QDir(m_folder).filePath(QStringLiteral("captura-%1.png").arg(name));
        window->grab().save(path);
        say(QStringLiteral("  captura: %1").arg(QDir::toNativeSeparators(path)));
    }

private:
    struct Step {
        QString window;
        std::function<bool(QWidget*)> ready;
        std::function<void(QWidget*)> act;
    };

    void poll() {
        if (m_next >= m_steps.size()) {
            QCoreApplication::exit(m_status);
            return;
        }
        Step& step = m_steps[m_next];
        QWidget* window = topLevel(step.window);
        if (window && (!step.ready || step.ready(window))) {
            ++m_next;
            m_waited = 0;
            // Act from a fresh event so that a modal window opened by the action keeps
            // the walk going through its own event loop.
            QTimer::singleShot(0, this, [this, act = step.act, window] {
                QTimer::singleShot(50, this, [this] { poll(); });
                act(window);
            });
            return;
        }
        if (++m_waited > 600) { // 30 s
            say(QStringLiteral("La ventana %1 no ha aparecido: el recorrido se detiene.").arg(step.window));
            m_status = 1;
            QCoreApplication::exit(m_status);
            return;
        }
        QTimer::singleShot(50, this, [this] { poll(); });
    }

    QString m_folder;
    ProgramController& m_controller;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    int m_waited = 0;
    int m_status = 0;
};

// The offscreen window system, where the walk mostly runs, says on the console what it cannot
// do for a window ("This plugin does not support propagateSizeHints()", "… raise()"). Nothing
// is wrong, and those English lines would break up the walk's Spanish steps: while the walk
// runs they are dropped, and every other message goes on as before.
class OffscreenNoticesDropped {
public:
    OffscreenNoticesDropped() { s_next = qInstallMessageHandler(&drop); }
    ~OffscreenNoticesDropped() { qInstallMessageHandler(s_next); }
    OffscreenNoticesDropped(const OffscreenNoticesDropped&) = delete;
    OffscreenNoticesDropped& operator=(const OffscreenNoticesDropped&) = delete;

private:
    static void drop(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtWarningMsg && QGuiApplication::platformName() == QLatin1String("offscreen") &&
            text.startsWith(QLatin1String("This plugin does not support ")))
            return;
        if (s_next)
            s_next(type, context, text);
    }
    static inline QtMessageHandler s_next = nullptr;
};

void pickFirstItem(DataComboBox* combo) {
    combo->setFocus(Qt::TabFocusReason);
    press(combo, Qt::Key_Down);
}

} // namespace

int runGuidedWalk(const QString& folder, const Clock& clock) {
    const OffscreenNoticesDropped quiet;
    NarratedMessages messages;
    ProgramController controller(folder, messages, clock);
    controller.setOpenWithDesktop(false);
    Walk walk(folder, controller);
    say(QStringLiteral("Recorrido guiado de Velmora sobre %1").arg(QDir::toNativeSeparators(folder)));

    walk.waitFor(QStringLiteral("frmUsuario"), nullptr, [&](QWidget* w) {
        const QString dni = unusedApplicantDni(controller.users());
        say(QStringLiteral("1. Validación de usuario: NIF %1 (usuario nuevo)").arg(dni));
        typeInto(child<QLineEdit>(w, ctl::txtDNI), dni);
        walk.capture(w, QStringLiteral("1-frmUsuario"));
        child<QAbstractButton>(w, QStringLiteral("cmdAceptarDNI"))->click();
    });
    walk.waitFor(
        QStringLiteral("frmProgreso"),
        [](QWidget* w) { return child<QPushButton>(w, QStringLiteral("cmdContinuar"))->isEnabled(); },
        [&](QWidget* w) {
            say(QStringLiteral("2. Carga del concurso terminada"));
            walk.capture(w, QStringLiteral("2-frmProgreso"));
            child<QPushButton>(w, QStringLiteral("cmdContinuar"))->click();
        });
    walk.waitFor(QStringLiteral("frmSolicitudes"), nullptr, [&](QWidget* w) {
        say(QStringLiteral("3. Editor: datos personales y profesionales"));
        const std::pair<const char*, const char*> fields[] = {
            {"txtApellido1", "García"},   {"txtApellido2", "Núñez"},
            {"txtNombre", "María José"},  {"txtFecNacimiento", "12031980"},
            {"txtTelefono", "954123456"}, {"txtDomicilio", "Calle Mayor, 12"},
            {"txtLocalidad", "Valdeluz"}, {"txtNRP", "1234567890"},
        };
        for (const auto& [name, text] : fields)
            typeInto(child<QLineEdit>(w, QLatin1String(name)), QString::fromUtf8(text));
        for (const char* option :
             {"optDiscNo", "optVoluntario", "optPetConyugeNo", "optReingresoNo", "optActivo", "OptNo"})
            child<QRadioButton>(w, QLatin1String(option))->click();
        pickFirstItem(child<DataComboBox>(w, ctl::cboProvincia));
        pickFirstItem(child<DataComboBox>(w, ctl::cboCuerpo));
        // The body's list closes from the event loop; its candidates are ready after it.
        QCoreApplication::processEvents();
        walk.capture(w, QStringLiteral("3-frmSolicitudes"));
        auto* tabs = child<QTabWidget>(w, QStringLiteral("tabPrincipal"));
        tabs->setCurrentIndex(2);
        say(QStringLiteral("   Plazas vacantes: «Insertar Todas» las plazas de la categoría"));
        child<QAbstractButton>(w, QStringLiteral("cmdTodasVacantes"))->click();
        for (int i = 1; i < tabs->count(); ++i) {
            if (!tabs->isTabVisible(i))
                continue;
            tabs->setCurrentIndex(i);
            walk.capture(w, QStringLiteral("3-frmSolicitudes-pestana%1").arg(i));
        }
        tabs->setCurrentIndex(0);
        say(QStringLiteral("4. Guardar (se pide la contraseña del usuario nuevo)"));
        w->findChild<QAction*>(QStringLiteral("mnuP(2000)"))->trigger();
    });
    walk.waitFor(QStringLiteral("frmCreaPwd"), nullptr, [&](QWidget* w) {
        typeInto(child<QLineEdit>(w, QStringLiteral("txtPwd(0)")), QLatin1String(kPassword));
        typeInto(child<QLineEdit>(w, QStringLiteral("txtPwd(1)")), QLatin1String(kPassword));
        walk.capture(w, QStringLiteral("4-frmCreaPwd"));
        child<QAbstractButton>(w, QStringLiteral("cmdAceptar"))->click();
    });
    const QString pdf = QDir(folder).filePath(QStringLiteral("recorrido-solicitud.pdf"));
    walk.waitFor(QStringLiteral("frmSolicitudes"), nullptr, [&](QWidget* w) {
        auto* editor = static_cast<EditorWindow*>(w);
        editor->setPrintDestination(docengine::PrintDestination::Pdf, pdf);
        say(QStringLiteral("5. Vista previa de la solicitud"));
        // From a fresh event: the preview is modal and the walk goes on inside it.
        QTimer::singleShot(0, editor, [editor] { editor->menuEntry(MenuEntry::Preview)->trigger(); });
    });
    walk.waitFor(QStringLiteral("frmVistaPrevia"), nullptr, [&](QWidget* w) {
        walk.capture(w, QStringLiteral("5-frmVistaPrevia"));
        say(QStringLiteral("6. Imprimir desde la vista previa en %1").arg(QDir::toNativeSeparators(pdf)));
        child<QAbstractButton>(w, QStringLiteral("cmdImprimir"))->click();
    });
    walk.waitFor(
        QStringLiteral("frmSolicitudes"), [&](QWidget*) { return QFile::exists(pdf); },
        [&](QWidget* w) { walk.capture(w, QStringLiteral("6-frmSolicitudes-impreso")); });
    QTimer::singleShot(0, &walk, [&] { walk.run(); });
    if (!controller.start()) {
        say(QStringLiteral("El recorrido no ha podido entrar en el programa."));
        return 1;
    }
    int status = QApplication::exec();
    if (status == 0 && messages.failures > 0) {
        say(QStringLiteral("El recorrido ha encontrado %1 mensajes de error.").arg(messages.failures));
        status = 1;
    }
    say(status == 0 ? QStringLiteral("Recorrido terminado.") : QStringLiteral("Recorrido interrumpido."));
    return status;
}

} // namespace velmora
