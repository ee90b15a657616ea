#include "ui/ProgramFonts.h"

#include "base/ProgramFolder.h"

#include <QFileInfo>

namespace kalvor::ui {
namespace {

QString Preferred(const QString& installed)
{
    if (installed.isEmpty())
        return installed;
    const QString own =
        QString::fromStdString((ProgramFolder() / "fonts" / QFileInfo(installed).fileName().toStdString()).string());
    return QFileInfo::exists(own) ? own : installed;
}

} // namespace

render::TerminalFontFiles ProgramFontFiles(const render::TerminalFontFiles& installed)
{
    return {Preferred(installed.Terminus), Preferred(installed.DejaVuMono)};
}

bool RegZKFonts(logging::ErrorReport& errors, const render::TerminalFontFiles& files)
{
    const render::TerminalFontFamilies& loaded = render::LoadTerminalFonts(files);
    if (!loaded.Terminus.isEmpty() && !loaded.DejaVuMono.isEmpty())
        return true;
    const QString missing = loaded.Terminus.isEmpty() ? files.Terminus : files.DejaVuMono;
    errors.Report("RegZKFonts", logging::kErrFontsMissing, missing.toStdString());
    return false;
}

} // namespace kalvor::ui
