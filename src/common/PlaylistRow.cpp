#include "common/PlaylistRow.h"

#include "common/ListViewModel.h"

#include <array>
#include <utility>

namespace {
const std::array<std::pair<RowStatus, const char*>, 5> kStatusTexts = {{
    {RowStatus::Play, "Play"},
    {RowStatus::PlayOnce, "Play Once"},
    {RowStatus::Skip, "Skip"},
    {RowStatus::SkipOnce, "Skip Once"},
    {RowStatus::Remove, "Remove"},
}};
} // namespace

QStringList PlaylistColumn::headers()
{
    return {QStringLiteral("No."),    QStringLiteral("Artist:"), QStringLiteral("Title:"),   QStringLiteral("Year:"),
            QStringLiteral("Status:"), QStringLiteral("Length:"), QStringLiteral("Filename:")};
}

QString rowStatusText(RowStatus status)
{
    for (const auto& [s, text] : kStatusTexts)
        if (s == status) return QString::fromLatin1(text);
    return QString();
}

RowStatus rowStatusFromText(const QString& text)
{
    for (const auto& [s, t] : kStatusTexts)
        if (text == QLatin1String(t)) return s;
    return RowStatus::Other;
}

RowStatus playlist_RowStatus(const ListViewModel& list, int row) { return rowStatusFromText(list.subItem(row, PlaylistColumn::Status)); }

void playlist_SetRowStatus(ListViewModel& list, int row, RowStatus status)
{
    list.setSubItem(row, PlaylistColumn::Status, rowStatusText(status));
}
