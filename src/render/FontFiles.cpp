#include "render/FontFiles.h"

#include <QFontDatabase>

#include <optional>

namespace kalvor::render {
namespace {

QString Register(const QString& path)
{
    if (path.isEmpty())
        return {};
    const int id = QFontDatabase::addApplicationFont(path);
    if (id < 0)
        return {};
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.first();
}

} // namespace

TerminalFontFiles DefaultFontFiles()
{
    return {
        QStringLiteral("/usr/share/fonts/truetype/terminus/TerminusTTF-4.46.0.ttf"),
        QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"),
    };
}

const TerminalFontFamilies& LoadTerminalFonts(const TerminalFontFiles& files)
{
    static std::optional<TerminalFontFamilies> loaded;
    if (!loaded)
        loaded = TerminalFontFamilies{Register(files.Terminus), Register(files.DejaVuMono)};
    return *loaded;
}

} // namespace kalvor::render
