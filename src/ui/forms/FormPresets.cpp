#include "ui/forms/FormPresets.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace kalvor::ui::forms {
namespace {

constexpr std::array<DisplayPreset, kPresetCount> kPresets{{
    {1, 640, 0.8, "Kalvor1", 12},
    {2, 800, 1.0, "Kalvor2", 15},
    {3, 1024, 1.25, "Kalvor3", 19},
    {4, 1280, 1.6, "Kalvor4", 24},
}};

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";

QString Register(const char* file)
{
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kFontFolder) + QString::fromLatin1(file));
    if (id < 0)
        return {};
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.first();
}

struct Families {
    QString Mono;
    bool Loaded = false;
};

const Families& Loaded()
{
    static const Families families = [] {
        Families f;
        f.Mono = Register("DejaVuSansMono.ttf");
        Register("DejaVuSansMono-Bold.ttf");
        const QString sans = Register("DejaVuSans.ttf");
        Register("DejaVuSans-Bold.ttf");
        Register("DejaVuSans-Oblique.ttf");
        Register("DejaVuSans-BoldOblique.ttf");
        const QString serif = Register("DejaVuSerif.ttf");
        Register("DejaVuSerif-Bold.ttf");
        f.Loaded = !f.Mono.isEmpty();
        const QString mono = f.Loaded ? f.Mono : QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
        for (const DisplayPreset& p : kPresets)
            QFont::insertSubstitution(QString::fromLatin1(p.Face), mono);
        if (!sans.isEmpty())
            for (const char* face : {"Arial", "Helvetica", "MS Sans Serif", "Tahoma", "Verdana"})
                QFont::insertSubstitution(QString::fromLatin1(face), sans);
        if (!serif.isEmpty())
            for (const char* face : {"Times New Roman", "Times", "MS Serif"})
                QFont::insertSubstitution(QString::fromLatin1(face), serif);
        for (const char* face : {"Courier New", "Courier"})
            QFont::insertSubstitution(QString::fromLatin1(face), mono);
        return f;
    }();
    return families;
}

} // namespace

const DisplayPreset& Preset(int number)
{
    return kPresets[static_cast<std::size_t>(std::clamp(number, 1, kPresetCount) - 1)];
}

int PresetForWidth(int width)
{
    int preset = kPresetCount;
    while (preset > 1 && width < Preset(preset).ScreenWidth)
        --preset;
    return preset;
}

bool LoadFormFonts() { return Loaded().Loaded; }

QFont PresetFont(int number)
{
    const Families& f = Loaded();
    QFont font(f.Loaded ? f.Mono : QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    font.setPixelSize(Preset(number).FontPixels);
    font.setStyleHint(QFont::Monospace);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

CellSize PresetCell(int number)
{
    const QFontMetricsF m(PresetFont(number));
    return {static_cast<int>(std::ceil(m.horizontalAdvance(QLatin1Char('M')))), static_cast<int>(std::ceil(m.height())),
            static_cast<int>(std::ceil(m.ascent()))};
}

} // namespace kalvor::ui::forms
