#pragma once

#include <array>

namespace velmora {

// The editor's menu entries, the control array mnuP told apart by index: each entry's
// value is its index, so its widget is named "mnuP(<value>)".
enum class MenuEntry {
    Print = 1000,          // "Imprimir"
    Sign = 1200,           // "Firmar solicitud…"
    Preview = 1500,        // "Vista previa"
    Save = 2000,           // "Guardar"
    LoadAnother = 2500,    // "Cargar otra solicitud"
    Quit = 3000,           // "Salir"
    Help = 4000,           // "Ayuda"
    ChangePassword = 5000, // "Cambiar contraseña"
};

inline constexpr std::array<MenuEntry, 8> kMenuEntries = {
    MenuEntry::Print,       MenuEntry::Sign, MenuEntry::Preview, MenuEntry::Save,
    MenuEntry::LoadAnother, MenuEntry::Quit, MenuEntry::Help,    MenuEntry::ChangePassword};

// The entries that wait for body and group, and that a print in progress locks.
inline constexpr std::array<MenuEntry, 5> kApplicationMenuEntries = {
    MenuEntry::Print, MenuEntry::Sign, MenuEntry::Preview, MenuEntry::Save, MenuEntry::LoadAnother};

} // namespace velmora
