#include "ui/ScreenDump.h"

#include <QSaveFile>

namespace kalvor::ui {

QString ScreenText(const DisplayMemory& mem)
{
    QString out;
    for (int r = 0; r < mem.RowsInTerm; ++r) {
        const int ring = mem.ScreenRowToRing(r);
        if (ring >= 0) {
            const std::string& t = mem.Row(ring).Text;
            std::size_t n = t.size();
            while (n > 0 && t[n - 1] == ' ')
                --n;
            out += QString::fromLatin1(t.data(), static_cast<qsizetype>(n));
        }
        out += QLatin1Char('\n');
    }
    out += QStringLiteral("cursor %1 %2\n").arg(mem.CurRow).arg(mem.CurCol);
    return out;
}

bool WriteScreenText(const DisplayMemory& mem, const QString& path)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(ScreenText(mem).toUtf8());
    return f.commit();
}

} // namespace kalvor::ui
