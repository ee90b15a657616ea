// The shortcuts of a local command on Ctrl+`key`: Ctrl+Shift+`key` always,
// Ctrl+`key` only while control characters are processed locally (else it
// reaches the host as its control character). One action carries both, so
// each command's pair of menu items is one item whose Ctrl shortcut comes and
// goes with the control-character switch.
#pragma once

#include <QKeySequence>
#include <QList>

namespace kalvor::ui {

inline QList<QKeySequence> LocalShortcuts(Qt::Key key, bool transmit)
{
    QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::SHIFT | key)};
    if (!transmit)
        keys.prepend(QKeySequence(Qt::CTRL | key));
    return keys;
}

} // namespace kalvor::ui
