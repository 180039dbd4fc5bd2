#include "ui/font_faces.h"

#include <cmath>

namespace ui {
namespace {

constexpr double kDesignPixelsPerInch = 120.0;
constexpr double kPointsPerInch = 72.0;

struct Substitute {
    const char* face; // lower case
    const char* installed;
};

// Liberation Sans, Serif and Mono share the metrics of Arial, Times New Roman and Courier New,
// so text measured in the design still fits its frame.
constexpr Substitute kSubstitutes[] = {
    {"arial", "Liberation Sans"},
    {"arial black", "Liberation Sans"},
    {"arial unicode ms", "Liberation Sans"},
    {"helvetica", "Liberation Sans"},
    {"ms sans serif", "Liberation Sans"},
    {"microsoft sans serif", "Liberation Sans"},
    {"small fonts", "Liberation Sans"},
    {"system", "Liberation Sans"},
    {"arial narrow", "Liberation Sans Narrow"},
    {"times new roman", "Liberation Serif"},
    {"times", "Liberation Serif"},
    {"ms serif", "Liberation Serif"},
    {"roman", "Liberation Serif"},
    {"century schoolbook", "Liberation Serif"},
    {"book antiqua", "Liberation Serif"},
    {"courier new", "Liberation Mono"},
    {"courier", "Liberation Mono"},
    {"lucida console", "Liberation Mono"},
    {"consolas", "Liberation Mono"},
    {"fixedsys", "Liberation Mono"},
    {"terminal", "Liberation Mono"},
    {"tahoma", "DejaVu Sans"},
    {"verdana", "DejaVu Sans"},
    {"segoe ui", "DejaVu Sans"},
    {"calibri", "DejaVu Sans"},
    {"trebuchet ms", "DejaVu Sans"},
    {"lucida sans unicode", "DejaVu Sans"},
    {"georgia", "DejaVu Serif"},
    {"cambria", "DejaVu Serif"},
    {"palatino linotype", "DejaVu Serif"},
    // The reader turns Symbol-font text into Unicode Greek and signs; DejaVu has them all.
    {"symbol", "DejaVu Sans"},
};

} // namespace

QString substituteFace(const QString& face, FaceKind kind)
{
    const QString key = face.trimmed().toLower();
    for (const Substitute& s : kSubstitutes)
        if (key == QLatin1String(s.face))
            return QString::fromLatin1(s.installed);
    switch (kind) {
    case FaceKind::Serif:
        return QStringLiteral("Liberation Serif");
    case FaceKind::Sans:
        return QStringLiteral("Liberation Sans");
    case FaceKind::Mono:
        return QStringLiteral("Liberation Mono");
    case FaceKind::Unknown:
        break;
    }
    return face.trimmed();
}

int designPixels(double points)
{
    return static_cast<int>(std::lround(points * kDesignPixelsPerInch / kPointsPerInch));
}

QFont designFont(const QString& face, double points, QFont::Weight weight)
{
    QFont font(substituteFace(face));
    font.setPixelSize(designPixels(points));
    font.setWeight(weight);
    return font;
}

} // namespace ui
