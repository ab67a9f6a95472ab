#pragma once

#include <QChar>
#include <QString>

#include <optional>

namespace velmora {

// What a numeric box does with one key press.
struct KeyFilterResult {
    // The character to insert (Backspace, code 8, means: delete as usual); none when the
    // key is discarded.
    std::optional<QChar> key;
    // Enter moves the focus on: the window sends a Tab.
    bool sendTab = false;
};

// FiltraTecla, the key filter of the numeric boxes (postal code, telephone and the
// numeric fields of the panels). `key` is the character code of the press (Enter 13,
// Backspace 8), `currentText` the box's text before it. The minus sign passes as typed;
// a full stop or "n" becomes a comma; then only digits, Backspace and a first comma pass.
KeyFilterResult FiltraTecla(QChar key, const QString& currentText);

} // namespace velmora
